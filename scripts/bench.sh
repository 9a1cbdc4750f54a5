#!/bin/sh
# Builds the benchmarks and prints their figures: on X11 (under Xvfb when no display is set), and
# the Wayland frame benchmark on a private headless Weston.
set -eu
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DZN_BUILD_BENCHMARKS=ON -DBUILD_TESTING=OFF \
  -DZN_BUILD_EXAMPLES=OFF >/dev/null
cmake --build build/bench -j "$(nproc)" --target timer_bench frame_pacing_bench \
  frame_pacing_tick_bench x11_frame_bench wayland_frame_bench glut_ring glfw_ring soak \
  >/dev/null
# Headless, the library's boxes stay lines on standard error instead of dialogs no one presses.
export ZNVELMORA_MESSAGEBOX=stderr
run() { if [ -n "${DISPLAY:-}" ]; then "$@"; else xvfb-run -a -s "-screen 0 1024x768x24" "$@"; fi; }
run build/bench/bench/timer_bench
run build/bench/bench/frame_pacing_bench
build/bench/bench/frame_pacing_tick_bench
run build/bench/bench/x11_frame_bench
# Two panes side by side on a 1280x480 output: each 640x480, as the X11 benchmark's window.
WESTON_WIDTH=1280 WESTON_HEIGHT=480 scripts/with-weston.sh build/bench/bench/wayland_frame_bench
# The soak on a display of its own: its X resource figure sums every client of the server.
xvfb-run -a -s "-screen 0 1024x768x24" build/bench/bench/soak/soak
# The same under Wine (100 lifetimes), when the 64-bit Windows build exists.
if [ -x build/win64/bin/soak.exe ]; then
  xvfb-run -a -s "-screen 0 1024x768x24" scripts/wine-run.sh build/win64/bin/soak.exe
fi
