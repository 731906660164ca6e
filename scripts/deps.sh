# Sourced by the other scripts: installs the Debian packages the build needs.
# Packages already installed are skipped; sudo is used only when not root.

VANTREL_PACKAGES=(cmake ninja-build g++ pkg-config clang-format
  qt6-base-dev libxcb1-dev libhidapi-dev portaudio19-dev
  libgtest-dev libgmock-dev fonts-ipafont-gothic locales
  qemu-system-x86 linux-image-amd64 busybox-static cpio xz-utils kmod
  python3 cwdaemon tlf tmux
  xlog cqrlog xvfb dbus-daemon at-spi2-core python3-pyatspi gir1.2-atspi-2.0 libatk-adaptor
  libgail-common)

vantrel_install_deps() {
  local missing=() p
  for p in "${VANTREL_PACKAGES[@]}" "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=()
  [ "$(id -u)" -ne 0 ] && sudo=(sudo)
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  "${sudo[@]}" apt-get update -q
  "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
}
