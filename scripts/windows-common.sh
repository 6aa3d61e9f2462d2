# Shared by the Windows scripts in this folder. Source it after common.sh.

# MinGW-w64 with posix threads, Wine to run the results, and what the
# cross-built image libraries need (zlib for Windows, the source-package
# tools, and a tar for Debian's .orig tarballs).
WINDOWS_PACKAGES=(
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    libz-mingw-w64-dev
    wine wine64
    dpkg-dev xz-utils
    xvfb xauth
)

VAMRHELPER_WINDOWS_BUILD="$VAMRHELPER_BUILD/windows"
VAMRHELPER_WINDOWS_DEPS="$VAMRHELPER_BUILD/windows-deps"
VAMRHELPER_WINDOWS_PREFIX="$VAMRHELPER_WINDOWS_DEPS/prefix"
VAMRHELPER_TOOLCHAIN="$VAMRHELPER_REPO/cmake/MinGW-w64-x86_64.cmake"

# Prints the seconds since the given start (from `date +%s`) with a label.
report_stage_time() {
    local label="$1" start="$2"
    echo "== $label took $(( $(date +%s) - start )) s"
}
