# Debian packages the project needs, and a helper that installs the missing ones.
# Sourced by the other scripts.

TARVEK_PACKAGES=(
  cmake g++ ninja-build ccache pkg-config
  qt6-base-dev qt6-serialport-dev qt6-qpa-plugins
  libgtest-dev libgmock-dev
  fonts-liberation fonts-dejavu-core
  xvfb poppler-utils
  python3
)

# What script/fuzz (and the fuzz step of script/test) adds: clang 14 and its runtime,
# which holds libFuzzer and the sanitizers' libraries.
TARVEK_FUZZ_PACKAGES=(clang-14 libclang-rt-14-dev)

# What script/run adds when there is no display: an X server with a VNC server in it that
# can listen on the loopback interface only, and ss to see who holds the VNC port.
TARVEK_VNC_PACKAGES=(tigervnc-standalone-server iproute2)

tarvek_install_missing() {
  local missing=()
  local package
  for package in "${TARVEK_PACKAGES[@]}" "$@"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$package")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0

  echo "Installing missing packages: ${missing[*]}"
  local sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null; then
      echo "Missing packages (${missing[*]}) and no sudo to install them; install them as root." >&2
      return 1
    fi
    sudo=(sudo)
  fi
  # Only refresh the package lists when an install fails without it.
  if ! "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"; then
    "${sudo[@]}" apt-get update -q
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
  fi
}

tarvek_launcher_args() {
  if command -v ccache >/dev/null; then
    echo "-DCMAKE_CXX_COMPILER_LAUNCHER=ccache"
  fi
}
