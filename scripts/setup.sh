#!/bin/sh
# Installs what the commands need on Debian 12, by need (safe to run again):
#   setup.sh demo      the Linux demo: g++, CMake, Xlib, GL, FreeType, fontconfig, Wayland and
#                      EGL headers, Mesa, Xvfb, X core fonts and stb
#   setup.sh windows   the demo's Windows build as well: MinGW-w64 for x86_64 and 64-bit Wine
#   setup.sh [all]     every target and test as well: pkg-config, GoogleTest, Google Benchmark,
#                      XRes, SDL2, freeglut and GLFW (the frame benchmark's peers), clang with
#                      libFuzzer, MinGW-w64 for i686, and the 32-bit Wine
#                      from the i386 architecture with the 32-bit Mesa that wine32 only recommends
#                      (without it a 32-bit program finds no pixel format); for the Wayland tests,
#                      Weston (its headless back-end and desktop shell need nothing it only
#                      recommends) and libweston's headers (the tests' seat module), the Wayland
#                      protocols, and the Liberation fonts (Arial's stand-in for FreeType fonts)
set -eu

# CMake's OpenGL component links libOpenGL.so, which no other package of the set brings.
demo="g++ cmake make libx11-dev libxcb1-dev libgl-dev libglx-dev libopengl-dev libgl1-mesa-dri
  xvfb xauth xfonts-base xfonts-75dpi libstb-dev libfreetype-dev libfontconfig-dev libwayland-dev
  libegl-dev"
windows="$demo file g++-mingw-w64-x86-64-posix wine wine64"
all="$windows pkg-config python3 googletest libgtest-dev libgmock-dev libbenchmark-dev libxres-dev
  x11-utils libsdl2-dev clang-14 libclang-rt-14-dev mingw-w64 g++-mingw-w64-i686-posix
  wine32:i386 libgl1:i386 libglx-mesa0:i386 libgl1-mesa-dri:i386 freeglut3-dev libglfw3-dev
  weston libweston-10-dev wayland-protocols fonts-liberation"

case "${1:-all}" in
  demo) packages=$demo ;;
  windows) packages=$windows ;;
  all) packages=$all ;;
  *) echo "usage: $0 [demo|windows|all]"; exit 2 ;;
esac

missing=""
for package in $packages; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
    missing="$missing $package"
done
[ -z "$missing" ] && exit 0

as_root=""
[ "$(id -u)" = 0 ] || as_root=sudo
echo "installing:$missing"
case "$missing" in
  *:i386*) $as_root dpkg --add-architecture i386 ;;
esac
$as_root apt-get update -q
DEBIAN_FRONTEND=noninteractive $as_root apt-get install -y -q --no-install-recommends $missing
