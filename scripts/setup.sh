#!/usr/bin/env bash
# Installs the Debian packages Veltrano needs (only those missing) and builds it in build/.
# Says what it is doing when that takes a while; quiet when everything is already in place.
# Run by start and test. Its logs stay in build/setup.log; nothing is left in /tmp.
#   scripts/setup.sh --packages   installs the packages only (for fuzz, which needs no build/).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build"

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev libgl-dev libgumbo-dev libicu-dev libgtest-dev
  fonts-liberation xvfb xauth
  desktop-file-utils appstream dpkg-dev
  # The sanitizer build and the fuzz targets: clang, its ASan, UBSan and libFuzzer runtimes,
  # and llvm-symbolizer for readable reports.
  clang libclang-rt-14-dev llvm
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

mkdir -p "$build"
log="$build/setup.log"

if [ "${#missing[@]}" -gt 0 ]; then
  as_root=()
  if [ "$(id -u)" -ne 0 ]; then
    # sudo without a password, or with one typed at this terminal; otherwise an
    # administrator has to do it.
    if command -v sudo >/dev/null && { sudo -n true 2>/dev/null || [ -t 0 ]; }; then
      as_root=(sudo)
    else
      {
        echo "Veltrano needs Debian packages that are not installed, and this account can"
        echo "install nothing (it is not root and cannot use sudo). An administrator must run:"
        echo
        echo "  apt-get update && apt-get install -y ${missing[*]}"
        echo
        echo "Then run this command again."
      } >&2
      exit 1
    fi
  fi
  echo "Installing Debian packages: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  if ! { "${as_root[@]}" apt-get update -q && "${as_root[@]}" apt-get install -y -q "${missing[@]}"; } \
      >"$log" 2>&1; then
    tail -n 30 "$log" >&2
    echo "Package installation failed (full log: build/setup.log)." >&2
    exit 1
  fi
fi

if [ "${1:-}" = --packages ]; then
  exit 0
fi

first_build=false
if [ ! -f "$build/CMakeCache.txt" ]; then
  first_build=true
  echo "Configuring the build…"
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >"$log" 2>&1 \
    || { cat "$log" >&2; echo "Configuring failed." >&2; exit 1; }
fi
if ! ninja -C "$build" -n 2>/dev/null | grep -q "^ninja: no work to do"; then
  if $first_build || [ ! -x "$build/src/veltrano" ]; then
    echo "Building… (several minutes on 2 cores)"
  else
    echo "Building the changes…"
  fi
  cmake --build "$build" >"$log" 2>&1 \
    || { grep -E "error|FAILED" "$log" | head -n 40 >&2; echo "Building failed (full log: build/setup.log)." >&2; exit 1; }
fi
