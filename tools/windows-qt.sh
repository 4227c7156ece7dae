#!/usr/bin/env bash
# Qt 6.4.2 for Windows x86-64, cross-built with mingw-w64 from Debian's own qt6-base source, with
# only what Quorvex needs (Core, Gui, Widgets, the Windows platform and style plugins). The result
# is cached in a folder named by a hash of the recipe below, so a changed recipe builds anew and
# an unchanged one takes seconds:
#   ${QUORVEX_CACHE_DIR:-~/.cache/quorvex}/qt-6.4.2-x86_64-w64-mingw32-<hash>
#
#   tools/windows-qt.sh            build when needed; the last line of output is the folder
#   tools/windows-qt.sh --prefix   only print the folder the recipe builds into
#
# The source comes from the system's Debian mirror, or from $QUORVEX_DEBIAN_MIRROR when set.
# Exit status: 0 ready; 75 the source could not be fetched (the mirror's fault: callers skip the
# Windows steps with one line); anything else is a fault of ours and fails.
# The packages it needs are installed by tools/dev.sh (windows_packages) before it runs.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
qt_version=6.4.2
triple=x86_64-w64-mingw32
toolchain="$here/cmake/mingw-w64-target.cmake"
cache="${QUORVEX_CACHE_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/quorvex}"
jobs="${QUORVEX_QT_JOBS:-$(nproc)}"
source_unavailable=75

# The configure recipe. Host tools (moc, rcc, uic) come from qt6-base-dev-tools; Debian keeps
# Qt's CMake files under the multiarch folder, not the default guess /usr/lib/cmake. Debian's
# +dfsg tarball lacks the wintab headers, hence no tablet events. Direct2D stays on with its 1.1
# interface off: without direct2d the DirectWrite font database does not link into qwindows.dll.
# OpenGL off takes dynamic OpenGL along, which qwindowswindow.cpp otherwise still compiles for.
recipe=(
    -DCMAKE_BUILD_TYPE=Release
    -DBUILD_SHARED_LIBS=ON
    -DQT_HOST_PATH=/usr
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
    -DQT_QMAKE_TARGET_MKSPEC=win32-g++
    -DQT_BUILD_EXAMPLES=OFF
    -DQT_BUILD_TESTS=OFF
    -DFEATURE_gui=ON
    -DFEATURE_widgets=ON
    -DFEATURE_png=ON
    -DFEATURE_system_zlib=OFF
    -DFEATURE_system_png=OFF
    -DFEATURE_system_pcre2=OFF
    -DFEATURE_system_harfbuzz=OFF
    -DFEATURE_opengl=OFF
    -DFEATURE_dynamicgl=OFF
    -DFEATURE_vulkan=OFF
    -DFEATURE_dbus=OFF
    -DFEATURE_sql=OFF
    -DFEATURE_network=OFF
    -DFEATURE_icu=OFF
    -DFEATURE_testlib=OFF
    -DFEATURE_printsupport=OFF
    -DFEATURE_concurrent=OFF
    -DFEATURE_xml=OFF
    -DFEATURE_tabletevent=OFF
    -DFEATURE_direct2d=ON
    -DFEATURE_direct2d1_1=OFF
)

recipe_hash() {
    { echo "qt6-base $qt_version $triple"; printf '%s\n' "${recipe[@]}"; cat "$toolchain"; } |
        sha256sum | cut -c1-12
}
prefix="$cache/qt-$qt_version-$triple-$(recipe_hash)"

if [ "${1:-}" = --prefix ]; then
    echo "$prefix"
    exit 0
fi
if [ -f "$prefix/.complete" ]; then
    echo "Qt for Windows: cached in"
    echo "$prefix"
    exit 0
fi

