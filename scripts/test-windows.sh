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
"$here/scripts/install-packages.sh" "${packages[@]}"

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
# Menus and message boxes in the system's font show Japanese through a
# Japanese font of the machine, as on a Japanese Windows; the window draws
# its own frame, there being no window manager on the virtual display.
for face in Tahoma "MS Shell Dlg" "MS Shell Dlg 2" "Microsoft Sans Serif" "Segoe UI"; do
  wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' /v "$face" \
    /t REG_MULTI_SZ /d 'NotoSansCJK-Regular.ttc,Noto Sans CJK JP' /f >/dev/null 2>&1
done
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
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

echo "== the window under Wine on a virtual display"
# makenc.exe started without arguments in a host folder; a driver opens the
# conditions dialog and saves it unchanged ("決定"), opens the template
# editor on a file and cancels it, presses "auto" (the status bar must show
# the summary line of a batch run on the same folder), ticks
# "外形線出力なし" (that of a batch run with --no-outline) and clears it
# again (the first figures), zooms with the wheel, pans with the middle
# button and returns with Home, ticks "編集", clicks the hole and leaves it
# out with Delete (that of a batch run with the edit "skip"), undoes both
# with Ctrl+Z (the first figures) and clears "編集", presses "makeNC" through the window's own
# messages and answers the completion message. The NC program and the
# hand-back must be those of the batch run on the same folder, and set.ini
# as it was.
run=$wbuild/window-test
rm -rf "$run"
mkdir -p "$run"
cp -r "$here/examples/plate" "$run/host"
# The summary lines (the second line of a batch run's output) the status
# bar must show, from makenc.exe on copies of the folder.
summary() {
  rm -rf "$run/batch"
  cp -r "$here/examples/plate" "$run/batch"
  (cd "$run/batch" && wine "$wbuild/makenc.exe" --batch "$@" | sed -n 2p | tr -d '\r')
}
summary_all=$(summary) || true
# With the hole at (50, 50) left out, wherever it is entered.
summary_hole_left_out=$(
  rm -rf "$run/batch" && cp -r "$here/examples/plate" "$run/batch" && printf 'skip 60,50\r\n' >"$run/batch/skip.txt" &&
    cd "$run/batch" && wine "$wbuild/makenc.exe" --batch --edits skip.txt | sed -n 2p | tr -d '\r'
) || true
summary_no_outline=$(summary --no-outline) || true
window_status=0
# The Wine processes of the runs above know no display: this run starts its own.
wineserver -k >/dev/null 2>&1 || true
wineserver -w >/dev/null 2>&1 || true
timeout 300 xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  cd "$1/host"
  wine "$2/makenc.exe" & program=$!
  wine "$2/tests/drive_window.exe" wait hidden "NCデータ作成" \
    menu "設定" in "加工指示" picture "$1/conditions_dialog.png" click "決定" in Draw \
    menu "詳細設定" in "詳細設定" click "決定" in Draw \
    menu "設定ファイル編集" in "ファイル設定" click "加工開始コード(切断用)" picture "$1/template_editor.png" \
    click "CANCEL" in Draw \
    click "アプローチ自動割付" shown "NCデータ作成" status "$3" picture "$1/main_window.png" \
    click "外形線出力なし" status "$4" click "外形線出力なし" status "$3" \
    wheel 3 pan 120,-60 picture "$1/main_window_zoomed.png" wheel -1 home \
    click "編集" edit 60,50 key delete status "$5" undo undo status "$3" click "編集" \
    edit 50,50 clear click "アプローチ自動割付" shown "NCデータ作成" status "$3" \
    click "NCデータ作成" confirm "確認" || driver=1
  wait $program || exit 1
  exit ${driver:-0}' window-test "$run" "$wbuild" "$summary_all" "$summary_no_outline" "$summary_hole_left_out" \
  >"$run/log" 2>&1 ||
  window_status=1
expected=$here/tests/golden/plate_batch/expected/files
today=$(date +%Y/%m/%d)
if [ -z "$summary_all" ] || [ -z "$summary_no_outline" ] || [ "$summary_all" = "$summary_no_outline" ] ||
  [ -z "$summary_hole_left_out" ] || [ "$summary_all" = "$summary_hole_left_out" ]; then
  echo "FAIL the batch runs gave no summaries to compare the status bar with: \"$summary_all\", \"$summary_no_outline\""
  failed=1
elif [ $window_status -ne 0 ]; then
  echo "FAIL the window run"; cat "$run/log"; failed=1
elif ! sed "s#@DATE@#$today#g" "$expected/Zemlak/plate.nc" | cmp -s - "$run/host/Zemlak/plate.nc"; then
  echo "FAIL the window's NC program differs from the batch run's"; failed=1
elif ! cmp -s "$expected/JWC_TEMP.TXT" "$run/host/JWC_TEMP.TXT" || [ -e "$run/host/Zemlak/Bin/makeNC.txt" ]; then
  echo "FAIL the window's hand-back differs from the batch run's"; failed=1
elif ! cmp -s "$here/examples/plate/Zemlak/Bin/set.ini" "$run/host/Zemlak/Bin/set.ini"; then
  echo "FAIL the conditions saved unchanged changed set.ini"; failed=1
elif [ ! -e "$run/host/Zemlak/Bin/option.ini" ] || grep -q "=" "$run/host/Zemlak/Bin/option.ini"; then
  echo "FAIL the options saved unchanged did not write an option.ini that sets nothing"; failed=1
else
  echo "ok   auto and makeNC pressed in the window: the batch run's program and hand-back"
  echo "ok   the status bar after auto, with 外形線出力なし and without: the batch runs' summaries"
  echo "ok   in edit mode a click and Delete leave the hole out as --edits does, Ctrl+Z twice gives the run back"
  echo "ok   out of edit mode a left click paints again and a right click clears it"
  echo "ok   詳細設定 saved unchanged: an option.ini that sets nothing, and the batch run's program"
  # The picture in docs/ is made by this run: scripts/test-windows.sh --picture
  if [ "${1:-}" = "--picture" ]; then
    for picture in main_window conditions_dialog template_editor; do
      "$here/tests/tools/png-recompress" "$run/$picture.png" "$here/docs/win32_$picture.png"
      echo "wrote docs/win32_$picture.png"
    done
  fi
fi

exit $failed
