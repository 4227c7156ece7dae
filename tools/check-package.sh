#!/usr/bin/env bash
# Checks a built Quorvex .deb without installing it: unpacks it into a temporary directory,
# compares its file list, runs the unpacked programs (quorvex-run against quorvex-emu, the menu
# launcher, the main window offscreen), renders the manual pages, validates the desktop entry
# and runs lintian.
#   tools/check-package.sh build/quorvex_<version>_<arch>.deb
set -euo pipefail

deb=$(realpath "$1")
work=$(mktemp -d)
emulator_pid=""
cleanup() {
    if [ -n "$emulator_pid" ]; then
        kill "$emulator_pid" 2>/dev/null || true
        wait "$emulator_pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "package check: $*" >&2
    exit 1
}
step() { echo "package check: $*"; }

root="$work/root"
bin="$root/usr/bin"
dpkg-deb -x "$deb" "$root"

step "contents"
expected="./usr/bin/quorvex
./usr/bin/quorvex-emu
./usr/bin/quorvex-launch
./usr/bin/quorvex-run
./usr/share/applications/quorvex.desktop
./usr/share/doc/quorvex/changelog.gz
./usr/share/doc/quorvex/copyright
./usr/share/icons/hicolor/scalable/apps/quorvex.svg
./usr/share/man/man1/quorvex-emu.1.gz
./usr/share/man/man1/quorvex-launch.1.gz
./usr/share/man/man1/quorvex-run.1.gz
./usr/share/man/man1/quorvex.1.gz"
actual=$(cd "$root" && find . ! -type d | LC_ALL=C sort)
[ "$actual" = "$expected" ] || fail "unexpected file list:"$'\n'"$actual"
depends=$(dpkg-deb -f "$deb" Depends)
case "$depends" in
    *-dev*) fail "depends on a build package: $depends" ;;
    *libqt6serialport6*) ;;
    *) fail "dependencies not computed from the binaries: $depends" ;;
esac

step "quorvex-run --help"
help=$("$bin/quorvex-run" --help) || fail "quorvex-run --help failed"
grep -q '^Usage: quorvex-run' <<<"$help" || fail "quorvex-run --help prints no usage"

step "manual pages"
render() {
    local errors
    errors=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 \
        man --warnings -E UTF-8 -l -Tutf8 "$1" 2>&1 >/dev/null) || fail "man cannot render $1"
    [ -z "$errors" ] || fail "warnings rendering $1:"$'\n'"$errors"
    LC_ALL=C.UTF-8 MANWIDTH=80 man -E UTF-8 -l "$1" 2>/dev/null | col -b
}
man_dir="$root/usr/share/man/man1"
for page in quorvex quorvex-run quorvex-emu; do
    render "$man_dir/$page.1.gz" >"$work/$page.txt"
done
[ "$(readlink "$man_dir/quorvex-launch.1.gz")" = quorvex.1.gz ] || fail "quorvex-launch(1) is no link"
# Every option that --help names is described in the manual page.
for tool in quorvex-run quorvex-emu; do
    for option in $("$bin/$tool" --help | grep -o -- '--[a-z][a-z-]*' | sort -u); do
        grep -q -- "$option" "$work/$tool.txt" || fail "$tool(1) does not describe $option"
    done
done

step "quorvex-run against quorvex-emu"
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
"$bin/quorvex-emu" --factory QVCHECK1 >"$work/emu.out" &
emulator_pid=$!
for _ in $(seq 50); do
    [ -s "$work/emu.out" ] && break
    sleep 0.1
done
device=$(head -n 1 "$work/emu.out")
[ -n "$device" ] || fail "quorvex-emu printed no device path"
printf '5A1\r\n' >"$work/diagnostics.txt"
"$bin/quorvex-run" --port "$device" "$work/diagnostics.txt" >"$work/run.out" 2>"$work/run.err" ||
    fail "quorvex-run exited with $?: $(cat "$work/run.err")"
grep -q 'QVCHECK1' "$work/run.out" || fail "no diagnostic answer from quorvex-emu: $(cat "$work/run.out")"
kill "$emulator_pid"
wait "$emulator_pid" || fail "quorvex-emu did not end cleanly"
emulator_pid=""

step "menu launcher"
# Beside a stand-in for quorvex that reports where it was started.
mkdir "$work/launcher"
cp "$bin/quorvex-launch" "$work/launcher/"
printf '#!/bin/sh\npwd\n' >"$work/launcher/quorvex"
chmod +x "$work/launcher/quorvex"
started=$(env -u XDG_DATA_HOME HOME="$work/home" "$work/launcher/quorvex-launch")
[ "$started" = "$work/home/.local/share/quorvex" ] || fail "launcher started in '$started'"
if [ ! -f "$started/fpinit.ini" ] || [ -s "$started/fpinit.ini" ]; then
    fail "launcher created no empty fpinit.ini"
fi
mkdir -p "$work/data/quorvex"
printf '[LogFile]\r\nLog=1\r\n' >"$work/data/quorvex/fpinit.ini"
started=$(XDG_DATA_HOME="$work/data" "$work/launcher/quorvex-launch")
[ "$started" = "$work/data/quorvex" ] || fail "launcher ignored XDG_DATA_HOME: '$started'"
[ -s "$started/fpinit.ini" ] || fail "launcher replaced an existing fpinit.ini"
# The real program stays up when the launcher starts it in a fresh directory.
status=0
XDG_DATA_HOME="$work/fresh" QT_QPA_PLATFORM=offscreen timeout 3 "$bin/quorvex-launch" \
    >/dev/null 2>&1 || status=$?
[ "$status" -eq 124 ] || fail "quorvex started by the launcher ended with status $status"

step "desktop entry"
desktop="$root/usr/share/applications/quorvex.desktop"
desktop-file-validate "$desktop" || fail "desktop-file-validate"
exec_name=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
[ -x "$bin/$exec_name" ] || fail "desktop entry starts '$exec_name', which the package lacks"
icon=$(sed -n 's/^Icon=//p' "$desktop")
[ -f "$root/usr/share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "no icon '$icon'"

step "lintian"
status=0
report=$(lintian --fail-on error "$deb" 2>&1) || status=$?
grep -v '^running with root privileges' <<<"$report" || true
[ "$status" -eq 0 ] || fail "lintian reports errors"
step "passed: $(basename "$deb")"
