#!/usr/bin/env bash
# Checks the Windows package (tools/windows-package.sh) under Wine, in a fresh prefix of its own
# set up as a Russian Windows:
#   - the zip unpacks and quorvex-run.exe runs a script on EMU1;
#   - the Win32 line's tests and the Qt-side tests that apply to Windows (text conversion
#     without ICU, the memo, dialogs, translation) pass, the line's through a COM port;
#   - Wine's COM5 mapped to the pseudo-terminal of a Linux quorvex-emu: quorvex-run.exe runs a
#     1,000-command script there and its memo lines equal the Linux quorvex-run's on the same
#     terminal (both timed, five rounds); a quorvex-emu that goes away mid-run ends the run at
#     once;
#   - quorvex.exe shows its window under Xvfb (timed), connects to EMU1 and opens the status
#     window; screenshots of both go to build-windows-qt/screenshots/ to be looked at;
#   - the installer installs silently, its Start-menu entry starts the program in the user's
#     folder, and the uninstaller removes what it installed.
# tools/dev.sh windows-check builds the package and the Linux programs, then runs this.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
wbuild="${QUORVEX_WINDOWS_QT_BUILD_DIR:-$here/build-windows-qt}"
host_build="${QUORVEX_BUILD_DIR:-$here/build}"
version=$(cat "$wbuild/quorvex-version.txt")
name="quorvex-$version-windows-x86_64"
qt=$("$here/tools/windows-qt.sh" --prefix)
shots="$wbuild/screenshots"
work=$(mktemp -d)
pids=()

cleanup() {
    local pid
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    WINEPREFIX="$work/prefix" wineserver -k 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "windows-check: FAILED: $*" >&2
    exit 1
}
step_start=$(date +%s)
step() {
    local now
    now=$(date +%s)
    echo "windows-check: $* (+$((now - step_start)) s)"
}
ms_since() { echo $((($(date +%s%N) - $1) / 1000000)); }

# Quiet Wine without the Mono and Gecko installers, and its server's own diagnostics (it dumps
# its state when a device it serves goes away) in a log instead of on the terminal.
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset WAYLAND_DISPLAY
# A Russian Windows, as the program's users have: Wine takes its user locale (dates, decimal
# comma) and its ANSI code page (1251) from the Unix locale it starts in.
if locale -a 2>/dev/null | grep -qix 'ru_RU.utf-\?8'; then
    export LANG=ru_RU.UTF-8
    unset LC_ALL
else
    echo "windows-check: no ru_RU.UTF-8 locale here: Wine runs as an English Windows" >&2
fi

# A display for the windows, there before the prefix starts: Wine's desktop process, started
# with the prefix, draws the windows of every program.
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
pids+=($!)
for _ in $(seq 50); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
[ -s "$work/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(head -n 1 "$work/display")"
rm -rf "$shots"
mkdir -p "$shots"
# The window $2, its frame included, as $shots/$1.png.
screenshot() {
    xwd -silent -id "$2" | xwdtopnm 2>/dev/null | pnmtopng >"$shots/$1.png"
}
# The visible top-level window whose title is $1, waiting up to $2 tenths of a second.
wait_window() {
    local id=""
    for _ in $(seq "$2"); do
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1) || true
        [ -n "$id" ] && break
        sleep 0.1
    done
    echo "$id"
}

step "a fresh Wine prefix"
mkdir -p "$WINEPREFIX"
wineserver -p >"$work/wineserver.log" 2>&1
wineboot --init >/dev/null 2>&1 || fail "wineboot"
# Without Tahoma Qt picks a font with tall lines that hides the text of combo boxes; Marlett
# draws the title bars' buttons.
cp /usr/share/wine/fonts/tahoma*.ttf /usr/share/wine/fonts/marlett.ttf \
    "$WINEPREFIX/drive_c/windows/Fonts/"
# Xvfb has no window manager: Wine draws the windows' frames and title bars itself, as Windows
# does, instead of leaving them to one.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 ||
    fail "the prefix's X11 settings"

