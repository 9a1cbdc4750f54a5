#!/bin/sh
# The test command: installs what it needs, builds every target and runs every test.
#   linux     unit tests on the recording platform, live tests on X11/GLX under Xvfb; then
#             (linux-wayland) the tests labelled wayland on a private headless Weston
#   sanitize  the unit tests, the x11 layer's tests, the live tests and the soak again under
#             AddressSanitizer and UndefinedBehaviorSanitizer, and the Wayland tests
#             (sanitize-wayland)
#   tsan      the threads and fault-injection tests, and the recording platform's context rules
#             (threads among them), under ThreadSanitizer
#   fuzz      the libFuzzer targets on the recording platform, a minute each
#   win64     the x86_64 DLL and the live tests under 64-bit Wine under Xvfb
#   win32     the i686 DLL (the product): its exports, its classes' layout, its release archive,
#             the imports of a host built against the last release, and the live tests
#             under 32-bit Wine where this machine can run 32-bit programs
set -eu
cd "$(dirname "$0")/.."
root=$(pwd)
jobs=$(nproc)
"$root/scripts/setup.sh"

failures=""
summary=""
targets=""

configure_build() { # NAME CMAKE-ARGS...   ($targets, when set: build only these)
  name=$1
  shift
  echo "=== $name: build"
  mkdir -p "$root/build/$name"
  log="$root/build/$name/build.log"
  if ! { cmake -S "$root" -B "$root/build/$name" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
           -DZN_WARNINGS_AS_ERRORS=ON "$@" &&
         cmake --build "$root/build/$name" -j "$jobs" ${targets:+--target $targets}; } >"$log" 2>&1; then
    tail -n 40 "$log"
    echo "FAILED: building $name"
    exit 1
  fi
}

run_ctest() { # LABEL CONFIGURATION LOG COMMAND...   (counts LABEL in the summary and failures)
  label=$1
  log="$root/build/$2/$3"
  dir="$root/build/$2"
  shift 3
  echo "=== $label: test"
  if (cd "$dir" && "$@" >"$log" 2>&1); then
    :
  else
    failures="$failures $label"
  fi
  line=$(grep -E 'tests passed|No tests were found' "$log" || true)
  grep -E '\*\*\*|\((Failed|Timeout|SEGFAULT)\)' "$log" || true
  summary="$summary
$label: $line"
}

run_tests() { # NAME CTEST-ARGS...   (all but the Wayland tests, on X11)
  name=$1
  shift
  # -noreset: the server stays up between tests, or a test that connects just as the last
  # client left finds no display.
  run_ctest "$name" "$name" ctest.log xvfb-run -a -s "-noreset -screen 0 1024x768x24" \
    ctest --output-on-failure -j "$jobs" -LE wayland "$@"
}

run_wayland_tests() { # NAME CTEST-ARGS...   (the tests labelled wayland, on a private Weston)
  name=$1
  shift
  # The seat the headless compositor lacks, which SDL2's Wayland driver needs; its C is built
  # without the configuration's sanitizers (they instrument C++), as Weston can load it.
  ZN_WESTON_MODULES="$root/build/$name/tests/wayland/zn_weston_seat.so" \
    run_ctest "$name-wayland" "$name" ctest-wayland.log "$root/scripts/with-weston.sh" \
    ctest --output-on-failure -j "$jobs" -L wayland "$@"
}

configure_build linux -DZN_BUILD_BENCHMARKS=ON
run_tests linux
run_wayland_tests linux

sanitizers="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
# -O1 with line tables only: the instrumented build is the longest, and traces need no more.
configure_build sanitize -DCMAKE_BUILD_TYPE= -DZN_BUILD_EXAMPLES=OFF \
  "-DCMAKE_CXX_FLAGS=$sanitizers -O1 -g1" \
  "-DCMAKE_EXE_LINKER_FLAGS=$sanitizers" "-DCMAKE_SHARED_LINKER_FLAGS=$sanitizers"
# Read only by instrumented programs (this configuration's and the fuzzers). Mesa, Xlib and
# GLX run under LeakSanitizer without a suppression; fontconfig, which the FreeType fonts load,
# leaks once as it starts.
export ASAN_OPTIONS=detect_leaks=1
export UBSAN_OPTIONS=print_stacktrace=1
export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp"
# The installed package is instrumented here, and a plain host cannot link it: the linux
# configuration tests the packages.
run_tests sanitize -E '^package_'
run_wayland_tests sanitize

# ThreadSanitizer on the tests that run managers on several threads and inject faults around
# them, on the rules of rendering contexts over the recording platform, which take threads too,
# and on the FreeType fonts drawn on several threads; only the libraries and those tests are
# built. No suppression covers the library's code.
targets="threads_live_test x11_faults_live_test seam_record_test freetype_font_test"
configure_build tsan -DCMAKE_BUILD_TYPE= -DZN_BUILD_EXAMPLES=OFF \
  "-DCMAKE_CXX_FLAGS=-fsanitize=thread -O1 -g1" \
  "-DCMAKE_EXE_LINKER_FLAGS=-fsanitize=thread" "-DCMAKE_SHARED_LINKER_FLAGS=-fsanitize=thread"
targets=""
# llvmpipe without worker threads: fewer uninstrumented threads for the sanitizer to follow. A
# test forks a child that renders, whose driver starts threads: the sanitizer allows that only
# with die_after_fork=0.
export TSAN_OPTIONS="halt_on_error=1 die_after_fork=0 suppressions=$root/tests/tsan.supp"
export LP_NUM_THREADS=0
run_tests tsan -R '^(threads_live_test|x11_faults_live_test|freetype_font_test|record\.RenderingContexts\..*)$'
unset LP_NUM_THREADS

# clang's libFuzzer over the recording platform; the unit suite replays the kept corpus.
configure_build fuzz -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 \
  -DBUILD_TESTING=OFF -DZN_WITH_X11=OFF -DZN_BUILD_EXAMPLES=OFF -DZN_BUILD_FUZZERS=ON \
  "-DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all" \
  "-DCMAKE_EXE_LINKER_FLAGS=-fsanitize=address,undefined"
run_tests fuzz
# How many inputs each target ran.
awk '/ Testing: /{name=$NF} /^Done [0-9]+ runs/{print "  " name ": " $0}' \
  "$root/build/fuzz/Testing/Temporary/LastTest.log" 2>/dev/null || true

configure_build win64 -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake"
run_tests win64

if /usr/lib/wine/wine --version >/dev/null 2>&1; then
  configure_build win32 -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake"
  run_tests win32
else
  echo "NOTE: this kernel cannot run 32-bit programs (IA-32 emulation is off), so the i686"
  echo "      live tests cannot run here; checking the i686 DLL's format and exports, and"
  echo "      building its release archive with a host against it, the C host, the check of"
  echo "      its classes' layout, and a host built against the last release with its imports."
  # Only what those checks use is built; packing the archive builds nothing more.
  targets="znVelmora c_host abi_layout old_host"
  configure_build win32 -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
    -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON
  run_tests win32 -R 'dll_exports|package_zip$|abi_old_host_imports'
fi

echo "=== summary$summary
the product: $(file -b "$root/build/win32/bin/znVelmora.dll")"
if [ -n "$failures" ]; then
  echo "FAILED:$failures (see build/<configuration>/ctest.log, ctest-wayland.log for *-wayland)"
  exit 1
fi
