# The Windows program, included by the top-level CMakeLists when cross
# building with cmake/mingw-w64-x86_64.cmake: Win32 windows and dialogs,
# the sound stream, the artwork and the icon compiled in as resources.
enable_language(RC)

# Unicode Win32 calls everywhere; Windows 7 or later.
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)

# The Windows sound stream: MP3 through our frame reader and ACM, other
# files through Media Foundation, all into one waveOut stream.
file(GLOB KESTRAFON_WINSOUND_SOURCES CONFIGURE_DEPENDS src/platform/winsound/*.cpp)
add_library(kestrafon_winsound STATIC ${KESTRAFON_WINSOUND_SOURCES})
kestrafon_batched(kestrafon_winsound)
target_link_libraries(kestrafon_winsound PUBLIC kestrafon_core kestrafon_audio winmm msacm32 mfplat mfreadwrite
  mfuuid ole32 PRIVATE kestrafon_warnings)

# Win32 windows, tray, dialogs, timer and GDI text.
file(GLOB KESTRAFON_WIN32_SOURCES CONFIGURE_DEPENDS src/platform/win32/*.cpp)
add_library(kestrafon_win32 STATIC ${KESTRAFON_WIN32_SOURCES})
kestrafon_batched(kestrafon_win32)
target_link_libraries(kestrafon_win32 PUBLIC kestrafon_core comdlg32 comctl32 shell32 gdi32 user32 windowscodecs ole32
  PRIVATE kestrafon_warnings)

# The icon, made from the artwork at build time, and the resource script
# that compiles it and the five PNGs into the program.
find_program(KESTRAFON_CONVERT convert REQUIRED)
set(KESTRAFON_ICO ${CMAKE_CURRENT_BINARY_DIR}/kestrafon.ico)
add_custom_command(OUTPUT ${KESTRAFON_ICO}
  # Every size Explorer and the taskbar ask for, scaled without smoothing.
  COMMAND ${KESTRAFON_CONVERT} ${CMAKE_CURRENT_SOURCE_DIR}/assets/icon.png -filter point
    -define icon:auto-resize=256,48,40,32,28,24,20,16 ${KESTRAFON_ICO}
  DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/assets/icon.png
  COMMENT "Making the program icon")
add_custom_target(kestrafon_icon DEPENDS ${KESTRAFON_ICO})
file(GLOB KESTRAFON_ASSETS CONFIGURE_DEPENDS assets/*.png)
set(KESTRAFON_IMAGE_RESOURCES "")
foreach(asset ${KESTRAFON_ASSETS})
  get_filename_component(stem ${asset} NAME_WE)
  string(TOUPPER ${stem} stem)
  string(APPEND KESTRAFON_IMAGE_RESOURCES "IMAGE_${stem} RCDATA \"${asset}\"\n")
endforeach()
# The player's texts as string tables, Japanese and English, from Qt
# Linguist's file (as the Linux program has them).
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(KESTRAFON_STRINGS_RC ${CMAKE_CURRENT_BINARY_DIR}/ui_texts.rc)
add_custom_command(OUTPUT ${KESTRAFON_STRINGS_RC}
  COMMAND Python3::Interpreter ${CMAKE_CURRENT_SOURCE_DIR}/scripts/string_tables.py
    ${CMAKE_CURRENT_SOURCE_DIR}/translations/kestrafon_en.ts ${CMAKE_CURRENT_SOURCE_DIR}/src/model/ui_texts.h
    ${KESTRAFON_STRINGS_RC}
  DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/scripts/string_tables.py ${CMAKE_CURRENT_SOURCE_DIR}/translations/kestrafon_en.ts
    ${CMAKE_CURRENT_SOURCE_DIR}/src/model/ui_texts.h
  COMMENT "Making the string tables")
add_custom_target(kestrafon_strings DEPENDS ${KESTRAFON_STRINGS_RC})
set(KESTRAFON_RC ${CMAKE_CURRENT_BINARY_DIR}/kestrafon.rc)
configure_file(src/platform/win32/kestrafon.rc.in ${KESTRAFON_RC} @ONLY)
set_source_files_properties(${KESTRAFON_RC} PROPERTIES OBJECT_DEPENDS
  "${KESTRAFON_ICO};${KESTRAFON_ASSETS};${CMAKE_CURRENT_SOURCE_DIR}/src/platform/win32/kestrafon.manifest;${KESTRAFON_STRINGS_RC}")

if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/src/main/windows_main.cpp)
  add_executable(kestrafon WIN32 src/main/windows_main.cpp ${KESTRAFON_RC})
  add_dependencies(kestrafon kestrafon_icon kestrafon_strings)
  target_link_libraries(kestrafon PRIVATE kestrafon_win32 kestrafon_winsound kestrafon_warnings)
  target_compile_definitions(kestrafon PRIVATE KESTRAFON_VERSION="${PROJECT_VERSION}")
  # No symbols: the program is shipped alone.
  target_link_options(kestrafon PRIVATE -s)
endif()

if(BUILD_TESTING)
  add_subdirectory(tests/windows)
endif()

# The event-loop stall benchmark (bench/stall.sh runs it under Wine).
add_executable(loop_stall EXCLUDE_FROM_ALL bench/loop_stall.cpp tests/fakes/fake_platform.cpp)
target_include_directories(loop_stall PRIVATE tests)
target_link_libraries(loop_stall PRIVATE kestrafon_winsound kestrafon_warnings)

# The pieces of bench/gapless.sh decoded each alone, by the same MP3 source.
add_executable(decode_alone EXCLUDE_FROM_ALL bench/decode_alone.cpp)
target_link_libraries(decode_alone PRIVATE kestrafon_winsound kestrafon_warnings)
target_link_options(decode_alone PRIVATE -municode)
