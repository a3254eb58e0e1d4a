#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks that the installed programs find their
# data there: the desktop entry and icon in place, orbivex-cli computing a chart and drawing a
# wheel with its drawing module, and the desktop program starting on the offscreen platform.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$1
prefix=$(mktemp -d)
home=$(mktemp -d)
trap 'rm -rf "$prefix" "$home"' EXIT

cmake --install "$build" --prefix "$prefix" >/dev/null

for file in bin/orbivex bin/orbivex-cli share/orbivex/orbx.dat share/orbivex/orbx_help.txt \
    share/orbivex/hpluto.2199.slx share/doc/orbivex/orbivex-manual.html \
    share/applications/orbivex.desktop \
    share/icons/hicolor/scalable/apps/orbivex.svg; do
    if [[ ! -f "$prefix/$file" ]]; then
        echo "not installed: $file" >&2
        exit 1
    fi
done
if [[ -z $(find "$prefix" -path '*/orbivex/orbivex-cli-draw.so') ]]; then
    echo "not installed: the drawing module orbivex-cli-draw.so" >&2
    exit 1
fi
grep -qx 'Exec=orbivex' "$prefix/share/applications/orbivex.desktop"
grep -qx 'Icon=orbivex' "$prefix/share/applications/orbivex.desktop"

# Run from another folder, so that nothing is found by accident in the working directory.
cd "$home"
output=$("$prefix/bin/orbivex-cli" chart --mode world --world "2024-03-20 12:00 GMT")
grep -q '^Heliocentric world transits' <<<"$output"
grep -q '^180°2' <<<"$output"
"$prefix/bin/orbivex-cli" wheel --mode world --world "2024-03-20 12:00 GMT" --out wheel.png \
    >/dev/null
[[ -s wheel.png ]]

source "$here/desktop_starts.sh"
desktop_starts "$prefix/bin/orbivex" "$home"
echo "installed programs work from $prefix"
