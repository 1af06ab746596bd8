// The desktop tool on Windows, with the system's own controls: the window
// classes, the main window and the message loop, where the open dialogs
// see their keyboard messages first and the Home key reaches the main
// window wherever its focus is.
#include <windows.h>
// After windows.h:
#include <commctrl.h>

#include <algorithm>

#include "app/forms.h"
#include "app/session.h"
#include "window/desktop.h"
#include "window/win32/controls.h"
#include "window/win32/draw_window.h"
#include "window/win32/kakou_dialog.h"
#include "window/win32/shop_dialog.h"
#include "window/win32/template_editor.h"

namespace makenc {

namespace {

void register_classes() {
  HBRUSH face = ::GetSysColorBrush(COLOR_BTNFACE);
  win32::register_class(L"makenc_Draw", win32::Draw::handle, face);
  win32::register_class(L"makenc_Toolbar1", win32::Draw::handle_tool_bar, nullptr);
  win32::register_class(L"makenc_Pic1", win32::Draw::handle_preview, nullptr);
  win32::register_class(L"makenc_kakou", win32::SettingsDialog::handle, face);
  win32::register_class(L"makenc_option", win32::SettingsDialog::handle, face);
  win32::register_class(L"makenc_F_set", win32::TemplateEditor::handle, face);
}

}  // namespace

int run_desktop(int /*argc*/, char** /*argv*/, const std::filesystem::path& folder) {
  INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&controls);
  Result<Session> session = open_session(folder, BadOptions::turn_off);
  if (!session) {
    ::MessageBoxW(nullptr, win32::wide(startup_failure_text(session.error())).c_str(), L"Draw",
                  MB_OK | MB_ICONERROR);
    return 1;
  }
  if (!session->options_refused.empty())
    ::MessageBoxW(nullptr, win32::wide(options_refused_text(session->options_refused)).c_str(), L"Draw",
                  MB_OK | MB_ICONWARNING);
  register_classes();
  // Closed without NC generation, the program ends without handing back.
  int exit_code = 0;
  win32::Draw window(*session, exit_code);
  window.Form_Load();
  // Home, and the keys of edit mode, wherever the focus is in the main
  // window (it has no text box to type into).
  ACCEL accelerators[] = {{FVIRTKEY, VK_HOME, win32::kHomeKey},
                          {FVIRTKEY, 'M', win32::kMarkKey},
                          {FVIRTKEY, VK_DELETE, win32::kLeaveOutKey},
                          {FVIRTKEY | FCONTROL, 'Z', win32::kUndoKey}};
  HACCEL keys = ::CreateAcceleratorTableW(accelerators, 4);
  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    const auto& dialogs = win32::open_dialogs();
    const bool taken = std::any_of(dialogs.begin(), dialogs.end(),
                                   [&](HWND d) { return ::IsDialogMessageW(d, &message) != 0; });
    if (taken) continue;
    HWND main = window.window();
    const bool in_main = message.hwnd == main || ::IsChild(main, message.hwnd) != 0;
    if (in_main && ::TranslateAcceleratorW(main, keys, &message) != 0) continue;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  ::DestroyAcceleratorTable(keys);
  return exit_code;
}

}  // namespace makenc
