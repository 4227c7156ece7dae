#!/usr/bin/env bash
# The Windows x86-64 package: quorvex.exe, quorvex-run.exe and the Start-menu launcher
# cross-built with mingw-w64 against Qt for Windows (tools/windows-qt.sh, cached), with the
# DLLs and plugins they need, Qt's Russian texts and qt.conf beside them, written as
#   build-windows-qt/quorvex-<version>-windows-x86_64.zip        (folder quorvex/)
#   build-windows-qt/quorvex-<version>-windows-x86_64-setup.exe  (NSIS, Russian)
# The folder the zip holds stays in build-windows-qt/stage/quorvex for tools/windows-check.sh.
# tools/dev.sh windows-package installs the packages it needs and runs it.
#
# Exit status: 0 written; 75 Qt's source could not be fetched (nothing built); else a fault.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
wbuild="${QUORVEX_WINDOWS_QT_BUILD_DIR:-$here/build-windows-qt}"
triple=x86_64-w64-mingw32
strip_tool=$triple-strip
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$here}"

step() { echo "windows-package: $*"; }
fail() {
    echo "windows-package: $*" >&2
    exit 1
}

# Qt for Windows, from the cache or built now; its folder is the last line of the output, which
# is shown as it comes.
mkdir -p "$wbuild"
qt_status=0
"$here/tools/windows-qt.sh" 2>&1 | tee "$wbuild/windows-qt.log" || qt_status=$?
[ "$qt_status" -eq 75 ] && exit 75
[ "$qt_status" -eq 0 ] || fail "Qt for Windows could not be built"
qt=$(tail -n 1 "$wbuild/windows-qt.log")
[ -f "$qt/.complete" ] || fail "no Qt in '$qt'"

step "building the programs against $qt"
cmake -S "$here" -B "$wbuild" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-w64.cmake" -DQUORVEX_WINDOWS_QT="$qt" \
    -DQUORVEX_BUILD_BENCHMARKS=OFF -DQUORVEX_WERROR=ON >/dev/null ||
    fail "configure failed"
# The Win32 line's tests and the Qt-side tests that run on Windows come along for
# tools/windows-check.sh.
cmake --build "$wbuild" -j "$(nproc)" --target quorvex quorvex-run quorvex-launch \
    tests_serial_win32 tests_platform_qt || fail "build failed"
version=$(cat "$wbuild/quorvex-version.txt")
name="quorvex-$version-windows-x86_64"

# The DLLs a program or library imports that come with Qt or the compiler (the system's own
# DLLs are not found there and stay out), and theirs in turn.
dll_folders=("$qt/bin" "$(dirname "$($triple-g++-posix -print-file-name=libstdc++-6.dll)")"
             "/usr/$triple/lib")
deploy_imports() {
    local binary=$1 stage=$2 dll folder
    for dll in $($triple-objdump -p "$binary" | sed -n 's/^[[:space:]]*DLL Name: //p'); do
        [ -e "$stage/$dll" ] && continue
        for folder in "${dll_folders[@]}"; do
            if [ -f "$folder/$dll" ]; then
                cp "$folder/$dll" "$stage/$dll"
                deploy_imports "$stage/$dll" "$stage"
                break
            fi
        done
    done
}

stage="$wbuild/stage/quorvex"
step "collecting $stage"
rm -rf "$wbuild/stage"
mkdir -p "$stage/platforms" "$stage/styles"
cp "$wbuild/app/quorvex.exe" "$wbuild/script/quorvex-run.exe" \
    "$wbuild/packaging/windows/quorvex-launch.exe" "$stage/"
cp "$qt/plugins/platforms/qwindows.dll" "$stage/platforms/"
cp "$qt/plugins/styles/qwindowsvistastyle.dll" "$stage/styles/"
for binary in "$stage"/*.exe "$stage"/platforms/*.dll "$stage"/styles/*.dll; do
    deploy_imports "$binary" "$stage"
done
for dll in Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll libstdc++-6.dll libgcc_s_seh-1.dll \
           libwinpthread-1.dll; do
    [ -f "$stage/$dll" ] || fail "$dll was not found among the programs' imports"
done
"$strip_tool" --strip-unneeded "$stage"/*.exe "$stage"/*.dll "$stage"/*/*.dll
# Qt finds its plugins and translations beside the programs (qt.conf), among them Qt's
# own texts in Russian.
cp "$here/packaging/windows/qt.conf" "$stage/"
cp /usr/share/qt6/translations/qtbase_ru.qm "$stage/"
: >"$stage/fpinit.ini"
# The README in UTF-8 with a byte-order mark and CR LF line ends, as Notepad reads it.
{
    printf '\xEF\xBB\xBF'
    sed -e "s/@VERSION@/$version/g" -e 's/$/\r/' "$here/packaging/windows/README.txt"
} >"$stage/README.txt"

step "writing $name.zip"
rm -f "$wbuild/$name.zip"
# The Start-menu launcher belongs to the installation: the zip's folder is the start directory.
(cd "$wbuild/stage" && find quorvex -type f ! -name quorvex-launch.exe | LC_ALL=C sort |
    zip -q -X -9 "$wbuild/$name.zip" -@) || fail "zip failed"

# The installer takes every file of the folder but fpinit.ini and the README, which belong to
# the zip: installed, the program starts in the user's own folder with its own fpinit.ini.
step "writing $name-setup.exe"
files="$wbuild/stage/files.nsh"
{
    echo '!macro InstallFiles'
    (cd "$stage" && find . -type d | LC_ALL=C sort) | while read -r dir; do
        dir=${dir#.}
        echo "  SetOutPath \"\$INSTDIR${dir//\//\\}\""
        (cd "$stage/$dir" && find . -maxdepth 1 -type f ! -name fpinit.ini ! -name README.txt |
            LC_ALL=C sort) | while read -r file; do
            file=${file#./}
            echo "  File \"$stage$dir/$file\""
        done
    done
    echo '!macroend'
    echo '!macro UninstallFiles'
    (cd "$stage" && find . -type f ! -name fpinit.ini ! -name README.txt | LC_ALL=C sort) |
        while read -r file; do
            file=${file#./}
            echo "  Delete \"\$INSTDIR\\${file//\//\\}\""
        done
    (cd "$stage" && find . -mindepth 1 -type d | LC_ALL=C sort -r) | while read -r dir; do
        dir=${dir#./}
        echo "  RMDir \"\$INSTDIR\\${dir//\//\\}\""
    done
    echo '!macroend'
} >"$files"
makensis -V2 -DVERSION="$version" -DICON="$wbuild/packaging/windows/quorvex.ico" \
    -DFILES="$files" -DOUTFILE="$wbuild/$name-setup.exe" \
    "$here/packaging/windows/quorvex.nsi" || fail "makensis failed"

step "$(du -k "$wbuild/$name.zip" | cut -f1) KB $wbuild/$name.zip"
step "$(du -k "$wbuild/$name-setup.exe" | cut -f1) KB $wbuild/$name-setup.exe"