step "the zip"
unzip -q "$wbuild/$name.zip" -d "$work/zip"
program="$work/zip/quorvex"
for file in quorvex.exe quorvex-run.exe Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll \
            platforms/qwindows.dll styles/qwindowsvistastyle.dll qtbase_ru.qm qt.conf \
            fpinit.ini README.txt; do
    [ -f "$program/$file" ] || fail "the zip lacks quorvex/$file"
done
[ ! -s "$program/fpinit.ini" ] || fail "fpinit.ini in the zip is not empty"

# A script in Windows-1251: an article with a Cyrillic name programmed and read back, status
# and diagnostics.
to_script() { sed 's/$/\r/' | iconv -f UTF-8 -t CP1251; }
printf '%s\n' '6BPБ4711,3,12.50,9011,Хлеб ржаной' 4AW 5A0 6BR4711 | to_script >"$work/short.txt"

step "quorvex-run.exe on EMU1"
(cd "$work" && wine "$program/quorvex-run.exe" --port EMU1 short.txt >emu1.out 2>emu1.err) ||
    fail "quorvex-run.exe --port EMU1 ended with $?: $(cat "$work/emu1.err")"
grep -q 'QV000001' "$work/emu1.out" || fail "no diagnostic answer on EMU1: $(cat "$work/emu1.out")"
grep -q 'Хлеб ржаной' "$work/emu1.out" || fail "the Cyrillic name did not come back from EMU1"

# Two quorvex-emu on pseudo-terminals, as COM5 and COM6 of the prefix.
start_emulator() {
    local out="$work/emu-$1.out"
    "$host_build/emulator/quorvex-emu" >"$out" 2>"$work/emu-$1.err" &
    pids+=($!)
    for _ in $(seq 50); do
        [ -s "$out" ] && break
        sleep 0.1
    done
    [ -s "$out" ] || fail "quorvex-emu printed no device path"
}
step "Wine's COM5 and COM6 mapped to two quorvex-emu"
start_emulator 5
start_emulator 6
emulator6_pid=${pids[-1]}
pts5=$(head -n 1 "$work/emu-5.out")
pts6=$(head -n 1 "$work/emu-6.out")
wine reg add 'HKLM\Software\Wine\Ports' /v COM5 /d "$pts5" /f >/dev/null 2>&1
wine reg add 'HKLM\Software\Wine\Ports' /v COM6 /d "$pts6" /f >/dev/null 2>&1
# The mapping takes effect when the prefix starts again.
wineserver -k
wineserver -w
wineserver -p >>"$work/wineserver.log" 2>&1
wineboot >/dev/null 2>&1 || true

step "the Win32 line's tests through COM5, the Qt-side tests offscreen"
# Beside the unpacked programs, so that they load the package's DLLs, qt.conf and qtbase_ru.qm,
# with Qt's offscreen platform added.
tests="$work/tests"
cp -r "$program" "$tests"
cp "$qt/plugins/platforms/qoffscreen.dll" "$tests/platforms/"
for test in tests_serial_win32 tests_platform_qt; do
    cp "$wbuild/tests/$test.exe" "$tests/"
    (cd "$tests" && QUORVEX_TEST_COM_PORT=COM5 wine "$test.exe" --gtest_brief=1 \
        >"$work/$test.log" 2>&1) || { tail -40 "$work/$test.log"; fail "$test"; }
    grep -E '^\[  (PASSED|SKIPPED) ' "$work/$test.log" | sed "s/^/  $test: /"
done

# 1,000 commands that leave the registrar as it was, the same for both runs.
{
    echo '6BPБ4711,3,12.50,9011,Хлеб ржаной'
    for i in $(seq 999); do
        case $((i % 7)) in
            0) echo 4AW ;; 1) echo 5A0 ;; 2) echo 6BR4711 ;; 3) echo 4C ;;
            4) echo 25 ;; 5) echo 46 ;; 6) echo 6C0 ;;
        esac
    done
} | to_script >"$work/commands.txt"

