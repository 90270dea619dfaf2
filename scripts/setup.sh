#!/usr/bin/env bash
# Installs the Debian packages Kestrafon needs to build, test and run.
# Does nothing at all when every package is already there, so a warm
# machine goes straight to building.
set -euo pipefail

packages=(
  # toolchain
  build-essential cmake ninja-build pkg-config clang libclang-rt-14-dev
  # windows, tray, dialogs and their translations
  qt6-base-dev libxcb1-dev qt6-translations-l10n
  # the player's own English, compiled from translations/*.ts
  qt6-l10n-tools
  # decoding and sound output
  libgstreamer1.0-dev libgstreamer-plugins-base1.0-dev
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-pulseaudio
  gstreamer1.0-tools
  # a slow medium for the tests: every system call on one file delayed
  strace
  # the font the skin asks for first (Japanese glyphs)
  fonts-ipafont-gothic
  # tests and benchmarks
  libgtest-dev libgmock-dev libbenchmark-dev
  sox lame
  # end-to-end tests on a virtual display
  xvfb xdotool x11-utils imagemagick openbox trayer python3
  # a real sound server with a null sink, for hearing what the player plays
  pulseaudio pulseaudio-utils
  # the desktop: a private session bus and a real MPRIS client
  dbus dbus-daemon playerctl
  # the Windows program: cross compiler, and Wine to run it (in Japanese:
  # the locale's sources)
  g++-mingw-w64-x86-64-posix wine wine64 locales
  # the packages: building and judging the .deb
  dpkg-dev fakeroot lintian desktop-file-utils appstream
  # the Windows installer and the portable zip
  nsis zip unzip
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "setup: installing ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -q
"${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
