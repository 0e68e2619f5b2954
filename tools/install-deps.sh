#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need, when any is missing;
# with --windows also what the Windows build needs: the cross compiler, Wine, the tools that build Qt from
# its Debian source package (dpkg-dev, the host Qt tools), NSIS for the installer, ImageMagick for screenshots
# and icoutils to read the programs' resources; with --bench the peer program the start-up benchmark
# measures ours against.
set -euo pipefail
packages=(build-essential cmake ninja-build ccache qt6-base-dev libgtest-dev libgmock-dev libbenchmark-dev
  libcli11-dev libyaml-cpp-dev help2man desktop-file-utils appstream shared-mime-info xvfb xauth openbox x11-utils xdotool
  fonts-dejavu-core fonts-liberation2 poppler-utils clang libclang-rt-14-dev qt6-translations-l10n
  python3-pyatspi python3-dbus at-spi2-core dbus-daemon)
for option in "$@"; do
  case "$option" in
    # ./test also builds for Windows and runs that build under Wine.
    --windows) packages+=(g++-mingw-w64-x86-64-posix wine64 fonts-wine nsis dpkg-dev qt6-base-dev-tools imagemagick icoutils) ;;
    # bench/startup.sh starts a peer program beside ours; nothing else uses it.
    --bench) packages+=(qdmr) ;;
    *) echo "usage: $0 [--windows] [--bench]" >&2; exit 2 ;;
  esac
done
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}" >&2
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