step "1,000 commands through COM5: Linux quorvex-run and quorvex-run.exe (etx mode)"
run_linux() {
    "$host_build/script/quorvex-run" --port "$pts5" --speed 115200 --answer-end etx \
        "$work/commands.txt" >"$work/linux.out" 2>"$work/linux.err" ||
        fail "Linux quorvex-run ended with $?: $(tail -3 "$work/linux.err")"
}
# Its output goes to a file: Wine writes to /dev/null many times slower than to a file.
run_windows() {
    (cd "$work" && wine "$program/quorvex-run.exe" --port COM5 --speed 115200 --answer-end etx \
        commands.txt >windows.raw 2>windows.err) ||
        fail "quorvex-run.exe on COM5 ended with $?: $(tail -3 "$work/windows.err")"
}
# What starting each program costs, apart from the commands.
run_linux_start() {
    "$host_build/script/quorvex-run" --help >"$work/help.out" 2>&1 || fail "quorvex-run --help"
}
run_windows_start() {
    (cd "$work" && wine "$program/quorvex-run.exe" --help >help.out 2>&1) ||
        fail "quorvex-run.exe --help"
}
run_linux
run_windows
sed 's/\r$//' "$work/windows.raw" >"$work/windows.out"
[ "$(grep -c '^FP: ' "$work/linux.out")" -eq 1000 ] || fail "the Linux run has no 1,000 answers"
cmp -s "$work/linux.out" "$work/windows.out" ||
    { diff "$work/linux.out" "$work/windows.out" | head -20; fail "memo lines differ"; }
echo "  memo lines equal: $(wc -l <"$work/linux.out") lines, 1,000 answers"
# Five rounds taking turns, each time the median: one busy moment of a shared machine does
# not decide the figure.
ms_of() {
    local start
    start=$(date +%s%N)
    "$@"
    ms_since "$start"
}
median() { printf '%s\n' "$@" | sort -n | sed -n "$((($# + 1) / 2))p"; }
linux_times=() windows_times=() linux_starts=() windows_starts=()
for _ in 1 2 3 4 5; do
    linux_times+=("$(ms_of run_linux)")
    windows_times+=("$(ms_of run_windows)")
    linux_starts+=("$(ms_of run_linux_start)")
    windows_starts+=("$(ms_of run_windows_start)")
done
per_command() { LC_ALL=C awk "BEGIN{printf \"%.2f\", $1 / 1000}"; }
# $1 the program, $2 the median of its starts, the rest its runs.
report() {
    local name=$1 start_ms=$2 run_ms
    shift 2
    run_ms=$(median "$@")
    echo "  $name $run_ms ms, $(per_command "$run_ms") ms per command;" \
         "$(per_command "$((run_ms - start_ms))") ms without its start ($start_ms ms, --help)" \
         "(runs: $* ms)"
}
report "Linux quorvex-run:" "$(median "${linux_starts[@]}")" "${linux_times[@]}"
report "quorvex-run.exe:  " "$(median "${windows_starts[@]}")" "${windows_times[@]}"

step "a quorvex-emu that goes away mid-run ends the run at once"
(cd "$work" && exec wine "$program/quorvex-run.exe" --port COM6 --speed 115200 \
    --answer-end etx commands.txt >gone.out 2>gone.err) &
run_pid=$!
for _ in $(seq 100); do
    [ "$(grep -c '^FP: ' "$work/gone.out" 2>/dev/null)" -gt 20 ] && break
    sleep 0.1
done
kill "$emulator6_pid"
gone_start=$(date +%s%N)
status=0
wait "$run_pid" || status=$?
gone_ms=$(ms_since "$gone_start")
[ "$status" -eq 1 ] || fail "quorvex-run.exe ended with $status after the device went away"
grep -q 'COM6' "$work/gone.err" && grep -q 'отключено' "$work/gone.err" ||
    fail "no device-gone message: $(tail -3 "$work/gone.err")"
[ "$gone_ms" -lt 5000 ] || fail "the run took $gone_ms ms to end after the device went away"
echo "  ended $gone_ms ms after the device went away: $(grep 'COM6' "$work/gone.err" | head -1)"

