#!/bin/sh
# Builds the benchmarks on X11 and prints their figures (run under Xvfb when no display is set).
set -eu
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DZN_BUILD_BENCHMARKS=ON -DBUILD_TESTING=OFF \
  -DZN_BUILD_EXAMPLES=OFF >/dev/null
cmake --build build/bench -j "$(nproc)" --target timer_bench frame_pacing_bench x11_frame_bench >/dev/null
# Headless, the library's boxes stay lines on standard error instead of dialogs no one presses.
run() {
  if [ -n "${DISPLAY:-}" ]; then
    "$@"
  else
    ZNVELMORA_MESSAGEBOX=stderr xvfb-run -a -s "-screen 0 1024x768x24" "$@"
  fi
}
run build/bench/bench/timer_bench
run build/bench/bench/frame_pacing_bench
run build/bench/bench/x11_frame_bench
