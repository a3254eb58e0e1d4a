#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks that the installed programs find their
# data there: the desktop entry and icon in place, orbivex-cli computing a chart and drawing a
# wheel with its drawing module, and the desktop program starting on the offscreen platform.
set -euo pipefail
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

# The desktop program makes the user's state folder once it has read its texts and its Pluto
# table, just before it computes its first chart; it must then still be running.
export XDG_DATA_HOME="$home/data" XDG_CONFIG_HOME="$home/config" QT_QPA_PLATFORM=offscreen
"$prefix/bin/orbivex" >"$home/desktop.log" 2>&1 &
desktop=$!
for ((tries = 0; tries < 600; ++tries)); do
    if [[ -d $home/data/Quillmark ]] || ! kill -0 "$desktop" 2>/dev/null; then
        break
    fi
    sleep 0.1
done
if [[ ! -d $home/data/Quillmark ]] || ! kill -0 "$desktop" 2>/dev/null; then
    echo "the installed desktop program did not start:" >&2
    cat "$home/desktop.log" >&2
    kill "$desktop" 2>/dev/null || true
    exit 1
fi
kill "$desktop"
wait "$desktop" || true
echo "installed programs work from $prefix"
