#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Vaultwing need,
# and only those that are missing. Works as root or as a user with sudo.
#   --windows  also what the Windows build, its installer and its tests under Wine need
#              (scripts/test-windows.sh), and what scripts/build-qt-windows.sh needs to build Qt
#              for Windows from Debian's qt6-base source (it adds the deb-src entry itself)
#   --package  also what the Debian package and its install check need (make package,
#              scripts/check-install.sh)
set -euo pipefail

packages=(
    cmake ninja-build g++ make pkgconf
    libgtest-dev libgmock-dev libbenchmark-dev libcrypto++-dev   # tests and benchmarks
    qt6-base-dev libgl-dev                                      # the desktop program
    xvfb xauth                                                  # headless window tests and screenshots
    clang libclang-rt-14-dev                                    # fuzzing: libFuzzer, ASan, UBSan (scripts/fuzz.sh)
    clang-format clang-tidy shellcheck                          # the static checks (scripts/lint.sh)
)
windows_packages=(
    g++-mingw-w64-x86-64 googletest                             # the Windows cross build and its GoogleTest
    wine wine64                                                 # running it
    dpkg-dev xz-utils perl qt6-base-dev-tools                   # Qt for MinGW: apt-get source, the host moc/rcc/uic
    nsis                                                        # the installer
    xdotool openbox x11-apps netpbm                             # driving VWX.exe on Xvfb, screen pictures
)
package_packages=(
    dpkg-dev file lintian                                       # cpack's dependency scan, the package check
    xdotool                                                     # the install check drives VWX's first window
)
for arg in "$@"; do
    case "$arg" in
        --windows) packages+=("${windows_packages[@]}") ;;
        --package) packages+=("${package_packages[@]}") ;;
        *) echo "usage: $0 [--windows] [--package]" >&2; exit 2 ;;
    esac
done

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing packages: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
    sudo=()
elif command -v sudo >/dev/null 2>&1; then
    sudo=(sudo)
else
    echo "Missing packages (${missing[*]}) and no sudo to install them; install them as root." >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
