#!/usr/bin/env bash
# Quorvex developer entry point.
#   tools/dev.sh start   install what is needed, build, start Quorvex on the emulated registrar
#   tools/dev.sh test    install what is needed, build, run every test, check the package
#   tools/dev.sh package install what is needed, build the Debian package build/quorvex_*.deb
#   tools/dev.sh windows-test
#                        cross-build the standard-C++ core and its tests for Windows x86-64
#                        (build-windows) and 32-bit x86 (build-windows-i686) with mingw-w64
#                        and run every test program of both under Wine
#   tools/dev.sh windows-package
#                        cross-build Qt 6.4.2 for Windows x86-64 from Debian's qt6-base source
#                        (once; cached in ~/.cache/quorvex) and with it quorvex.exe and
#                        quorvex-run.exe into build-windows-qt/, written as a zip and an
#                        installer (tools/windows-qt.sh, tools/windows-package.sh)
#   tools/dev.sh windows-check
#                        windows-package, then its checks under Wine (tools/windows-check.sh):
#                        programs, COM port to quorvex-emu, the window, installer, uninstaller
#   tools/dev.sh fuzz [SECONDS]  build the fuzz targets with Clang, run each for SECONDS (60)
#   tools/dev.sh fuzz-ci  the core's tests in that Clang build, then every fuzz target briefly
#   tools/dev.sh sanitize build the tests with AddressSanitizer and UBSan, run them
#   tools/dev.sh format  format every C++ source with the committed .clang-format
#   tools/dev.sh format-check  fail, naming the files, when a source drifts from .clang-format
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="${QUORVEX_BUILD_DIR:-$here/build}"
# Paths relative to the checkout, so every clone and work tree shares one compiler cache.
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$here}"
packages=(build-essential cmake ninja-build ccache pkg-config
          qt6-base-dev qt6-base-dev-tools qt6-serialport-dev libgl1-mesa-dev
          libgtest-dev libgmock-dev libbenchmark-dev fonts-dejavu-core fonts-freefont-ttf
          qt6-translations-l10n)
# Building the .deb (dependencies from the binaries) and checking it.
package_tools=(dpkg-dev file lintian desktop-file-utils man-db groff-base)
# Test-only: a comma-decimal locale for the number-formatting tests, and an office suite
# that reads the saved comparison report independently of the program's own code.
test_packages=(locales libreoffice-writer-nogui)

install_packages() {
    local missing=()
    for p in "${packages[@]}" "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    echo "Installing: ${missing[*]}"
    # A package index that cannot be fetched (a mirror in sync, a network fault) is the
    # mirror's fault, not ours: say so and install from the indexes at hand. Only a failed
    # install stops the command.
    $sudo apt-get update -qq -o DPkg::Lock::Timeout=600 ||
        echo "warning: apt-get update failed; installing from the package indexes already here" >&2
    # Another apt or dpkg at work (an unattended upgrade) is waited for, not taken for a failure.
    if ! DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
        -o DPkg::Lock::Timeout=600 "${missing[@]}"; then
        echo "error: could not install: ${missing[*]}" >&2
        return 1
    fi
}

# ru_RU.UTF-8 writes numbers with a decimal comma; the tests that need one skip without it.
ensure_comma_locale() {
    locale -a 2>/dev/null | grep -qix 'ru_RU.utf-\?8' && return 0
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo localedef -i ru_RU -f UTF-8 ru_RU.UTF-8 ||
        echo "warning: could not generate ru_RU.UTF-8; the locale test will skip" >&2
}

# Clang and libFuzzer, only for the steps that need them.
fuzz_packages=(clang llvm libclang-rt-14-dev)

fuzz_build="${QUORVEX_FUZZ_BUILD_DIR:-$here/build-fuzz}"
# The fuzz and sanitizer builds carry debug information; without this ccache would keep their
# objects apart for every checkout (only the debug information's directory differs).
fuzz_and_sanitize_cache() { export CCACHE_NOHASHDIR=true; }
sanitize_build="${QUORVEX_SANITIZE_BUILD_DIR:-$here/build-sanitize}"

build_fuzz() {
    fuzz_and_sanitize_cache
    cmake -S "$here" -B "$fuzz_build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_CXX_COMPILER=clang++ -DQUORVEX_BUILD_FUZZ=ON -DQUORVEX_BUILD_BENCHMARKS=OFF \
        -DQUORVEX_WERROR=ON >/dev/null
    cmake --build "$fuzz_build" -j "$(nproc)" --target quorvex_fuzz "$@"
}

