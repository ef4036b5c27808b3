# Shared by the scripts: steps, package installs.

step() { printf '\n==> %s\n' "$*"; }

# Installs the Debian packages that are missing (as root), or says exactly
# what to install.
require_packages() {
    local missing=()
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" -ne 0 ]; then
        echo "Missing Debian packages. Install them with:" >&2
        echo "  sudo apt-get install ${missing[*]}" >&2
        exit 1
    fi
    step "installing ${missing[*]}"
    # Wine runs the 32-bit program from packages of the i386 architecture.
    if [[ " ${missing[*]}" == *":i386"* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
        dpkg --add-architecture i386
    fi
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# Packages the build itself needs.
BUILD_PACKAGES=(cmake ninja-build g++ clang libclang-rt-14-dev googletest curl
    g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix wine wine64 wine32:i386 xvfb xauth
    qt6-base-dev qt6-webengine-dev libgl-dev libxtst-dev libx11-dev libasound2-dev
    xdotool xclip xinput imagemagick python3 fonts-wqy-zenhei libssl-dev openssl libcurl4-openssl-dev
    locales)

configure_native() {
    cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
}

configure_windows() { # ARCH (x86_64 | i686), DIR, extra cmake arguments
    local arch=$1 dir=$2
    shift 2
    cmake -S . -B "$dir" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-$arch.cmake" "$@" >/dev/null
}
