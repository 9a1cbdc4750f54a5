#!/bin/sh
# The test command: installs what it needs, builds every target and runs every test.
#   linux     unit tests on the recording platform, live tests on X11/GLX under Xvfb
#   sanitize  the unit tests again under AddressSanitizer and UndefinedBehaviorSanitizer
#   win64     the x86_64 DLL and the live tests under 64-bit Wine under Xvfb
#   win32     the i686 DLL (the product): its exports, its release archive, and the live tests
#             under 32-bit Wine where this machine can run 32-bit programs
set -eu
cd "$(dirname "$0")/.."
root=$(pwd)
jobs=$(nproc)
"$root/scripts/setup.sh"

failures=""
summary=""

configure_build() { # NAME CMAKE-ARGS...
  name=$1
  shift
  echo "=== $name: build"
  mkdir -p "$root/build/$name"
  log="$root/build/$name/build.log"
  if ! { cmake -S "$root" -B "$root/build/$name" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" &&
         cmake --build "$root/build/$name" -j "$jobs"; } >"$log" 2>&1; then
    tail -n 40 "$log"
    echo "FAILED: building $name"
    exit 1
  fi
}

run_tests() { # NAME CTEST-ARGS...
  name=$1
  shift
  echo "=== $name: test"
  if (cd "$root/build/$name" && xvfb-run -a -s "-screen 0 1024x768x24" \
        ctest --output-on-failure -j "$jobs" "$@" >"$root/build/$name/ctest.log" 2>&1); then
    :
  else
    failures="$failures $name"
  fi
  line=$(grep -E 'tests passed|No tests were found' "$root/build/$name/ctest.log" || true)
  grep -E '\*\*\*|\((Failed|Timeout|SEGFAULT)\)' "$root/build/$name/ctest.log" || true
  summary="$summary
$name: $line"
}

configure_build linux -DZN_BUILD_BENCHMARKS=ON
run_tests linux

configure_build sanitize -DZN_WITH_X11=OFF -DZN_BUILD_EXAMPLES=OFF \
  "-DCMAKE_CXX_FLAGS=-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer" \
  "-DCMAKE_EXE_LINKER_FLAGS=-fsanitize=address,undefined"
run_tests sanitize

configure_build win64 -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake"
run_tests win64

configure_build win32 -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake"
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
  run_tests win32
else
  echo "NOTE: this kernel cannot run 32-bit programs (IA-32 emulation is off), so the i686"
  echo "      live tests cannot run here; checking the i686 DLL's format and exports, and"
  echo "      building its release archive and a host against it."
  run_tests win32 -R 'dll_exports|package_zip$'
fi

echo "=== summary$summary
the product: $(file -b "$root/build/win32/bin/znVelmora.dll")"
if [ -n "$failures" ]; then
  echo "FAILED:$failures (see build/<name>/ctest.log)"
  exit 1
fi
