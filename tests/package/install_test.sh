#!/bin/sh
# Installs a Linux build into a fresh prefix and builds the small host against it both ways a
# host developer would, then runs each build (on the display named by DISPLAY):
#   1. CMake: find_package(znVelmora) with the prefix on CMAKE_PREFIX_PATH;
#   2. pkg-config: a plain compiler command with `pkg-config --cflags --libs znvelmora`, and the
#      run path the README gives for a prefix outside the loader's search path.
# The installed library is libznVelmora.so.1 by its SONAME.
# Usage: install_test.sh BUILD-DIR HOST-SOURCE-DIR
set -eu
build=$1
host=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix

cmake --install "$build" --prefix "$prefix" >"$work/install.log"
for header in znVelmora.h znVelmora_c.h znPlatform.h znVersion.h znRecord.h; do
  [ -f "$prefix/include/znVelmora/$header" ] || { echo "not installed: include/znVelmora/$header"; exit 1; }
done
library=$(find "$prefix" -name 'libznVelmora.so.1.*')
soname=$(readelf -d "$library" | sed -n 's/.*(SONAME).*\[\(.*\)\]/\1/p')
echo "installed $(basename "$library"), SONAME $soname"
[ "$soname" = libznVelmora.so.1 ] || { echo "SONAME: expected libznVelmora.so.1"; exit 1; }
for file in README.md LICENSE CHANGELOG.md; do
  [ -f "$prefix/share/doc/znVelmora/$file" ] ||
    { echo "not installed: share/doc/znVelmora/$file"; exit 1; }
done
# Nothing but the run path recorded in each host finds the library.
unset LD_LIBRARY_PATH

echo "--- CMake package"
cmake -S "$host" -B "$work/cmake-host" -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_BUILD_TYPE=Release \
  >"$work/configure.log" || { cat "$work/configure.log"; exit 1; }
cmake --build "$work/cmake-host" -j2 >"$work/build.log" || { cat "$work/build.log"; exit 1; }
"$work/cmake-host/host"

echo "--- pkg-config"
pc=$(find "$prefix" -name znvelmora.pc)
[ -n "$pc" ] || { echo "znvelmora.pc not installed"; exit 1; }
export PKG_CONFIG_PATH
PKG_CONFIG_PATH=$(dirname "$pc")
set -x
c++ -std=c++17 -o "$work/pc-host" "$host/host.cpp" $(pkg-config --cflags --libs znvelmora x11) \
  -Wl,-rpath,"$(pkg-config --variable=libdir znvelmora)"
set +x
"$work/pc-host"
