#!/bin/sh
# Installs what the demo needs, builds the demo and runs it: natively on Linux, or with --windows
# the x86_64 Windows build under Wine. Without a display it runs headless under Xvfb, for 3 seconds
# unless told otherwise. It writes demo.png in the repository's root unless told otherwise, then
# prints the screenshot's path after the demo's summary. Every other argument goes to the demo:
#   scripts/demo.sh [--windows] [--frames N] [--seconds S] [--fps N] [--size WxH] [--no-overlay]
#                   [--screenshot FILE]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)

platform=linux
if [ "${1:-}" = --windows ]; then
  platform=windows
  shift
fi

# The demo takes the last of repeated options, so the defaults go in front.
screenshot=$root/demo.png
limited=no
previous=
for argument in "$@"; do
  case "$argument" in
    --frames | --seconds) limited=yes ;;
  esac
  [ "$previous" = --screenshot ] && screenshot=$argument
  previous=$argument
done
set -- --screenshot "$screenshot" "$@"
headless=no
if [ -z "${DISPLAY:-}" ]; then
  headless=yes
  # No one sees a dialog on Xvfb: the library's boxes stay lines on standard error.
  export ZNVELMORA_MESSAGEBOX=stderr
  [ $limited = yes ] || set -- --seconds 3 "$@"
fi

# Only what the demo builds and runs with (the tests' tools are not needed here).
if [ $platform = windows ]; then
  "$root/scripts/setup.sh" windows
else
  "$root/scripts/setup.sh" demo
fi

if [ $platform = windows ]; then
  build=$root/build/demo-win64
  configure="-DCMAKE_TOOLCHAIN_FILE=$root/cmake/mingw-x86_64.cmake"
  program=$build/bin/demo.exe
  runner=$root/scripts/wine-run.sh
else
  build=$root/build/demo-linux
  configure=
  program=$build/examples/demo
  runner=
fi

echo "=== building the demo in $build"
mkdir -p "$build"
log=$build/demo-build.log
if ! { cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF \
         $configure &&
       cmake --build "$build" -j "$(nproc)" --target demo; } >"$log" 2>&1; then
  tail -n 40 "$log"
  echo "FAILED: building the demo (see $log)"
  exit 1
fi

echo "=== running the demo ($platform$([ $headless = yes ] && echo ', headless under Xvfb'))"
rm -f "$screenshot"
if [ $headless = yes ]; then
  xvfb-run -a -s "-screen 0 1024x768x24" $runner "$program" "$@"
else
  $runner "$program" "$@"
fi
if [ -f "$screenshot" ]; then
  echo "screenshot: $(realpath "$screenshot")"
fi
