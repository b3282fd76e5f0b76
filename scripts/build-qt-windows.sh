#!/usr/bin/env bash
# Builds Qt 6 for Windows x86-64 from Debian's own qt6-base source package with Debian's MinGW-w64,
# so that the `mingw-gui` preset can build VWX.exe. Debian ships no Qt for MinGW, but its qt6-base
# source (the same version as the host Qt, whose moc, rcc and uic the cross build uses) cross-builds.
#
# Only what VWX and its window tests need: Core, Gui, Widgets, Network (Schannel for TLS) and Test,
# shared, release, bundled zlib/PCRE2/libpng/HarfBuzz. Left out: OpenGL, D-Bus, ICU, SQL, print
# support, Concurrent, Xml, tests and examples; tablet events too, because Debian's source lacks
# src/3rdparty/wintab. Direct2D stays on: without it the Windows platform plugin of 6.4 fails to link.
#
# Installs into ~/.cache/vaultwing/qt6-mingw-<version> (VAULTWING_QT_CACHE overrides
# ~/.cache/vaultwing) and does nothing when that folder already holds a build of the same version
# made with the same options (the stamp file .vaultwing-build). Source and build tree live in
# <cache>/qt6-mingw-<version>-work and are removed after a successful install unless --keep-work.
#
# --prebuilt FOLDER (or VAULTWING_QT_PREBUILT) names a folder that may hold this build already made,
# as qt6-mingw-<version>.tar.xz with a SHA256SUMS: it is unpacked in seconds when its checksum and
# its stamp match exactly what this script would build, and ignored otherwise.
#
# Needs root (or sudo) once: adds a deb-src entry beside the Debian deb one when there is none, so
# that `apt-get source` works. scripts/install-deps.sh --windows installs the packages it needs.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

keep_work=false
prebuilt=${VAULTWING_QT_PREBUILT:-}
while [ $# -gt 0 ]; do
    case "$1" in
        --keep-work) keep_work=true ;;
        --prebuilt) [ $# -ge 2 ] || { echo "usage: $0 [--keep-work] [--prebuilt FOLDER]" >&2; exit 2; }
                    prebuilt=$2; shift ;;
        *) echo "usage: $0 [--keep-work] [--prebuilt FOLDER]" >&2; exit 2 ;;
    esac
    shift
done

# The host tools must be the very same Qt version as the cross build.
package_version=$(dpkg-query -W -f='${Version}' qt6-base-dev-tools 2>/dev/null || true)
if [ -z "$package_version" ]; then
    echo "qt6-base-dev-tools is not installed (scripts/install-deps.sh --windows)" >&2
    exit 1
fi
version=${package_version%%+*}   # 6.4.2+dfsg-10 -> 6.4.2
version=${version%%-*}

cache=${VAULTWING_QT_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/vaultwing}
prefix=$cache/qt6-mingw-$version
work=$cache/qt6-mingw-$version-work
stamp=$prefix/.vaultwing-build

