# Shared by the scripts in this folder. Source it; do not run it.

VAMRHELPER_REPO="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
VAMRHELPER_BUILD="${VAMRHELPER_BUILD:-$VAMRHELPER_REPO/build}"

# Runs a command as root, through sudo when we are not root already.
as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# Installs the Debian packages given that are not installed yet.
ensure_packages() {
    local missing=()
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# Everything the Linux build, its tests and the demo need.
LINUX_PACKAGES=(
    cmake ninja-build g++ pkg-config
    juce-modules-source libgtest-dev libcpp-httplib-dev nlohmann-json3-dev
    libcurl4-openssl-dev libssl-dev libfreetype-dev libfontconfig1-dev
    libx11-dev libxrandr-dev libxinerama-dev libxcursor-dev libxext-dev
    libpng-dev libjpeg-dev zlib1g-dev
    libarchive-tools xvfb xauth imagemagick x11-utils fonts-dejavu-core
    xdotool curl xdg-utils libglib2.0-bin
)

# The fuzz targets (scripts/fuzz): clang with its libFuzzer runtime.
FUZZ_PACKAGES=(clang libclang-rt-14-dev)

# Configures (once) and builds the Linux tree.
build_linux() {
    local dir="$VAMRHELPER_BUILD/linux"
    if [ ! -f "$dir/build.ninja" ]; then
        cmake -S "$VAMRHELPER_REPO" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE="${VAMRHELPER_BUILD_TYPE:-RelWithDebInfo}"
    fi
    cmake --build "$dir" "$@"
}
