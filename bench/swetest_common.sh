# Shared by the scripts that time orbivex-cli against swetest: reads [BUILD_DIR] [REPETITIONS]
# (the caller sets default_repetitions first) and checks that both programs are there.
# Sets root, build, repetitions, cli and ephemeris.
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
repetitions=${2:-$default_repetitions}
cli="$build/bin/orbivex-cli"
ephemeris=/usr/share/libswe/ephe

if [[ ! -x "$cli" ]]; then
    echo "No $cli: build first (scripts/build)." >&2
    exit 1
fi
if ! command -v swetest >/dev/null; then
    echo "No swetest: install the Debian package swetest (scripts/setup does)." >&2
    exit 1
fi
