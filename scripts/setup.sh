#!/bin/sh
# Installs what building and testing every target needs on Debian 12: compilers, CMake,
# GoogleTest, Google Benchmark, Xlib/GLX/XRes headers, Mesa, Xvfb and X core fonts, clang with
# libFuzzer, freeglut and GLFW (the frame benchmark's peers), MinGW-w64, and Wine (64-bit, and
# the 32-bit build from the i386 architecture, with the 32-bit Mesa that wine32 only recommends:
# without it a 32-bit program finds no pixel format).
# Safe to run again.
set -eu

packages="g++ cmake make file pkg-config
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  libx11-dev libxres-dev libgl-dev libglx-dev libgl1-mesa-dri xvfb xauth x11-utils xfonts-base
  xfonts-75dpi clang-14 libclang-rt-14-dev
  mingw-w64 g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
  wine wine64 wine32:i386 libgl1:i386 libglx-mesa0:i386 libgl1-mesa-dri:i386 libstb-dev
  freeglut3-dev libglfw3-dev"

missing=""
for package in $packages; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
    missing="$missing $package"
done
[ -z "$missing" ] && exit 0

as_root=""
[ "$(id -u)" = 0 ] || as_root=sudo
echo "installing:$missing"
$as_root dpkg --add-architecture i386
$as_root apt-get update -q
DEBIAN_FRONTEND=noninteractive $as_root apt-get install -y -q --no-install-recommends $missing