step "quorvex.exe: the main window on EMU1, connect, the status window"
printf '[Communication]\r\nPort=EMU1\r\nSpeed=19200\r\n' >"$program/fpinit.ini"
start=$(date +%s%N)
(cd "$program" && exec wine quorvex.exe >"$work/gui.out" 2>&1) &
gui_pid=$!
pids+=("$gui_pid")
main=$(wait_window Quorvex 300)
[ -n "$main" ] || fail "the main window did not appear within 30 s"
shown_ms=$(ms_since "$start")
echo "  main window shown $shown_ms ms after the start"
sleep 1
screenshot main-window "$main"
# The port list open (F4 on the focused port box): COM1 (Wine's ttyS0), COM5, COM6, EMU1, EMU2.
xdotool windowfocus --sync "$main" key F4
sleep 1
popup=$(xwininfo -root -tree | awk '$2 == "\"quorvex\":" {print $1; exit}')
[ -n "$popup" ] || fail "the port list did not open"
screenshot port-list "$popup"
xdotool key Escape
sleep 0.5
# Tab order: port, speed, "Подключить"; then "Состояние регистратора".
xdotool key --delay 150 Tab Tab space
sleep 2
screenshot main-window-connected "$main"
xdotool key --delay 150 Tab space
status_window=$(wait_window 'Байты состояния регистратора' 100)
[ -n "$status_window" ] || fail "the status window did not open (see $shots)"
sleep 1
screenshot status-window "$status_window"
xdotool key --window "$status_window" Escape
wine taskkill /f /im quorvex.exe >/dev/null 2>&1 || true
wait "$gui_pid" 2>/dev/null || true

step "the installer, silently"
setup="$wbuild/$name-setup.exe"
install_dir="$WINEPREFIX/drive_c/Program Files/Quorvex"
start_menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorvex'
before=$(cd "$WINEPREFIX/drive_c" && find . -path ./users -prune -o -print | LC_ALL=C sort)
wine "$setup" /S || fail "the installer ended with $?"
for file in quorvex.exe quorvex-run.exe quorvex-launch.exe uninstall.exe platforms/qwindows.dll; do
    [ -f "$install_dir/$file" ] || fail "not installed: $file"
done
[ ! -e "$install_dir/fpinit.ini" ] || fail "the installation folder has an fpinit.ini"
[ -f "$start_menu/Quorvex.lnk" ] || fail "no Start-menu entry Quorvex"
wine reg query "$uninstall_key" /v UninstallString >/dev/null 2>&1 ||
    fail "no entry in Programs and Features"
(cd "$work" && wine "$install_dir/quorvex-run.exe" --port EMU2 short.txt >installed.out 2>&1) ||
    fail "the installed quorvex-run.exe"

step "the Start-menu entry: the program in the user's folder"
user_folder=$(winepath -u "$(wine cmd /c echo %LOCALAPPDATA% 2>/dev/null | tr -d '\r')")/Quorvex
rm -rf "$user_folder"
start=$(date +%s%N)
wine "$install_dir/quorvex-launch.exe"
main=$(wait_window Quorvex 300)
[ -n "$main" ] || fail "the program started from the Start-menu entry showed no window"
[ -f "$user_folder/fpinit.ini" ] || fail "no fpinit.ini in $user_folder"
echo "  started in $user_folder, window after $(ms_since "$start") ms"
sleep 1
screenshot start-menu-entry "$main"
wine taskkill /f /im quorvex.exe >/dev/null 2>&1 || true

step "the uninstaller, silently"
wine "$install_dir/uninstall.exe" /S || fail "the uninstaller ended with $?"
# It runs from a copy of itself in the temporary folder; wait for it to finish.
for _ in $(seq 300); do
    [ -e "$install_dir" ] || break
    sleep 0.1
done
[ ! -e "$install_dir" ] || fail "left behind: $(cd "$install_dir" && find . | head)"
[ ! -e "$start_menu/Quorvex.lnk" ] || fail "the Start-menu entry is left"
! wine reg query "$uninstall_key" >/dev/null 2>&1 || fail "the Programs and Features entry is left"
after=$(cd "$WINEPREFIX/drive_c" && find . -path ./users -prune -o -print | LC_ALL=C sort)
left=$(comm -13 <(echo "$before") <(echo "$after") | grep -v '^./windows/' || true)
[ -z "$left" ] || fail "the uninstaller left: $left"
[ -f "$user_folder/fpinit.ini" ] || fail "the user's settings went with the program"

step "passed; screenshots in $shots"
