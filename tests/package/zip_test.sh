#!/bin/sh
# Makes a Windows build's release archive with CPack, checks what it holds (the DLL without its
# debug information, which lies beside it and which the DLL links to), unpacks it and builds the
# small host against it with MinGW through find_package. The host and the DLLs it
# needs end up in OUT-DIR/host, ready to run under Wine.
# Usage: zip_test.sh BUILD-DIR HOST-SOURCE-DIR TOOLCHAIN-FILE OUT-DIR
set -eu
build=$1
host=$2
toolchain=$3
out=$4
rm -rf "$out"
mkdir -p "$out/unpacked"

cpack -G ZIP --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" ||
  { cat "$out/cpack.log"; exit 1; }
archive=$(ls "$out"/znVelmora-*.zip)
echo "archive: $(basename "$archive")"
cmake -E tar tf "$archive" >"$out/contents.txt"
top=$(basename "$archive" .zip)
for file in bin/znVelmora.dll lib/libznVelmora.dll.a bin/libstdc++-6.dll bin/libwinpthread-1.dll \
    include/znVelmora/znVelmora.h include/znVelmora/znVelmora_c.h include/znVelmora/znPlatform.h \
    lib/znVelmora.def \
    lib/cmake/znVelmora/znVelmoraConfig.cmake lib/cmake/znVelmora/znVelmoraTargets.cmake \
    include/znVelmora/znVersion.h bin/znVelmora.dll.debug README.md LICENSE CHANGELOG.md; do
  grep -qx "$top/$file" "$out/contents.txt" || { echo "missing from the archive: $file"; exit 1; }
done
grep -q "^$top/bin/libgcc_s_.*\.dll$" "$out/contents.txt" ||
  { echo "missing from the archive: the libgcc_s DLL"; exit 1; }

(cd "$out/unpacked" && cmake -E tar xf "$archive")
package=$out/unpacked/$top
dll=$package/bin/znVelmora.dll
sections=$(objdump -h "$dll")
if echo "$sections" | grep -q '\.debug_'; then
  echo "the archive's DLL keeps debug sections"
  exit 1
fi
echo "$sections" | grep -q '\.gnu_debuglink' ||
  { echo "the DLL does not link its debug file"; exit 1; }
objdump -h "$dll.debug" | grep -q '\.debug_info' ||
  { echo "znVelmora.dll.debug has no debug information"; exit 1; }
echo "znVelmora.dll: $(wc -c <"$build/bin/znVelmora.dll") bytes built, $(wc -c <"$dll") shipped," \
  "$(wc -c <"$dll.debug") in znVelmora.dll.debug"
# A cross toolchain looks for packages only under its own root, so the package is named directly.
cmake -S "$host" -B "$out/host" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
  -DznVelmora_DIR="$package/lib/cmake/znVelmora" >"$out/configure.log" ||
  { cat "$out/configure.log"; exit 1; }
cmake --build "$out/host" -j2 >"$out/build.log" || { cat "$out/build.log"; exit 1; }
cp "$package"/bin/*.dll "$out/host/"
ls "$out/host"/*.dll "$out/host"/host.exe