configure_options=(
    -prefix "$prefix"
    -xplatform win32-g++ -qt-host-path /usr
    -release -shared -nomake tests -nomake examples
    -no-opengl -no-dbus -no-icu -no-feature-sql -no-feature-printsupport
    -no-feature-concurrent -no-feature-xml -no-feature-tabletevent
    -schannel -no-openssl
    -qt-zlib -qt-pcre -qt-libpng -qt-harfbuzz -no-libjpeg
    --
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake"
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
)
# The stamp names the source package and the options, not where this checkout lives.
stamp_text="qt6-base $package_version
${configure_options[*]//$root/<checkout>}"

if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$stamp_text" ]; then
    echo "Qt $version for MinGW is up to date in $prefix"
    exit 0
fi

# A prebuilt copy of this very folder, packed as qt6-mingw-<version>.tar.xz beside a SHA256SUMS
# that names it, is unpacked instead of building when its checksum holds and its stamp is exactly
# the one this script would write (same source package, same options, same prefix).
unpack_prebuilt() {
    local folder=$1 archive=$1/qt6-mingw-$version.tar.xz sums=$1/SHA256SUMS unpacked
    [ -f "$archive" ] && [ -f "$sums" ] || return 1
    if ! (cd "$folder" && grep -E "[[:space:]]\*?qt6-mingw-$version\.tar\.xz\$" SHA256SUMS | sha256sum --check --status --strict); then
        echo "Prebuilt Qt in $folder ignored: its checksum does not match"
        return 1
    fi
    if [ "$(tar -xJOf "$archive" "qt6-mingw-$version/.vaultwing-build" 2>/dev/null)" != "$stamp_text" ]; then
        echo "Prebuilt Qt in $folder ignored: it was built with other options or another prefix"
        return 1
    fi
    echo "== Unpacking the prebuilt Qt $version for MinGW from $archive"
    mkdir -p "$cache"
    unpacked=$(mktemp -d "$cache/.unpack-XXXXXX")
    if ! tar -xJf "$archive" -C "$unpacked" || [ ! -f "$unpacked/qt6-mingw-$version/.vaultwing-build" ]; then
        rm -rf "$unpacked"
        echo "Prebuilt Qt in $folder ignored: it did not unpack" >&2
        return 1
    fi
    rm -rf "$prefix"
    mv "$unpacked/qt6-mingw-$version" "$prefix" # the stamp arrives with the whole folder, never before
    rmdir "$unpacked"
}
if [ -n "$prebuilt" ] && unpack_prebuilt "$prebuilt"; then
    echo "Qt $version for MinGW unpacked into $prefix"
    exit 0
fi

as_root() {
    if [ "$(id -u)" -eq 0 ]; then
        "$@"
    elif command -v sudo >/dev/null 2>&1; then
        sudo "$@"
    else
        echo "Needs root for: $* (run as root or install sudo)" >&2
        exit 1
    fi
}

# apt-get source needs a deb-src entry; add one beside each Debian deb entry when none is enabled.
# (grep reads all of apt's output: an early exit would fail the pipeline through SIGPIPE.)
# shellcheck disable=SC2016 # $(CREATED_BY) is apt's own field syntax, not the shell's
if ! apt-get indextargets --format '$(CREATED_BY)' | grep -x Sources >/dev/null; then
    echo "== Adding deb-src entries beside the Debian deb ones"
    for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; do
        if [ -f "$file" ] && grep -q 'debian\.org/debian' "$file"; then
            case "$file" in
                *.sources) as_root sed -i -E 's/^Types:[[:space:]]*deb[[:space:]]*$/Types: deb deb-src/' "$file" ;;
                *) as_root sed -i -E 's|^deb[[:space:]]+(.*debian\.org/debian.*)$|&\ndeb-src \1|' "$file" ;;
            esac
        fi
    done
    as_root apt-get update -qq
fi

rm -rf "$work"
mkdir -p "$work/build"
start=$SECONDS
echo "== Fetching qt6-base $package_version source into $work"
(cd "$work" && apt-get source -qq "qt6-base=$package_version")
source_dir=$(find "$work" -maxdepth 1 -type d -name "qt6-base-*" | head -n1)
[ -n "$source_dir" ] || { echo "apt-get source left no qt6-base folder in $work" >&2; exit 1; }

echo "== Configuring (log: $work/build/configure.log)"
cd "$work/build"
if ! "$source_dir/configure" "${configure_options[@]}" >configure.log 2>&1; then
    tail -n 40 configure.log >&2
    exit 1
fi
configured=$SECONDS

echo "== Building (niced)"
nice -n 10 cmake --build . --parallel "$(nproc)"
built=$SECONDS
rm -rf "$prefix"
cmake --install . >/dev/null
printf '%s\n' "$stamp_text" >"$stamp"

echo "Qt $version for MinGW installed in $prefix: configure $((configured - start)) s," \
    "build $((built - configured)) s, total $((SECONDS - start)) s"
du -sh "$source_dir" "$work/build" "$prefix" 2>/dev/null || true
if ! $keep_work; then
    rm -rf "$work"
fi
