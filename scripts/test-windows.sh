#!/usr/bin/env bash
# Tests the Windows program under Wine: the unit test programs, every whole
# run of tests/golden with makenc.exe (the expected files, the G-code check
# on every NC program, and byte for byte the same outcome as the Linux
# program), and the window on a virtual display. Builds what is missing and
# installs Wine; the Wine prefix is the tests' own, in the build folder.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
wbuild=${WINDOWS_BUILD_DIR:-$here/build-windows}

"$here/scripts/setup-debian.sh"  # the G-code check, and what the Linux program builds with
packages=(wine wine64 xvfb xauth)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -q
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

"$here/scripts/build-windows.sh"

# The Linux program the Windows one is compared with: the one the Linux
# suite built, or one of its own without window and tests.
linux=${LINUX_MAKENC:-}
if [ -z "$linux" ]; then
  cmake -S "$here" -B "$wbuild/linux" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMAKENC_WINDOW=OFF -DMAKENC_TESTS=OFF >/dev/null
  cmake --build "$wbuild/linux" --target makenc -j"$(nproc)"
  linux=$wbuild/linux/makenc
fi

export WINEPREFIX=$wbuild/wineprefix WINEDEBUG=-all WINEARCH=win64
# No prompts for the .NET and browser engines the program does not use.
export WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "creating the Wine prefix $WINEPREFIX"
  wineboot -i >/dev/null 2>&1
fi
wineserver -p >/dev/null 2>&1 || true  # one server for all runs, until the script ends
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT

failed=0
echo "== unit tests under Wine"
for exe in "$wbuild"/tests/test_*.exe; do
  if (cd "$wbuild/tests" && wine "$exe" --gtest_brief=1 >"$exe.log" 2>&1); then
    echo "ok   $(basename "$exe") ($(grep -o '[0-9]* tests\? from [0-9]* test suites\? ran' "$exe.log" | head -1))"
  else
    echo "FAIL $(basename "$exe")"
    cat "$exe.log"
    failed=1
  fi
done

echo "== whole runs under Wine, compared with Linux"
"$here/tests/tools/golden-wine" --linux "$linux" --exe "$wbuild/makenc.exe" --work "$wbuild/golden" || failed=1

exit $failed
