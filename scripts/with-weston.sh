#!/bin/sh
# Runs a command on a private headless Weston compositor and exits with the command's status.
#   with-weston.sh CMD [ARGS...]
# The compositor gets a runtime folder and a socket of its own, so several runs may go at once.
# The shell is desktop-shell, without panel, animations or lock, on black: kiosk-shell shows a
# window only once a seat activates it, and the headless back-end has no seat. A fullscreen
# toplevel fills the output at 0,0, where tests know to find it. --debug offers the
# weston_screenshooter global, through which tests read the output. The pixman renderer draws it
# (headless draws nothing by default), so EGL clients on Mesa hand over wl_shm buffers. The
# output is WESTON_WIDTH x WESTON_HEIGHT (1024x768 by default, as the X tests' screen).
# ZN_WESTON_MODULES, when set, is a comma-separated list of modules to load as well (the tests'
# seat, zn_weston_seat.so).
set -eu
if [ $# = 0 ]; then
  echo "usage: $0 CMD [ARGS...]" >&2
  exit 2
fi

runtime=$(mktemp -d "${TMPDIR:-/tmp}/with-weston.XXXXXX")
chmod 0700 "$runtime"
socket="wayland-$$"
log="$runtime/weston.log"
weston_pid=""

stop() {
  if [ -n "$weston_pid" ]; then
    kill "$weston_pid" 2>/dev/null || true
    wait "$weston_pid" 2>/dev/null || true
  fi
  rm -rf "$runtime"
}
trap stop EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

cat >"$runtime/weston.ini" <<EOF
[shell]
panel-position=none
background-color=0xff000000
startup-animation=none
animation=none
close-animation=none
focus-animation=none
locking=false
EOF

# Weston refuses a runtime folder another user owns or others can read; as root it needs no
# seat for the headless back-end.
XDG_RUNTIME_DIR=$runtime weston --backend=headless-backend.so --use-pixman --socket="$socket" \
  --shell=desktop-shell.so --width="${WESTON_WIDTH:-1024}" --height="${WESTON_HEIGHT:-768}" --debug \
  --idle-time=0 ${ZN_WESTON_MODULES:+--modules="$ZN_WESTON_MODULES"} --config="$runtime/weston.ini" --log="$log" >"$runtime/weston.out" 2>&1 &
weston_pid=$!

# The socket appears once the compositor listens; ten seconds is plenty for a headless start.
tries=0
while [ ! -S "$runtime/$socket" ]; do
  if ! kill -0 "$weston_pid" 2>/dev/null || [ $tries -ge 100 ]; then
    echo "with-weston.sh: weston did not start (socket $runtime/$socket); its log:" >&2
    cat "$log" "$runtime/weston.out" >&2 2>/dev/null || true
    exit 1
  fi
  tries=$((tries + 1))
  sleep 0.1
done

export XDG_RUNTIME_DIR="$runtime" WAYLAND_DISPLAY="$socket"
status=0
"$@" || status=$?
exit $status
