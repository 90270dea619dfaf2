#pragma once
// The few POSIX calls the core's unit tests use, in Windows terms, so the
// same test files build for Windows. Included before every test file.
#ifdef _WIN32
#include <io.h>
#include <stdlib.h>
#include <string.h>

#ifdef __cplusplus
extern "C++" {
#include <cstring>
#include <filesystem>
#include <random>
#include <string>

// A new directory from a pattern ending in XXXXXX.
inline char* mkdtemp(char* pattern) {
  const std::size_t n = std::strlen(pattern);
  if (n < 6) return nullptr;
  std::random_device random;
  static const char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
  for (int attempt = 0; attempt < 100; ++attempt) {
    for (std::size_t i = n - 6; i < n; ++i) pattern[i] = kDigits[random() % 36];
    std::error_code ec;
    if (std::filesystem::create_directory(std::filesystem::path(std::u8string(pattern, pattern + n)), ec)) return pattern;
  }
  return nullptr;
}
inline int setenv(const char* name, const char* value, int) { return _putenv_s(name, value); }
inline int unsetenv(const char* name) { return _putenv_s(name, ""); }
}
#endif
#endif
