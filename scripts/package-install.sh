#!/bin/sh
# Installs Korvessa from this unpacked package where Linux hosts look for it:
#   the plug-in   Korvessa.vst3     -> ~/.vst3/                              (/usr/lib/vst3 with --system)
#   the presets   presets/*.vstpreset -> ~/.vst3/presets/Quillonix/Korvessa/ (/usr/share/vst3/presets/... with --system)
#   the renderer  korvessa-render   -> ~/.local/bin/                         (/usr/local/bin with --system)
# An installed Korvessa.vst3 is replaced as a whole. Usage: ./install.sh [--system]
set -eu

here=$(cd "$(dirname "$0")" && pwd)
vendor="Quillonix"
product="Korvessa"

case "${1:-}" in
  --system)
    vst3_dir=/usr/lib/vst3
    preset_dir=/usr/share/vst3/presets/$vendor/$product
    bin_dir=/usr/local/bin ;;
  "")
    if [ -z "${HOME:-}" ]; then
      echo "install.sh: HOME is not set; use --system or set HOME" >&2
      exit 1
    fi
    vst3_dir=$HOME/.vst3
    preset_dir=$HOME/.vst3/presets/$vendor/$product
    bin_dir=$HOME/.local/bin ;;
  *)
    echo "usage: $0 [--system]" >&2
    exit 2 ;;
esac

if [ ! -f "$here/$product.vst3/Contents/x86_64-linux/$product.so" ]; then
  echo "install.sh: $here holds no $product.vst3 bundle" >&2
  exit 1
fi

mkdir -p "$vst3_dir" "$preset_dir" "$bin_dir"
# Copy beside the target first, then swap, so a failed copy leaves the old bundle in place.
rm -rf "$vst3_dir/.$product.vst3.new"
cp -R "$here/$product.vst3" "$vst3_dir/.$product.vst3.new"
rm -rf "$vst3_dir/$product.vst3"
mv "$vst3_dir/.$product.vst3.new" "$vst3_dir/$product.vst3"
cp "$here"/presets/*.vstpreset "$preset_dir/"
cp "$here/korvessa-render" "$bin_dir/korvessa-render"
chmod 755 "$bin_dir/korvessa-render"

echo "Installed $product.vst3 in $vst3_dir, its presets in $preset_dir and korvessa-render in $bin_dir."

# The plug-in and the renderer use the system's cairo, pango, X11 and libsndfile.
missing=$(ldd "$vst3_dir/$product.vst3/Contents/x86_64-linux/$product.so" "$bin_dir/korvessa-render" 2>/dev/null |
          awk '/not found/ {print $1}' | sort -u)
if [ -n "$missing" ]; then
  echo "Missing libraries: $(echo $missing)." >&2
  echo "On Debian or Ubuntu: apt-get install libcairo2 libpango-1.0-0 libpangocairo-1.0-0 libx11-6 libsndfile1 libfontconfig1" >&2
fi
