// The main window "Draw" with the system's own controls: the tool bar
// "Toolbar1" with its buttons and boxes, the preview "Pic1", the status bar
// with the run's text, the cursor's position and the clock, and the menus.
// Layout and handler logic come from app/forms.h, app/session.h and
// app/view_control.h; the window creates the controls, paints and passes
// events on.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/session.h"
#include "app/view_control.h"

namespace makenc::win32 {

class TemplateEditor;

// The command of the Home key, from the main window's accelerator.
inline constexpr int kHomeKey = 800;
// The commands of edit mode's keys: M, Delete and Ctrl+Z.
inline constexpr int kMarkKey = 801;
inline constexpr int kLeaveOutKey = 802;
inline constexpr int kUndoKey = 803;

class Draw {
 public:
  // `exit_code` is the program's: 0 once NC generation has handed back.
  Draw(Session& session, int& exit_code);
  ~Draw();

  HWND window() const { return window_; }

  // The end of start-up: ticks the box of every layer that holds entities.
  void Form_Load();

  // The window procedures of the classes "makenc_Draw", "makenc_Toolbar1"
  // (it hands the clicks of its controls on and paints the buttons) and
  // "makenc_Pic1".
  static LRESULT handle(void* self, HWND w, UINT message, WPARAM wp, LPARAM lp);
  static LRESULT handle_tool_bar(void* self, HWND w, UINT message, WPARAM wp, LPARAM lp);
  static LRESULT handle_preview(void* self, HWND w, UINT message, WPARAM wp, LPARAM lp);

 private:
  HMENU build_menus();
  void add_tool_tip(HWND control, std::string_view text);
  HWND control(std::string_view name) const;
  void check(const std::string& name, bool ticked);
  bool ticked(std::string_view name) const;
  void command(int id, int code);
  // The full redraw at the preview's place in the window.
  void Form_Resize();
  void show_clock();
  void show_makeNC();
  // The status bar's text panel: the job summary of the program on offer
  // and the run's warnings, or the plain status text.
  void show_status();
  void auto_Click();
  void R_drew_Click();
  // R_drew and the Home key.
  void show_fitted();
  void order_numbers_Click(bool on);
  // "編集" and "順番指定": edit mode and its order step.
  void edit_Click(bool on);
  void order_step_Click(bool on);
  void edit_key_Press(EditKey key);
  void makeNC_Click();
  // A box that NC generation or the next run reads; a layer box redraws.
  void option_Click(std::string_view name, bool on);
  void Pic1_MouseDown(bool left, int x, int y);
  // A move with the middle button up ends a pan whose release went
  // elsewhere.
  void Pic1_MouseMove(bool middle_held, int x, int y);
  // The wheel's position comes in screen coordinates; over the preview it
  // zooms about that point, in whole steps of WHEEL_DELTA.
  void Pic1_MouseWheel(WPARAM wp, LPARAM lp);
  void show_cursor(int x, int y);
  void hed_ini_Click();
  void set_ini_Click();
  // The conditions of "加工指示" saved: the program on offer may change.
  void kakou_Saved();
  // The dialog "詳細設定"; its options saved change the program on offer
  // as the conditions do.
  void option_ini_Click();
  // Nothing is handed back to the host: only NC generation does that.
  void end_Click();
  void paint_preview(HWND w);

  Session& session_;
  int& exit_code_;
  ViewControl view_;
  int wheel_rest_ = 0;  // a fine-grained wheel's parts of a step
  HWND window_ = nullptr;
  HWND tool_bar_ = nullptr;
  HWND pic_ = nullptr;
  HWND status_ = nullptr;
  HWND tips_ = nullptr;
  std::vector<std::wstring> tip_texts_;
  std::vector<std::uint32_t> pixels_;
  std::unique_ptr<TemplateEditor> F_set_;
  HWND kakou_ = nullptr;
  HWND shop_ = nullptr;
};

}  // namespace makenc::win32
