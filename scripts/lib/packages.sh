# Installs the Debian packages the builds and tests need, if any is missing.
# Sourced by the scripts; a second run costs only the dpkg checks.

REQUIRED_PACKAGES=(
    cmake g++ make python3 libgtest-dev
    g++-mingw-w64-i686 binutils-mingw-w64-i686
    wine wine32:i386 wine64
    xvfb xauth xdotool x11-apps imagemagick
    mscompress
)

ensure_packages() {
    local missing=() pkg
    for pkg in "${REQUIRED_PACKAGES[@]}"; do
        dpkg -s "$pkg" >/dev/null 2>&1 || missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        $sudo dpkg --add-architecture i386
    fi
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" </dev/null
}
