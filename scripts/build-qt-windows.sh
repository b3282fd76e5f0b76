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
# Needs root (or sudo) once: adds a deb-src entry beside the Debian deb one when there is none, so
# that `apt-get source` works. scripts/install-deps.sh --windows installs the packages it needs.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

keep_work=false
for arg in "$@"; do
    case "$arg" in
        --keep-work) keep_work=true ;;
        *) echo "usage: $0 [--keep-work]" >&2; exit 2 ;;
    esac
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
