#!/bin/sh
# Builds the small host with znVelmora inside its own build, the way a project embeds the library.
# Only the library is built there: no test, example, benchmark or fuzzer of the library's, and no
# -Werror, which a newer compiler's new warning would turn into a broken host build. The host
# ends up as OUT-DIR/host, ready to run.
# Usage: embed_test.sh subdirectory|fetchcontent LIBRARY-SOURCE-DIR EMBED-HOST-DIR OUT-DIR
set -eu
mode=$1
source=$2
host=$3
work=$4
rm -rf "$work"
mkdir -p "$work"

cmake -S "$host" -B "$work" -DZN_EMBED="$mode" -DZN_SOURCE_DIR="$source" >"$work/configure.log" ||
  { cat "$work/configure.log"; exit 1; }
cmake --build "$work" -j2 >"$work/build.log" || { cat "$work/build.log"; exit 1; }
for part in tests examples bench; do
  [ ! -e "$work/znVelmora/$part" ] || { echo "the library's $part were configured"; exit 1; }
done
if grep -rl -- -Werror "$work/znVelmora" --include=flags.make; then
  echo "the library builds with -Werror inside a host"
  exit 1
fi
