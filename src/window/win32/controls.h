// The Win32 window's toolkit: controls made from the layout table of
// app/forms.h, in the Japanese user-interface font, at the screen's
// resolution. Compiled only on Windows.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "app/forms.h"

namespace makenc::win32 {

// The screen's dots per inch and the fonts the windows use.
struct Style {
  int dpi = 96;
  HFONT font = nullptr;         // 9 pt, every control
  HFONT button_font = nullptr;  // 12 pt, the template editor's buttons
  HFONT text_font = nullptr;    // 11.25 pt, the template editor's text
};
const Style& style();

int px(int twips);

// The command of the main window's menu entry kDrawMenus[i] is
// kDrawMenuIds + i.
inline constexpr int kDrawMenuIds = 900;

std::wstring wide(std::string_view utf8);
std::string text_of(HWND control);
void set_text(HWND control, std::string_view utf8);

// A control of a form, created at its place (a control in a frame is placed
// relative to the frame); its id is `first_id` + its row in the table.
HWND create_control(HWND parent, const FormSpec& form, const ControlSpec& spec, int first_id);
// The row of the table a control id stands for; null for another id.
const ControlSpec* control_of(const FormSpec& form, int id, int first_id);

// A window class of this program; the window's object is passed as the
// creation parameter and handed to `handle` with every message.
using Handler = LRESULT (*)(void* self, HWND window, UINT message, WPARAM w, LPARAM l);
void register_class(const wchar_t* name, Handler handle, HBRUSH background);
// A top-level window whose client area is the form's size.
HWND create_window(const wchar_t* class_name, const FormSpec& form, DWORD style_bits, HWND owner, HMENU menu,
                   void* self);

// The layouts were drawn for a proportional face; where a wider face stands
// in, a check box or one-line label whose caption would be clipped gets a
// slightly smaller size instead.
void fit_caption(HWND check_box, int available_width);

// A modal message with one OK button.
void inform(HWND owner, std::string_view title, std::string_view text);

// The dialogs that are open, for the keyboard (tab, enter) in them: the
// message loop lets each see its messages first.
std::vector<HWND>& open_dialogs();
void forget_dialog(HWND dialog);

}  // namespace makenc::win32
