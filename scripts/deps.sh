# Sourced by the other scripts: installs the Debian packages that are missing.
# Packages already installed are skipped; sudo is used only when not root.

# What building and running Vantrel needs (scripts/run).
VANTREL_RUN_PACKAGES=(cmake ninja-build g++ pkg-config
  qt6-base-dev libhidapi-dev portaudio19-dev fonts-ipafont-gothic
  gcc-mingw-w64-i686-win32)

# What the tests add (scripts/test): GoogleTest and the tools of the test stages (the virtual
# machine, the loggers, the window systems, the package and its checks).
VANTREL_TEST_PACKAGES=(clang-format libgtest-dev libxcb1-dev libgmock-dev locales python3
  qemu-system-x86 linux-image-amd64 busybox-static cpio xz-utils kmod
  cwdaemon tlf tmux xlog cqrlog
  xvfb xdotool weston qt6-wayland
  dbus-daemon at-spi2-core python3-pyatspi gir1.2-atspi-2.0 libatk-adaptor libgail-common
  ccache dpkg-dev lintian desktop-file-utils appstream)

VANTREL_APT=(apt-get -o DPkg::Lock::Timeout=600)

# vantrel_install_deps PACKAGE...: the run set and PACKAGE...
vantrel_install_deps() {
  local missing=() p
  for p in "${VANTREL_RUN_PACKAGES[@]}" "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=()
  [ "$(id -u)" -ne 0 ] && sudo=(sudo)
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  "${sudo[@]}" "${VANTREL_APT[@]}" update -q
  "${sudo[@]}" "${VANTREL_APT[@]}" install -y -q --no-install-recommends "${missing[@]}"
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
