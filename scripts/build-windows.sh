#!/usr/bin/env bash
# Cross-builds the Windows program build-windows/makenc.exe (one exe, linked
# statically) and its test programs with MinGW-w64 on Debian. Installs the
# cross compiler when it is missing (needs root or sudo rights for that).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${WINDOWS_BUILD_DIR:-$here/build-windows}

packages=(cmake ninja-build g++-mingw-w64-x86-64-posix mingw-w64 googletest)
"$here/scripts/install-packages.sh" "${packages[@]}"

# -O2 as on Linux (GCC 12 warns wrongly about memcpy in std::string at -O3);
# the symbols are stripped, the exe is what a shop copies.
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" -DCMAKE_EXE_LINKER_FLAGS_RELEASE=-s \
  -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-w64-x86_64.cmake" "$@" >/dev/null
cmake --build "$build" -j"${JOBS:-$(nproc)}"

# Only DLLs every Windows has: the compiler's run-time is inside the exe.
dlls=$(x86_64-w64-mingw32-objdump -p "$build/makenc.exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
for dll in $dlls; do
  case "$dll" in
    kernel32.dll | user32.dll | gdi32.dll | comctl32.dll | comdlg32.dll | advapi32.dll | shell32.dll | \
      ole32.dll | msvcrt.dll | api-ms-win-*) ;;
    *) echo "makenc.exe needs $dll, which not every Windows has" >&2; exit 1 ;;
  esac
done
echo "built $build/makenc.exe (needs only: $(echo $dlls | tr '\n' ' '))"
