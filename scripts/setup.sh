#!/usr/bin/env bash
# Installs the Debian packages Veltrano needs (only those missing) and builds it in build/.
# Idempotent and quiet when everything is already in place. Sourced by start and test.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build"

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev libgl-dev libgumbo-dev libicu-dev libgtest-dev
  fonts-liberation xvfb xauth
  desktop-file-utils appstream dpkg-dev
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

if [ "${#missing[@]}" -gt 0 ]; then
  sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  echo "Installing: ${missing[*]}"
  log="$(mktemp)"
  export DEBIAN_FRONTEND=noninteractive
  if ! { "${sudo[@]}" apt-get update -q && "${sudo[@]}" apt-get install -y -q "${missing[@]}"; } >"$log" 2>&1; then
    tail -n 30 "$log" >&2
    echo "Package installation failed." >&2
    exit 1
  fi
  rm -f "$log"
fi

log="$(mktemp)"
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >"$log" 2>&1 \
    || { cat "$log" >&2; echo "Configuring failed." >&2; exit 1; }
fi
cmake --build "$build" >"$log" 2>&1 || { cat "$log" >&2; echo "Building failed." >&2; exit 1; }
rm -f "$log"