# Runs every fuzz target for $1 seconds, one after the other, from its seeds in fuzz/corpus and
# what earlier runs found (build-fuzz/corpus). A crash, a leak, a hang or a broken invariant
# fails; the input that did it is kept in build-fuzz/artifacts.
run_fuzzers() {
    local seconds=$1 failed=() corpora=() target name log
    mkdir -p "$fuzz_build/corpus" "$fuzz_build/artifacts" "$fuzz_build/logs"
    for target in "$fuzz_build"/fuzz/fuzz_*; do
        [ -x "$target" ] || continue
        name=$(basename "$target")
        name=${name#fuzz_}
        log="$fuzz_build/logs/$name.log"
        corpora=("$fuzz_build/corpus/$name")
        mkdir -p "${corpora[0]}"
        [ -d "$here/fuzz/corpus/$name" ] && corpora+=("$here/fuzz/corpus/$name")
        if "$target" -max_total_time="$seconds" -timeout=30 -print_final_stats=1 \
            -artifact_prefix="$fuzz_build/artifacts/$name-" "${corpora[@]}" >"$log" 2>&1; then
            printf '%-18s %s\n' "$name" "$(grep -E '^#[0-9]+[[:space:]]+DONE' "$log" | tail -1)"
        else
            printf '%-18s FAILED, see %s\n' "$name" "$log"
            grep -E 'ERROR|invariant broken|SUMMARY' "$log" | head -5
            failed+=("$name")
        fi
    done
    [ ${#failed[@]} -eq 0 ] || { echo "fuzz targets failed: ${failed[*]}" >&2; return 1; }
}

# Every build made here treats warnings as errors (the README's warnings policy); a plain CMake
# build of the sources does not.
configure_and_build() {
    cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUORVEX_WERROR=ON >/dev/null
    cmake --build "$build" -j "$(nproc)" "$@"
}

# Builds what the package holds and writes build/quorvex_<version>_<arch>.deb.
build_package() {
    configure_and_build --target quorvex quorvex-run quorvex-emu quorvex_package_files
    (cd "$build" && rm -f quorvex_*.deb && cpack -G DEB >/dev/null)
    package_file=$(ls "$build"/quorvex_*.deb)
    echo "Package: $package_file"
}

# Cross-builds the standard-C++ core and its tests for Windows on one processor (x86_64 or
# i686) into $2 and, unless $3 is "build-only", runs every test program under Wine, headless, in
# a prefix of its own. Every step is checked by hand: the caller tests the result with ||,
# which switches set -e off inside the function.
windows_test() {
    local arch=$1 wbuild=$2 mode=${3:-run}
    cmake -S "$here" -B "$wbuild" -G Ninja -DCMAKE_BUILD_TYPE=Release \
          -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-w64.cmake" -DQUORVEX_MINGW_ARCH="$arch" \
          -DQUORVEX_WERROR=ON >/dev/null ||
        { echo "windows-test ($arch): configure failed" >&2; return 1; }
    cmake --build "$wbuild" -j "$(nproc)" ||
        { echo "windows-test ($arch): build failed" >&2; return 1; }
    [ "$mode" = build-only ] && return 0
    (
        # Quiet, without the Mono and Gecko installers; a 32-bit prefix for 32-bit programs.
        export WINEDEBUG=-all WINEPREFIX="$wbuild/wine-prefix" WINEDLLOVERRIDES="mscoree,mshtml="
        [ "$arch" = i686 ] && export WINEARCH=win32
        unset DISPLAY WAYLAND_DISPLAY
        [ -f "$WINEPREFIX/system.reg" ] || wineboot --init >/dev/null 2>&1
        cd "$wbuild" || exit 1
        status=0
        # A run that finds no test programs is a failure too, not an empty success.
        ctest --output-on-failure --no-tests=error -j "$(nproc)" || status=$?
        wineserver --wait # the prefix's server ends with the last program
        exit "$status"
    ) || { echo "windows-test ($arch): the tests under Wine failed" >&2; return 1; }
}

# What cross-building Qt and the package needs: the compilers, Qt's host tools and the
# translations, apt-get source (dpkg-dev), the installer maker, the icon tools.
windows_package_packages=(cmake ninja-build ccache googletest g++-mingw-w64-x86-64-posix
                          qt6-base-dev-tools qt6-translations-l10n dpkg-dev
                          debian-archive-keyring perl python3 nsis zip librsvg2-bin icoutils)
# What checking it under Wine needs besides the Linux quorvex-emu and quorvex-run.
windows_check_packages=(wine wine64 xvfb xauth fonts-wine xdotool netpbm unzip locales)

# The package; a Qt source that cannot be fetched (the mirror's fault, status 75) skips the
# Windows package and its checks with one loud line, any other failure fails.
windows_package() {
    local status=0
    "$here/tools/windows-package.sh" || status=$?
    if [ "$status" -eq 75 ]; then
        echo "*** windows-package: SKIPPED, Debian's qt6-base source could not be fetched" \
             "(mirror or network), so no Windows package was built or checked ***" >&2
    fi
    return "$status"
}

# The C++ sources under version control and the new ones not yet added (build trees and copies,
# which git ignores, are not).
cpp_sources() {
    git -C "$here" ls-files -z --cached --others --exclude-standard '*.cpp' '*.h'
}

case "${1:-}" in
    start)
        install_packages
        configure_and_build --target quorvex quorvex-emu
        work="$here/run"
        mkdir -p "$work"
        if [ ! -f "$work/fpinit.ini" ]; then
            printf '[LogFile]\r\nLog=1\r\nLogName=Brelox.log\r\n[Communication]\r\nPort=EMU1\r\nSpeed=19200\r\n' > "$work/fpinit.ini"
        fi
        cd "$work"
        exec "$build/app/quorvex"
        ;;
    test)
        packages+=("${package_tools[@]}")
        install_packages "${test_packages[@]}"
        ensure_comma_locale
        configure_and_build
        cd "$build"
        QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)"
        build_package
        "$here/tools/check-package.sh" "$package_file"
        ;;
    package)
        packages+=("${package_tools[@]}")
        install_packages
        build_package
        ;;
    windows-test)
        # 32-bit Wine comes from Debian's i386 architecture.
        if ! dpkg --print-foreign-architectures | grep -qx i386; then
            sudo=""
            [ "$(id -u)" -ne 0 ] && sudo="sudo"
            $sudo dpkg --add-architecture i386
        fi
        packages=(cmake ninja-build ccache googletest g++-mingw-w64-x86-64-posix
                  g++-mingw-w64-i686-posix wine64 wine)
        install_packages
        # 32-bit Wine's libraries must match the amd64 ones version for version, so a missing
        # i386 index (often Debian's security suite in mid-sync) makes it uninstallable; the
        # i686 programs are then built but not run.
        i686_mode=run
        if ! install_packages wine32:i386; then
            i686_mode=build-only
        fi
        status=0
        windows_test x86_64 "${QUORVEX_WINDOWS_BUILD_DIR:-$here/build-windows}" || status=1
        windows_test i686 "${QUORVEX_WINDOWS_I686_BUILD_DIR:-$here/build-windows-i686}" \
            "$i686_mode" || status=1
        if [ "$i686_mode" = build-only ]; then
            echo "*** windows-test: the i686 run under Wine was SKIPPED:" \
                 "wine32:i386 could not be installed (see the apt messages above) ***" >&2
        fi
        exit "$status"
        ;;
    windows-package)
        packages=("${windows_package_packages[@]}")
        install_packages
        status=0
        windows_package || status=$?
        [ "$status" -eq 75 ] && exit 0
        exit "$status"
        ;;
    windows-check)
        install_packages "${windows_package_packages[@]}" "${windows_check_packages[@]}"
        # Wine then runs as a Russian Windows.
        ensure_comma_locale
        status=0
        windows_package || status=$?
        [ "$status" -eq 75 ] && exit 0
        [ "$status" -eq 0 ] || exit "$status"
        # The Linux programs the Windows ones are compared with.
        configure_and_build --target quorvex-emu quorvex-run
        exec "$here/tools/windows-check.sh"
        ;;
    format)
        packages=(clang-format)
        install_packages
        cd "$here" && cpp_sources | xargs -0 clang-format -i
        ;;
    format-check)
        packages=(clang-format)
        install_packages
        cd "$here"
        drifted=$(cpp_sources | xargs -0 -n 50 sh -c \
            'for f; do clang-format --dry-run -Werror "$f" >/dev/null 2>&1 || echo "$f"; done' sh)
        if [ -n "$drifted" ]; then
            echo "These files drift from .clang-format (tools/dev.sh format mends them):" >&2
            echo "$drifted" >&2
            exit 1
        fi
        echo "format-check: every C++ source follows .clang-format"
        ;;
    fuzz)
        install_packages "${fuzz_packages[@]}"
        build_fuzz
        run_fuzzers "${2:-60}"
        ;;
    fuzz-ci)
        install_packages "${fuzz_packages[@]}"
        build_fuzz quorvex_std_tests
        (cd "$fuzz_build" && ctest -L std --output-on-failure -j "$(nproc)")
        run_fuzzers "${QUORVEX_FUZZ_SECONDS:-25}"
        ;;
    sanitize)
        install_packages
        fuzz_and_sanitize_cache
        flags="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
        # GCC 12 at -O1 with the sanitizers' instrumentation warns that std::function members
        # inside std::regex's compiler "may be used uninitialized": a false positive in the
        # standard library's code, silenced for this build only.
        flags="$flags -Wno-maybe-uninitialized"
        cmake -S "$here" -B "$sanitize_build" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
            -DCMAKE_CXX_FLAGS="$flags -O1" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
            -DQUORVEX_BUILD_BENCHMARKS=OFF -DQUORVEX_WERROR=ON >/dev/null
        cmake --build "$sanitize_build" -j "$(nproc)"
        cd "$sanitize_build"
        # Any report ends its test with a failure; leaks are reported when a test process exits.
        ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1" \
        UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
        LSAN_OPTIONS="suppressions=$here/tools/lsan.supp:print_suppressions=0" \
            QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)"
        ;;
    *)
        echo "usage: tools/dev.sh start|test|package|windows-test|windows-package|windows-check|" \
             "fuzz [SECONDS]|fuzz-ci|sanitize|format|format-check" >&2
        exit 2
        ;;
esac
