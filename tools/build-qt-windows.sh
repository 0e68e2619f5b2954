#!/usr/bin/env bash
# Builds a static Qt (Core, Gui, Widgets, PrintSupport and the windows platform plugin) and a static
# yaml-cpp for 64-bit Windows from Debian's own source packages, with the MinGW-w64 posix compilers,
# into a cache folder outside the source tree. The `windows` preset builds the desktop program and
# the command-line tool on it.
#
#   tools/build-qt-windows.sh            build the cache when it is missing, then print its path
#   tools/build-qt-windows.sh --path     only print the cache's path
#
# The source packages are those of the installed host tools (qt6-base-dev-tools, libyaml-cpp-dev):
# Qt's cross build runs the host's moc, rcc and uic, which must be the same version. Every tarball is
# checked against the SHA-256 sums of its .dsc before it is unpacked.
#
# The cache is ${VPR_WINDOWS_QT_CACHE:-~/.cache/vpr40t}/windows-qt-<version>-r<recipe>; a run that
# finds it complete does nothing. A fresh build takes about half an hour on two cores.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

# Raise this when the configure lines below change, so that every machine builds anew.
recipe=1
qt_version=$(dpkg-query -W -f='${source:Version}' qt6-base-dev-tools 2>/dev/null || true)
yaml_version=$(dpkg-query -W -f='${source:Version}' libyaml-cpp-dev 2>/dev/null || true)
if [ -z "$qt_version" ] || [ -z "$yaml_version" ]; then
  echo "build-qt-windows: qt6-base-dev-tools and libyaml-cpp-dev must be installed (tools/install-deps.sh --windows)" >&2
  exit 1
fi
cache=${VPR_WINDOWS_QT_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/vpr40t}/windows-qt-${qt_version%%[+-]*}-r$recipe
if [ "${1:-}" = --path ]; then
  echo "$cache"
  exit 0
fi
if [ -f "$cache/complete" ]; then
  echo "$cache"
  exit 0
fi
# One build at a time; a second caller waits for it and then finds the cache complete.
mkdir -p "$(dirname "$cache")"
exec 9>"$cache.lock"
flock 9
if [ -f "$cache/complete" ]; then
  echo "$cache"
  exit 0
fi

say() { echo "build-qt-windows: $*" >&2; }
started=$(date +%s)
work=$cache.work
rm -rf "$work" "$cache"
mkdir -p "$work" "$cache"
trap 'say "failed; the partial build is in $work"' ERR

# Source packages through a private apt state, so that the system's package lists stay untouched:
# the system's own archives, as deb-src.
say "fetching the source packages qt6-base $qt_version and yaml-cpp $yaml_version"
apt_dir=$work/apt
mkdir -p "$apt_dir/lists/partial" "$apt_dir/archives/partial" "$apt_dir/sources.list.d"
for f in /etc/apt/sources.list.d/*.sources; do
  [ -f "$f" ] && sed -E 's/^Types:.*/Types: deb-src/' "$f" >"$apt_dir/sources.list.d/$(basename "$f")"
done
if [ -f /etc/apt/sources.list ]; then
  sed -nE 's/^deb[[:space:]]/deb-src /p' /etc/apt/sources.list >"$apt_dir/sources.list"
else
  : >"$apt_dir/sources.list"
fi
apt_options=(-o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir" -o "Dir::Etc::SourceList=$apt_dir/sources.list"
  -o "Dir::Etc::SourceParts=$apt_dir/sources.list.d" -o "APT::Sandbox::User=$(id -un)" -o "Debug::NoLocking=1")
apt-get "${apt_options[@]}" -qq update
src=$work/src
mkdir -p "$src"
(cd "$src" && apt-get "${apt_options[@]}" -qq source --download-only "qt6-base=$qt_version" "yaml-cpp=$yaml_version")

