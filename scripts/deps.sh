# Sourced by the other scripts: installs the Debian packages the build needs.
# Packages already installed are skipped; sudo is used only when not root.

VANTREL_PACKAGES=(cmake ninja-build g++ pkg-config clang-format
  qt6-base-dev libxcb1-dev libhidapi-dev portaudio19-dev
  libgtest-dev libgmock-dev fonts-ipafont-gothic locales
  qemu-system-x86 linux-image-amd64 busybox-static cpio xz-utils kmod
  python3 cwdaemon tlf tmux)

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
  "${sudo[@]}" apt-get -o DPkg::Lock::Timeout=600 update -q
  "${sudo[@]}" apt-get -o DPkg::Lock::Timeout=600 install -y -q --no-install-recommends \
    "${missing[@]}"
}

# Wine with its 32-bit part and the i686 cross compiler, for the Wine stage only: the i386
# architecture is added to the machine here and nowhere else.
vantrel_install_wine() {
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    echo "Adding the i386 architecture for Wine's 32-bit part"
    "${sudo[@]}" dpkg --add-architecture i386
  fi
  vantrel_install_deps wine wine32:i386 gcc-mingw-w64-i686-win32
}