# Debian's source package of the running suite, through an apt configuration of our own (a
# deb-src entry, its own package lists), so the system's apt setup is left as it is.
fetch_source() {
    local dir=$1 suite uris apt_dir
    suite=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")
    uris=$(grep -rhoE '^URIs:[[:space:]]*\S*debian/?$' /etc/apt/sources.list.d/*.sources 2>/dev/null |
               head -1 | awk '{print $2}')
    [ -n "$uris" ] || uris=http://deb.debian.org/debian
    uris=${QUORVEX_DEBIAN_MIRROR:-$uris}
    apt_dir="$dir/apt"
    mkdir -p "$apt_dir/lists/partial" "$apt_dir/archives/partial"
    cat >"$apt_dir/source.sources" <<EOF
Types: deb-src
URIs: $uris
Suites: $suite
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
    local apt_opts=(-o "Dir::Etc::SourceList=$apt_dir/source.sources" -o "Dir::Etc::SourceParts=-"
                    -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir"
                    -o "APT::Update::Error-Mode=any" -o "Debug::NoLocking=1"
                    -o "APT::Sandbox::User=root" -o "Acquire::Retries=2"
                    -o "Acquire::http::Timeout=60")
    apt-get "${apt_opts[@]}" -qq update >"$dir/fetch.log" 2>&1 || return $source_unavailable
    (cd "$dir" && apt-get "${apt_opts[@]}" -qq --download-only source "qt6-base=$qt_version+dfsg-10" ||
         apt-get "${apt_opts[@]}" -qq --download-only source qt6-base) >>"$dir/fetch.log" 2>&1 ||
        return $source_unavailable
}

work="$cache/qt-build-$(recipe_hash)"
mkdir -p "$work"
# One build of a recipe at a time; a second caller waits and then finds it cached.
exec 9>"$work/lock"
flock 9
if [ -f "$prefix/.complete" ]; then
    echo "Qt for Windows: cached in"
    echo "$prefix"
    exit 0
fi
if ! ls "$work"/qt6-base_*.dsc >/dev/null 2>&1; then
    echo "Qt for Windows: fetching Debian's qt6-base source"
    status=0
    fetch_source "$work" || status=$?
    if [ "$status" -ne 0 ]; then
        rm -f "$work"/qt6-base_*
        echo "Qt for Windows: Debian's qt6-base source could not be fetched from the mirror" \
             "(see $work/fetch.log)" >&2
        exit $source_unavailable
    fi
fi
rm -rf "$work/src" "$work/build"
# apt-get has checked the files against the suite's signed index; the .dsc's own signature
# would need Debian's developer keyring.
dpkg-source --no-check -x "$(ls "$work"/qt6-base_*.dsc | head -1)" "$work/src" \
    >"$work/unpack.log" 2>&1 || { cat "$work/unpack.log" >&2; echo "Qt for Windows: unpacking failed" >&2; exit 1; }

echo "Qt for Windows: configuring (log in $work/configure.log)"
if ! cmake -S "$work/src" -B "$work/build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DCMAKE_INSTALL_PREFIX="$prefix" "${recipe[@]}" >"$work/configure.log" 2>&1; then
    tail -40 "$work/configure.log" >&2
    echo "Qt for Windows: configure failed, see $work/configure.log" >&2
    exit 1
fi
echo "Qt for Windows: building with $jobs jobs (about half an hour on two processors)"
start=$(date +%s)
if ! cmake --build "$work/build" -j "$jobs" >"$work/build.log" 2>&1; then
    grep -B2 -A12 -m3 -E 'FAILED|error:' "$work/build.log" >&2 || tail -40 "$work/build.log" >&2
    echo "Qt for Windows: build failed, see $work/build.log" >&2
    exit 1
fi
rm -rf "$prefix"
cmake --install "$work/build" >"$work/install.log" 2>&1 ||
    { tail -20 "$work/install.log" >&2; echo "Qt for Windows: install failed" >&2; exit 1; }
echo "built in $(($(date +%s) - start)) s from qt6-base $qt_version" >"$prefix/.complete"
# The build tree is several gigabytes; the downloaded source stays for a rebuild.
rm -rf "$work/src" "$work/build"
echo "Qt for Windows: built in $(($(date +%s) - start)) s, installed in"
echo "$prefix"
