#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need, when any is missing;
# with --windows also the cross compiler and Wine for the Windows build.
set -euo pipefail
packages=(build-essential cmake ninja-build ccache qt6-base-dev libgtest-dev libgmock-dev libbenchmark-dev
  libcli11-dev libyaml-cpp-dev help2man desktop-file-utils appstream shared-mime-info xvfb xauth openbox x11-utils xdotool
  fonts-dejavu-core fonts-liberation2 poppler-utils clang libclang-rt-14-dev)
# ./test also builds for Windows and runs that build under Wine.
if [ "${1:-}" = --windows ]; then
  packages+=(g++-mingw-w64-x86-64-posix wine64 nsis dpkg-dev qt6-base-dev-tools)
fi
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
