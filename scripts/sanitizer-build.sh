#!/usr/bin/env bash
# Configures and builds build-sanitize/: clang with AddressSanitizer and
# UndefinedBehaviorSanitizer, and the fuzz targets. Quiet when nothing needs building.
# Run by test and fuzz after setup.sh; its log stays in build-sanitize/build.log.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build-sanitize"
log="$build/build.log"
mkdir -p "$build"

if [ ! -f "$build/CMakeCache.txt" ]; then
  CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVELTRANO_SANITIZE=ON -DVELTRANO_FUZZ=ON >"$log" 2>&1 \
    || { cat "$log" >&2; echo "Configuring the sanitizer build failed." >&2; exit 1; }
fi
if ! ninja -C "$build" -n 2>/dev/null | grep -q "^ninja: no work to do"; then
  echo "Building the sanitizer build…"
  cmake --build "$build" >"$log" 2>&1 \
    || { grep -E "error|FAILED" "$log" | head -n 40 >&2
         echo "Building the sanitizer build failed (full log: build-sanitize/build.log)." >&2
         exit 1; }
fi
