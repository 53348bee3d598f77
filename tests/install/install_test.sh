#!/usr/bin/env bash
# Installs Veltrano into a scratch prefix, as `cmake --install` does for a user, and checks
# what a desktop expects of it: the GNU layout and nothing else, a desktop entry and AppStream
# metainfo that validate, and an installed program that, started from another working folder,
# finds its skin, pointer and samples. With --package, builds the Debian package with CPack
# instead and checks its contents and declared dependencies.
# Usage: install_test.sh BUILD_FOLDER VERSION [--package]
set -euo pipefail

build="$1"
version="$2"
app_id=com.kestrava.Veltrano

scratch="$(mktemp -d "${TMPDIR:-/tmp}/veltrano-install.XXXXXX")"
scratch="$(cd "$scratch" && pwd -P)"  # the program reports its folder without symlinks
program=""
cleanup() {
  if [ -n "$program" ]; then
    kill "$program" 2>/dev/null || true
    wait "$program" 2>/dev/null || true
  fi
  rm -rf "$scratch"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

expected_files=(
  bin/veltrano
  share/veltrano/x/o.cjs
  share/veltrano/HAND-M.CUR
  share/veltrano/Samples/table1.htm
  share/veltrano/Samples/table2.htm
  share/applications/$app_id.desktop
  share/metainfo/$app_id.metainfo.xml
)
for size in 16 24 32 48 64 128 256; do
  expected_files+=("share/icons/hicolor/${size}x${size}/apps/$app_id.png")
done

if [ "${3:-}" = "--package" ]; then
  cpack --config "$build/CPackConfig.cmake" -G DEB -B "$scratch/package" >"$scratch/cpack.log" 2>&1 \
    || { cat "$scratch/cpack.log" >&2; fail "cpack -G DEB failed"; }
  deb="$scratch/package/veltrano_${version}_$(dpkg --print-architecture).deb"
  [ -f "$deb" ] || fail "no package at $deb"
  contents="$(dpkg-deb -c "$deb")"
  for file in "${expected_files[@]}"; do
    grep -q " \./usr/$file\$" <<<"$contents" || fail "the package lacks /usr/$file"
  done
  depends="$(dpkg-deb -f "$deb" Depends)"
  for package in libqt6widgets6 libqt6gui6 libqt6core6 libicu libstdc++6 libc6 \
                 fonts-liberation; do
    grep -q "\b$package" <<<"$depends" || fail "the package does not depend on $package: $depends"
  done
  # The HTML engine is the program's own; gumbo serves only the differential fuzzing.
  ! grep -q "gumbo" <<<"$depends" || fail "the package depends on gumbo: $depends"
  exit 0
fi

prefix="$scratch/prefix"
cmake --install "$build" --prefix "$prefix" >"$scratch/install.log" 2>&1 \
  || { cat "$scratch/install.log" >&2; fail "cmake --install failed"; }
installed="$(cd "$prefix" && find . -type f | sed 's|^\./||' | sort)"
wanted="$(printf '%s\n' "${expected_files[@]}" | sort)"
[ "$installed" = "$wanted" ] || fail "installed files differ from the layout:
$(diff <(echo "$wanted") <(echo "$installed") || true)"

desktop-file-validate "$prefix/share/applications/$app_id.desktop" \
  || fail "desktop-file-validate"
appstreamcli validate --no-net "$prefix/share/metainfo/$app_id.metainfo.xml" >"$scratch/as.log" 2>&1 \
  || { cat "$scratch/as.log" >&2; fail "appstreamcli validate"; }

# Started from elsewhere, as a desktop launcher or a shell would, with a home of its own.
mkdir -p "$scratch/elsewhere" "$scratch/home"
cd "$scratch/elsewhere"
[ "$("$prefix/bin/veltrano" --version)" = "veltrano $version" ] || fail "--version"
HOME="$scratch/home" QT_QPA_PLATFORM=offscreen QT_LOGGING_RULES="veltrano.files.info=true" \
  QT_MESSAGE_PATTERN="%{message}" "$prefix/bin/veltrano" 2>"$scratch/files.log" &
program=$!
for _ in $(seq 300); do
  grep -q "^Samples/table2.htm " "$scratch/files.log" && break
  kill -0 "$program" 2>/dev/null || { cat "$scratch/files.log" >&2; fail "the program ended"; }
  sleep 0.1
done
kill "$program"
wait "$program" 2>/dev/null || true
program=""
report="$(grep -E "^(application folder:|x/o.cjs|HAND-M.CUR|Samples/)" "$scratch/files.log")"
expected_report="application folder: $prefix/share/veltrano
x/o.cjs found
HAND-M.CUR found
Samples/table1.htm found
Samples/table2.htm found"
[ "$report" = "$expected_report" ] || fail "the installed program does not find its files:
$(cat "$scratch/files.log")"
