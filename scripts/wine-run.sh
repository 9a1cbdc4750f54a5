#!/bin/sh
# Runs a Windows program under Wine in a throw-away prefix of its own word size, with Wine's
# chatter and download offers switched off. Used by ctest for the cross-built targets.
set -e
program=$1
case "$(file -b "$program")" in
  *PE32+*) arch=win64; loader=/usr/lib/wine/wine64 ;;
  *) arch=win32; loader=/usr/lib/wine/wine ;;
esac
export WINEARCH=$arch
export WINEPREFIX="${ZN_WINE_PREFIX:-${TMPDIR:-/tmp}/znvelmora-wine}-$arch"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree=;mshtml="
export WINELOADER="$loader"

# NOTE: without a window manager (Xvfb) Wine waits two seconds for every managed window it
# hides or destroys; unmanaged windows close at once.
if [ ! -e "$WINEPREFIX/.znvelmora-unmanaged" ]; then
  "$loader" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  touch "$WINEPREFIX/.znvelmora-unmanaged"
fi
exec "$loader" "$@"
