// The main window "Draw": the tool bar, the preview, the status bar and the
// menus over one session. Each handler hands its event to one session
// function and then shows what changed.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <string_view>

#include "app/session.h"
#include "app/view_control.h"
#include "window/qt/window_style.h"

class QAction;
class QLabel;
class QStatusBar;

namespace makenc {

class DrawToolBar;
class KakouDialog;
class ShopDialog;
class PreviewWidget;
class TemplateEditor;

class Draw : public QMainWindow {
  Q_OBJECT

 public:
  Draw(Session& session, WindowHooks hooks, QWidget* parent = nullptr);
  ~Draw() override;

  // The end of start-up: ticks the box of every layer start-up found
  // entities on, each tick redrawing the preview.
  void Form_Load();
  // The full redraw at the preview's place in the window.
  void Form_Resize();

  void auto_Click();
  void R_drew_Click();
  void makeNC_Click();
  void LYc0_Click(bool ticked);
  void LYc1_Click(bool ticked);
  void LYc2_Click(bool ticked);
  void LYc3_Click(bool ticked);
  void LYc4_Click(bool ticked);
  void LYc5_Click(bool ticked);
  void Check1_Click(bool ticked);
  void Check2_Click(bool ticked);
  void out_che_Click(bool ticked);
  void every_part_Click(bool ticked);
  void order_numbers_Click(bool ticked);
  // "編集" and "順番指定": edit mode and its order step.
  void edit_Click(bool ticked);
  void order_step_Click(bool ticked);
  // M, Delete and Ctrl+Z in edit mode.
  void edit_key_Press(EditKey key);
  void Pic1_MouseDown(Qt::MouseButton button, double x, double y);
  void Pic1_MouseUp(Qt::MouseButton button, double x, double y);
  // A move with the middle button up ends a pan whose release went
  // elsewhere.
  void Pic1_MouseMove(Qt::MouseButtons buttons, double x, double y);
  void Pic1_MouseWheel(double x, double y, int steps);
  // The Home key: the fitted view again.
  void Form_KeyHome();
  // The window lost the focus to another window or a dialog: a pan under
  // way ends, its release will not come here.
  void Form_Deactivate();
  void hed_ini_Click();
  void set_ini_Click();
  // The conditions of "加工指示" saved: the program on offer may change.
  void kakou_Saved();
  // The dialog "詳細設定"; its options saved change the program on offer
  // as the conditions do.
  void option_ini_Click();
  void end_Click();

  DrawToolBar* tool_bar() const { return Toolbar1_; }
  const ViewControl& view() const { return view_; }
  PreviewWidget* preview() const { return Pic1_; }
  // Null until opened from the menu (the conditions dialog again once closed).
  TemplateEditor* template_editor() const { return F_set_; }
  KakouDialog* conditions_dialog() const;

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void build_menus();
  void build_status_bar();
  void connect_controls();
  void layer_Click(int k, bool ticked);
  // A box that NC generation or the next run reads.
  void option_Click(std::string_view control, bool ticked);
  void show_makeNC();
  // The status bar's text panel: the job summary of the program on offer
  // and the run's warnings, or the plain status text.
  void show_status();
  void show_cursor(double x, double y);

  Session& session_;
  WindowHooks hooks_;
  ViewControl view_;
  QWidget* client_ = nullptr;
  DrawToolBar* Toolbar1_ = nullptr;
  PreviewWidget* Pic1_ = nullptr;
  QStatusBar* StatusBar1_ = nullptr;
  QLabel* status_text_ = nullptr;
  // The cursor's drawing point and the view's scale.
  QLabel* cursor_ = nullptr;
  QLabel* clock_ = nullptr;
  TemplateEditor* F_set_ = nullptr;
  QPointer<KakouDialog> kakou_;
  QPointer<ShopDialog> shop_;
};

}  // namespace makenc
