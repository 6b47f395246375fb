#!/bin/sh
# The demo: the Control Panel host with the Quilan applet, against two emulated adapters in a
# system root of its own, which goes away with the emulators when the user leaves.
#
#   tools/demo.sh BUILD_DIR [--open]
#
# A North American adapter answers on COM2 (firmware 3.10.05, so its profiles can be edited)
# and an International one on COM5. The panel lists the applet; Enter opens it. With --open the
# applet opens at once, as when the Control Panel is started with the applet's file name.
# "ElmDirectory" names the build's two standard firmware files (version 3.11.02), so that a
# download or a region change from "Card Properties" visibly changes the card's version.
set -eu

if [ $# -lt 1 ]; then
    echo "usage: tools/demo.sh BUILD_DIR [--open]" >&2
    exit 2
fi
build=$(cd "$1" && pwd)
shift
open=no
if [ "${1:-}" = "--open" ]; then
    open=yes
fi

for program in quilan-control quilan-regedit tasim; do
    if [ ! -x "$build/bin/$program" ]; then
        echo "demo: $build/bin/$program is missing; build first" >&2
        exit 1
    fi
done
if [ ! -f "$build/lib/ornapanel.cpl" ]; then
    echo "demo: $build/lib/ornapanel.cpl is missing; build first" >&2
    exit 1
fi
if [ ! -t 0 ] || [ ! -t 1 ]; then
    echo "demo: run me in a terminal" >&2
    exit 1
fi

root=$(mktemp -d "${TMPDIR:-/tmp}/quilan-demo.XXXXXX")
emulators=""
cleanup() {
    for pid in $emulators; do
        kill "$pid" 2>/dev/null || true
    done
    for pid in $emulators; do
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$root"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

export QUILAN_ROOT="$root"

# The keys the installation writes.
"$build/bin/quilan-regedit" 'SOFTWARE\Corvane\Quilan ISDN T/A \Directory' \
    "ElmDirectory=$build/elm/" "HelpDirectory=$build/help/" >/dev/null
"$build/bin/quilan-regedit" 'SOFTWARE\Corvane\Quilan ISDN T/A \ProfileNames' >/dev/null

# The emulators keep their cards' memory in the root, so downloads and profiles last the demo.
"$build/bin/tasim" --root "$root" --port COM2 --version 3.10.05 \
    --state "$root/COM2.card" >"$root/COM2.log" 2>&1 &
emulators="$emulators $!"
"$build/bin/tasim" --root "$root" --port COM5 --region euro \
    --state "$root/COM5.card" >"$root/COM5.log" 2>&1 &
emulators="$emulators $!"

# Each emulator links its port when it is ready.
tries=0
while [ ! -e "$root/ports/COM2" ] || [ ! -e "$root/ports/COM5" ]; do
    tries=$((tries + 1))
    if [ $tries -gt 100 ]; then
        echo "demo: the emulated adapters did not start:" >&2
        cat "$root/COM2.log" "$root/COM5.log" >&2
        exit 1
    fi
    sleep 0.1
done

mkdir "$root/applets"
ln -s "$build/lib/ornapanel.cpl" "$root/applets/ornapanel.cpl"
if [ "$open" = yes ]; then
    "$build/bin/quilan-control" "$root/applets/ornapanel.cpl"
else
    "$build/bin/quilan-control" --dir "$root/applets"
fi
