#!/usr/bin/env bash
# Builds makenc as a Release build (warnings as errors) into build-package/
# (or $PACKAGE_BUILD_DIR), makes the Debian package with cpack, installs it
# with apt-get (which brings its dependencies), runs the installed program
# (--version, and --batch on a copy of examples/plate, whose NC program must
# match the reviewed one of tests/golden/plate_batch; without arguments, it
# must keep its window open) and removes the
# package again. Needs root or sudo rights, as setup-debian.sh does.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${PACKAGE_BUILD_DIR:-$here/build-package}
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)

cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=Release -DMAKENC_WERROR=ON -DMAKENC_TESTS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target makenc
rm -f "$build"/makenc_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
debs=("$build"/makenc_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || { echo "cpack made no single makenc_*.deb" >&2; exit 1; }
deb=${debs[0]}
echo "package: $(basename "$deb"), depends: $(dpkg-deb -f "$deb" Depends)"

scratch=$(mktemp -d)
cleanup() {
  rm -rf "$scratch"
  "${sudo_cmd[@]}" apt-get -o DPkg::Lock::Timeout=300 remove -y -q makenc >/dev/null 2>&1 || true
}
trap cleanup EXIT
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get -o DPkg::Lock::Timeout=300 install -y -q --no-install-recommends "$deb" >/dev/null

fail() { echo "installed package: $*" >&2; exit 1; }
[ "$(command -v makenc)" = /usr/bin/makenc ] || fail "makenc is not /usr/bin/makenc but '$(command -v makenc)'"
version=$(makenc --version) || fail "makenc --version failed"
[ "$version" = "makenc $(dpkg-deb -f "$deb" Version)" ] || fail "--version says '$version'"

cp -r "$here/examples/plate/." "$scratch/"
(cd "$scratch" && makenc --batch >"$scratch/stdout") || fail "--batch on examples/plate failed"
expected=$here/tests/golden/plate_batch/expected
sed "s|@DATE@|$(date +%Y/%m/%d)|" "$expected/files/Zemlak/plate.nc" | cmp -s - "$scratch/Zemlak/plate.nc" ||
  fail "Zemlak/plate.nc differs from $expected/files/Zemlak/plate.nc"
cmp -s "$expected/stdout" "$scratch/stdout" || fail "the completion message differs: $(cat "$scratch/stdout")"
if [ -n "$(dpkg-deb -c "$deb" | grep makenc_window)" ]; then
  "$here/tests/window/qt/opens_window.sh" /usr/bin/makenc "$here" || fail "the installed program does not open its window"
fi

"${sudo_cmd[@]}" apt-get -o DPkg::Lock::Timeout=300 remove -y -q makenc >/dev/null
[ ! -e /usr/bin/makenc ] || fail "/usr/bin/makenc is left after removing the package"
echo "package installed, ran --version and --batch, removed"
