#!/usr/bin/env bash
# Checks the Debian package as an installed system would hold it: its control fields, every
# file in place, the desktop entry, the software-centre metadata, the manual pages and the shell
# completion valid, both programs running from a scratch root they were unpacked into, and
# lintian finding no error. Usage: check_package.sh orbivex_<version>_<arch>.deb
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
deb=$(realpath "$1")
root=$(mktemp -d)
home=$(mktemp -d)
trap 'rm -rf "$root" "$home"' EXIT
fail() {
    echo "check_package: $*" >&2
    exit 1
}

version=$(dpkg-deb --field "$deb" Version)
[[ $(dpkg-deb --field "$deb" Section) == science ]] || fail "the section is not science"
depends=$(dpkg-deb --field "$deb" Depends)
for package in libqt6core6 libqt6widgets6 swe-standard-data tzdata fonts-dejavu-core libqt6sql6-sqlite \
    libgeonames0; do
    [[ $depends == *"$package"* ]] || fail "Depends lacks $package: $depends"
done

dpkg -x "$deb" "$root"
usr=$root/usr
for file in bin/orbivex bin/orbivex-cli lib/orbivex/orbivex-cli-draw.so \
    share/orbivex/orbx.dat share/orbivex/orbx_help.txt share/orbivex/hpluto.2199.slx \
    share/doc/orbivex/orbivex-manual.html share/doc/orbivex/copyright \
    share/doc/orbivex/changelog.gz share/applications/orbivex.desktop \
    share/icons/hicolor/scalable/apps/orbivex.svg share/icons/hicolor/48x48/apps/orbivex.png \
    share/icons/hicolor/128x128/apps/orbivex.png share/icons/hicolor/256x256/apps/orbivex.png \
    share/metainfo/org.orbivex.orbivex.metainfo.xml share/man/man1/orbivex.1.gz \
    share/man/man1/orbivex-cli.1.gz share/bash-completion/completions/orbivex-cli; do
    [[ -f $usr/$file ]] || fail "not in the package: $file"
done

desktop-file-validate "$usr/share/applications/orbivex.desktop"
appstreamcli validate --no-net --explain "$usr/share/metainfo/org.orbivex.orbivex.metainfo.xml" \
    >/dev/null || fail "the metainfo does not validate"
grep -q "<release version=\"$version\"" "$usr/share/metainfo/org.orbivex.orbivex.metainfo.xml" ||
    fail "the metainfo has no release $version"

# The manual page of orbivex-cli has a section for each command of its --help.
cd "$home"
commands=$("$usr/bin/orbivex-cli" --help | sed -n '/^Commands:/,/^$/s/^  \([a-z]*\) .*/\1/p')
for command in $commands; do
    zcat "$usr/share/man/man1/orbivex-cli.1.gz" | grep -qx ".SS $command" ||
        fail "orbivex-cli(1) has no section for $command"
done

# Completion as bash does it on Tab: the command, then an option, then a value and a zone.
complete_words() {
    bash -c 'source /usr/share/bash-completion/bash_completion
        source "$1"; shift
        COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); COMP_LINE="$*"; COMP_POINT=${#COMP_LINE}
        _orbivex_cli orbivex-cli "${COMP_WORDS[-1]}" "${COMP_WORDS[-2]}"
        printf "%s\n" "${COMPREPLY[@]}"' \
        _ "$usr/share/bash-completion/completions/orbivex-cli" "$@"
}
[[ $(complete_words orbivex-cli ch) == chart ]] || fail "no completion of the command chart"
complete_words orbivex-cli wheel --th | grep -qx -- --theme || fail "no completion of --theme"
[[ $(complete_words orbivex-cli chart --mode syn) == synastry ]] ||
    fail "no completion of the mode synastry"
complete_words orbivex-cli date --zone Europe/Pa | grep -qx Europe/Paris ||
    fail "no completion of the zone Europe/Paris"

# Both programs, run from the scratch root, find their data and the drawing module there.
[[ $("$usr/bin/orbivex-cli" --version) == "orbivex-cli $version" ]] || fail "orbivex-cli --version"
[[ $("$usr/bin/orbivex" --version) == "orbivex $version" ]] || fail "orbivex --version"
output=$("$usr/bin/orbivex-cli" chart --mode world --world "2024-03-20 12:00 GMT")
grep -q '^Heliocentric world transits' <<<"$output" || fail "orbivex-cli chart printed no chart"
"$usr/bin/orbivex-cli" wheel --mode world --world "2024-03-20 12:00 GMT" --out wheel.png \
    >/dev/null
[[ -s wheel.png ]] || fail "orbivex-cli wheel wrote no image"
# The two parts loaded at run time: Qt SQL's SQLite driver and the atlas.
"$usr/bin/orbivex-cli" library add --name Test --date 2000-01-01 \
    --library "$home/charts.sqlite" >/dev/null || fail "orbivex-cli library stored no chart"
"$usr/bin/orbivex-cli" places Lyon --limit 1 | grep -q 'Europe/Paris' ||
    fail "orbivex-cli places found no Lyon"
source "$here/desktop_starts.sh"
desktop_starts "$usr/bin/orbivex" "$home" || fail "orbivex did not start"

# lintian's errors fail the check; its warnings are listed in README.md's Installing section.
lintian --fail-on error "$deb" >&2 || fail "lintian: errors"
echo "the package $(basename "$deb") holds working programs"
