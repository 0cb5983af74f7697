#!/bin/sh
# The Linux release package as a user gets it: made by CPack, unpacked into an empty folder,
# installed by its install.sh with HOME pointed into the test's own folder, then the installed
# renderer loads the installed bundle and one of the installed presets.
# Usage: package_test.sh CPACK CPACK_CONFIG WORK_DIR
set -eu
cpack=$1
config=$2
work=$3

rm -rf "$work"
mkdir -p "$work/packages" "$work/unpacked" "$work/home"
"$cpack" --config "$config" -B "$work/packages" >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; exit 1; }
set -- "$work"/packages/Korvessa-*-linux-x86_64.tar.gz
[ -f "$1" ] || { echo "no Korvessa-<version>-linux-x86_64.tar.gz in $work/packages"; exit 1; }
tar -xzf "$1" -C "$work/unpacked"
root=$(ls -d "$work"/unpacked/Korvessa-*-linux-x86_64)
for f in install.sh README.md COPYING korvessa-render Korvessa.vst3/Contents/x86_64-linux/Korvessa.so \
         Korvessa.vst3/Contents/Resources/moduleinfo.json "presets/High Gain Init.vstpreset"; do
  [ -e "$root/$f" ] || { echo "the package lacks $f"; exit 1; }
done

# Twice: a second install replaces the first.
for run in 1 2; do
  HOME="$work/home" "$root/install.sh"
done
bundle="$work/home/.vst3/Korvessa.vst3"
presets="$work/home/.vst3/presets/Quillonix/Korvessa"
render="$work/home/.local/bin/korvessa-render"
[ -f "$bundle/Contents/x86_64-linux/Korvessa.so" ] || { echo "no bundle in ~/.vst3"; exit 1; }
count=$(ls "$presets"/*.vstpreset | wc -l)
[ "$count" -eq 16 ] || { echo "$count presets in $presets, not 16"; exit 1; }

info=$(HOME="$work/home" "$render" --plugin "$bundle" --info)
echo "$info" | grep -q "FFFFFF88FF904D5DFFFFFFECFFFFFFA1" || { echo "$info"; echo "no class ID in --info"; exit 1; }
listed=$(HOME="$work/home" "$render" --plugin "$bundle" --list-presets | wc -l)
[ "$listed" -eq 16 ] || { echo "the installed renderer lists $listed presets"; exit 1; }
params=$(HOME="$work/home" "$render" --plugin "$bundle" --state "$presets/High Gain Init.vstpreset" --list-params)
echo "$params" | grep -q "Distortion" || { echo "$params"; exit 1; }
echo "package installed and loaded from $work/home"
