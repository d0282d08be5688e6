# Shared set-up for the project's commands: makes sure the Debian packages the
# build needs are present, installing them when run as root.

# Packages for building and running the program.
# man2html-base makes the HTML manual from the manual page.
app_packages=(cmake ninja-build g++ pkg-config qt6-base-dev libsqlite3-dev nettle-dev libgl-dev fonts-dejavu-core fonts-liberation
              man2html-base)
# Extra packages for the test suite.
test_packages=(libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth x11-utils desktop-file-utils appstream shared-mime-info
               x11-apps strace python3 dpkg-dev file poppler-utils clang-format lintian man-db
               locales)

# Extra packages for the fuzz targets.
fuzz_packages=(clang-14 libclang-rt-14-dev)

ensure_packages() {
    local missing=() p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" -eq 0 ]; then
        echo "Installing missing packages: ${missing[*]}" >&2
        export DEBIAN_FRONTEND=noninteractive
        apt-get update
        apt-get install -y --no-install-recommends "${missing[@]}"
    else
        echo "Missing Debian packages. Install them with:" >&2
        echo "  sudo apt-get update && sudo apt-get install -y --no-install-recommends ${missing[*]}" >&2
        exit 1
    fi
}

# configure_and_build <build-dir> <cmake args...>
configure_and_build() {
    local dir=$1
    shift
    cmake -S . -B "$dir" -G Ninja "$@"
    cmake --build "$dir"
}