# Each file a .dsc lists must have the SHA-256 sum the .dsc gives for it.
verify() {
  local dsc=$1
  awk '/^Checksums-Sha256:/ { on = 1; next } /^[^ ]/ { on = 0 } on && NF == 3 { print $1 "  " $3 }' "$dsc" >"$dsc.sha256"
  [ -s "$dsc.sha256" ] || { say "$dsc lists no SHA-256 sums"; return 1; }
  (cd "$(dirname "$dsc")" && sha256sum --quiet -c "$(basename "$dsc").sha256")
}
for dsc in "$src"/*.dsc; do
  verify "$dsc"
  say "$(basename "$dsc"): every file matches its SHA-256 sum"
  # Unpacked with Debian's patches (security fixes among them); the sums were checked above.
  (cd "$src" && dpkg-source --no-check -x "$(basename "$dsc")" >"$dsc.unpack.log" 2>&1) || { cat "$dsc.unpack.log" >&2; false; }
done
qt_src=$(find "$src" -maxdepth 1 -type d -name 'qt6-base-*' | head -n1)
yaml_src=$(find "$src" -maxdepth 1 -type d -name 'yaml-cpp-*' | head -n1)

# The project's MinGW toolchain, with the Qt prefix among the roots that packages are found in.
toolchain=$work/toolchain.cmake
printf 'include("%s")\nlist(APPEND CMAKE_FIND_ROOT_PATH "%s")\n' "$root/cmake/mingw-w64-x86_64.cmake" "$cache/qt" >"$toolchain"

say "building yaml-cpp"
cmake -S "$yaml_src" -B "$work/yaml-build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_INSTALL_PREFIX="$cache/yaml-cpp" -DYAML_BUILD_SHARED_LIBS=OFF -DYAML_CPP_BUILD_TESTS=OFF \
  -DYAML_CPP_BUILD_TOOLS=OFF -DYAML_CPP_BUILD_CONTRIB=OFF >"$work/yaml-configure.log"
nice -n 19 cmake --build "$work/yaml-build" >"$work/yaml-build.log"
cmake --install "$work/yaml-build" >/dev/null

# Only what the programs use: no OpenGL, network, SQL, D-Bus, XML or concurrency modules. Tablet
# support needs wintab.h, which Debian's source strips. Direct2D stays on: the platform plugin's
# DirectWrite font database is only compiled with it.
say "configuring Qt"
mkdir -p "$work/qt-build"
(cd "$work/qt-build" && "$qt_src/configure" -prefix "$cache/qt" -release -static -static-runtime -qt-host-path /usr \
  -nomake examples -nomake tests -no-opengl -no-feature-vulkan -no-dbus \
  -no-feature-network -no-feature-sql -no-feature-testlib -no-feature-concurrent -no-feature-xml \
  -no-libjpeg -no-feature-tabletevent \
  -qt-zlib -qt-pcre -qt-libpng -qt-freetype -qt-harfbuzz \
  -- -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  >"$work/qt-configure.log" 2>&1) || { tail -n 40 "$work/qt-configure.log" >&2; false; }

# Ninja's progress line [done/total] every 50 steps, so that a long build shows it is moving.
say "building Qt (about 1050 steps)"
NINJA_STATUS="[%f/%t] " nice -n 19 ninja -C "$work/qt-build" -j2 2>&1 | tee "$work/qt-build.log" |
  while IFS= read -r line; do
    if [[ $line =~ ^\[([0-9]+)/[0-9]+\] ]]; then
      if ((BASH_REMATCH[1] % 50 == 0)); then say "${BASH_REMATCH[0]}"; fi
    elif [[ $line == *FAILED* || $line == *error:* ]]; then
      echo "$line" >&2
    fi
  done
cmake --install "$work/qt-build" >/dev/null

# The cache keeps only the installed prefixes; the build trees (2.5 GB) go. Qt's CMake files name
# their prefix, so it is installed where it stays, and the cache counts only once this file exists.
printf 'qt6-base %s\nyaml-cpp %s\nrecipe %s\n' "$qt_version" "$yaml_version" "$recipe" >"$cache/complete"
rm -rf "$work"
trap - ERR
say "done in $(( ($(date +%s) - started) / 60 )) min: $cache"
echo "$cache"
