#include "window/qt/draw_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QShortcut>
#include <QStatusBar>
#include <QTime>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <array>
#include <utility>

#include "app/forms.h"
#include "window/qt/icons.h"
#include "window/qt/kakou_dialog.h"
#include "window/qt/preview_widget.h"
#include "window/qt/shop_dialog.h"
#include "window/qt/template_editor.h"
#include "window/qt/tool_bar.h"

namespace makenc {

namespace {

constexpr int kClockTickMs = 1000;

}  // namespace

Draw::Draw(Session& session, WindowHooks hooks, QWidget* parent)
    : QMainWindow(parent), session_(session), hooks_(std::move(hooks)) {
  setObjectName(QStringLiteral("Draw"));
  setWindowTitle(QStringLiteral("Draw"));
  setWindowIcon(window_icon());
  client_ = new QWidget(this);
  client_->installEventFilter(this);
  setCentralWidget(client_);
  Toolbar1_ = new DrawToolBar(client_);
  Pic1_ = new PreviewWidget([this]() -> const Surface& { return view_picture(view_, session_); }, client_);
  build_status_bar();
  build_menus();
  Toolbar1_->Check1->setChecked(session_.options.check_drawing);
  Toolbar1_->Check2->setChecked(session_.options.joints);
  Toolbar1_->out_che->setChecked(session_.options.skip_outline);
  Toolbar1_->every_part->setChecked(session_.every_part_material);
  connect_controls();
  show_makeNC();
  const int width = twips_to_px(kDrawForm.client_width);
  const int height = twips_to_px(kDrawForm.client_height);
  resize(width, height + menuBar()->sizeHint().height());
  client_->resize(width, height);
}

Draw::~Draw() = default;

KakouDialog* Draw::conditions_dialog() const { return kakou_; }

void Draw::build_menus() {
  // The menu bar's entries and the items of its drop-down menu, in order.
  QMenu* file = nullptr;
  for (const MenuSpec& m : kDrawMenus) {
    const QString text = QString::fromUtf8(m.text);
    const QString name = QString::fromUtf8(m.name);
    if (m.name == "file") {
      file = menuBar()->addMenu(text);
      file->setObjectName(name);
      continue;
    }
    QAction* item = m.menu.empty() ? menuBar()->addAction(text) : file->addAction(text);
    item->setObjectName(name);
    if (m.name == "hed_ini") connect(item, &QAction::triggered, this, &Draw::hed_ini_Click);
    if (m.name == "set_ini") connect(item, &QAction::triggered, this, &Draw::set_ini_Click);
    if (m.name == "option_ini") connect(item, &QAction::triggered, this, &Draw::option_ini_Click);
    if (m.name == "end") connect(item, &QAction::triggered, this, &Draw::end_Click);
  }
}

void Draw::build_status_bar() {
  // The status bar lies in the client area like the tool bar, over the
  // bottom of the preview, so the preview keeps the size it is computed at.
  StatusBar1_ = new QStatusBar(client_);
  StatusBar1_->setObjectName(QStringLiteral("StatusBar1"));
  // Opaque, so no line of the preview runs through the figures.
  StatusBar1_->setAutoFillBackground(true);
  status_text_ = new QLabel(QString::fromStdString(job_status_text(session_)), StatusBar1_);
  status_text_->setObjectName(QStringLiteral("status_text"));
  status_text_->setFrameShape(QFrame::Panel);
  status_text_->setFrameShadow(QFrame::Sunken);
  StatusBar1_->addWidget(status_text_, 1);
  cursor_ = new QLabel(StatusBar1_);
  cursor_->setObjectName(QStringLiteral("cursor"));
  cursor_->setFrameShape(QFrame::Panel);
  cursor_->setFrameShadow(QFrame::Sunken);
  // Wide enough for a usual position, so the panels do not move as it changes.
  cursor_->setMinimumWidth(
      cursor_->fontMetrics().horizontalAdvance(QStringLiteral("X -0000.00  Y -0000.00  00.00 画素/単位")));
  StatusBar1_->addPermanentWidget(cursor_);
  clock_ = new QLabel(StatusBar1_);
  clock_->setObjectName(QStringLiteral("clock"));
  clock_->setFrameShape(QFrame::Panel);
  clock_->setFrameShadow(QFrame::Sunken);
  StatusBar1_->addPermanentWidget(clock_);
  auto* tick = new QTimer(this);
  const auto show_time = [this] {
    const QTime now = QTime::currentTime();
    clock_->setText(QString::fromStdString(clock_text(now.hour(), now.minute())));
  };
  connect(tick, &QTimer::timeout, this, show_time);
  show_time();
  tick->start(kClockTickMs);
}

void Draw::connect_controls() {
  DrawToolBar* bar = Toolbar1_;
  connect(bar->auto_, &QToolButton::clicked, this, &Draw::auto_Click);
  connect(bar->R_drew, &QToolButton::clicked, this, &Draw::R_drew_Click);
  connect(bar->makeNC, &QToolButton::clicked, this, &Draw::makeNC_Click);
  // Ticking a layer box redraws, whether the user or start-up ticks it.
  connect(bar->LYc[0], &QCheckBox::toggled, this, &Draw::LYc0_Click);
  connect(bar->LYc[1], &QCheckBox::toggled, this, &Draw::LYc1_Click);
  connect(bar->LYc[2], &QCheckBox::toggled, this, &Draw::LYc2_Click);
  connect(bar->LYc[3], &QCheckBox::toggled, this, &Draw::LYc3_Click);
  connect(bar->LYc[4], &QCheckBox::toggled, this, &Draw::LYc4_Click);
  connect(bar->LYc[5], &QCheckBox::toggled, this, &Draw::LYc5_Click);
  connect(bar->Check1, &QCheckBox::toggled, this, &Draw::Check1_Click);
  connect(bar->Check2, &QCheckBox::toggled, this, &Draw::Check2_Click);
  connect(bar->out_che, &QCheckBox::toggled, this, &Draw::out_che_Click);
  connect(bar->every_part, &QCheckBox::toggled, this, &Draw::every_part_Click);
  connect(bar->order_numbers, &QCheckBox::toggled, this, &Draw::order_numbers_Click);
  connect(bar->edit, &QToolButton::toggled, this, &Draw::edit_Click);
  connect(bar->order_step, &QToolButton::toggled, this, &Draw::order_step_Click);
  connect(Pic1_, &PreviewWidget::mouse_down, this, &Draw::Pic1_MouseDown);
  connect(Pic1_, &PreviewWidget::mouse_up, this, &Draw::Pic1_MouseUp);
  connect(Pic1_, &PreviewWidget::mouse_move, this, &Draw::Pic1_MouseMove);
  connect(Pic1_, &PreviewWidget::wheel, this, &Draw::Pic1_MouseWheel);
  // Home wherever the focus is in the window (a box of the tool bar has no
  // use for it).
  auto* home = new QShortcut(QKeySequence(Qt::Key_Home), this);
  connect(home, &QShortcut::activated, this, &Draw::Form_KeyHome);
  const std::array<std::pair<QKeySequence, EditKey>, 3> edit_keys{
      {{QKeySequence(Qt::Key_M), EditKey::mark},
       {QKeySequence(Qt::Key_Delete), EditKey::leave_out},
       {QKeySequence(QKeySequence::Undo), EditKey::undo}}};
  for (const auto& [sequence, key] : edit_keys) {
    auto* shortcut = new QShortcut(sequence, this);
    connect(shortcut, &QShortcut::activated, this, [this, key = key] { edit_key_Press(key); });
  }
}

void Draw::Form_Load() {
  const LayerTicks found = session_.options.layers;
  for (int k = 0; k < kLayerCount; ++k)
    if (found[k]) Toolbar1_->LYc[k]->setChecked(true);
}

void Draw::Form_Resize() {
  const int w = client_->width();
  const int h = client_->height();
  Toolbar1_->setGeometry(0, 0, w, DrawToolBar::bar_height());
  const int status_height = twips_to_px(kStatusBarHeight);
  StatusBar1_->setGeometry(0, h - status_height, w, status_height);
  const PixelRect pic = preview_place(w, h);
  Pic1_->setGeometry(pic.left, pic.top, pic.width, pic.height);
  StatusBar1_->raise();
  redraw(session_, pic.width, pic.height);
  fit_view(view_, session_);
  Pic1_->update();
}

bool Draw::event(QEvent* event) {
  // Another window or a dialog took the focus, or a modal one blocks this.
  if (event->type() == QEvent::WindowDeactivate || event->type() == QEvent::WindowBlocked) Form_Deactivate();
  return QMainWindow::event(event);
}

bool Draw::eventFilter(QObject* watched, QEvent* event) {
  if (watched == client_ && event->type() == QEvent::Resize) Form_Resize();
  return QMainWindow::eventFilter(watched, event);
}

void Draw::show_makeNC() { Toolbar1_->makeNC->setVisible(session_.makeNC_visible); }

void Draw::show_status() { status_text_->setText(QString::fromStdString(view_status_text(view_, session_))); }

void Draw::auto_Click() {
  assign_approaches(session_);
  view_.selected.reset();  // the run's records are new
  view_.edit_note.clear();
  show_status();
  show_makeNC();
  Pic1_->update();
}

void Draw::R_drew_Click() {
  reset_assignment(session_);
  fit_view(view_, session_);
  show_makeNC();
  show_status();
  Pic1_->update();
}

void Draw::makeNC_Click() {
  const Result<NcWritten> written = make_nc(session_);
  end_pan(view_);  // a message box takes the mouse
  if (!written) {
    hooks_.inform(this, QStringLiteral("NCデータ作成"), QString::fromStdString(written.error().message));
    return;
  }
  hooks_.inform(this, QStringLiteral("確認"), QString::fromStdString(completion_text(written.value())));
  close();
  hooks_.quit();
}

void Draw::layer_Click(int k, bool ticked) {
  tick_option(session_, "LYc" + std::to_string(k), ticked);
  Form_Resize();
  show_status();
}

void Draw::option_Click(std::string_view control, bool ticked) {
  tick_option(session_, control, ticked);
  show_status();
}

void Draw::LYc0_Click(bool ticked) { layer_Click(0, ticked); }
void Draw::LYc1_Click(bool ticked) { layer_Click(1, ticked); }
void Draw::LYc2_Click(bool ticked) { layer_Click(2, ticked); }
void Draw::LYc3_Click(bool ticked) { layer_Click(3, ticked); }
void Draw::LYc4_Click(bool ticked) { layer_Click(4, ticked); }
void Draw::LYc5_Click(bool ticked) { layer_Click(5, ticked); }

void Draw::Check1_Click(bool ticked) { option_Click("Check1", ticked); }
void Draw::Check2_Click(bool ticked) { option_Click("Check2", ticked); }
void Draw::out_che_Click(bool ticked) { option_Click("out_che", ticked); }
void Draw::every_part_Click(bool ticked) { option_Click("every_part", ticked); }

void Draw::order_numbers_Click(bool ticked) {
  view_.order_numbers = ticked;
  Pic1_->update();
}

void Draw::edit_Click(bool ticked) {
  set_editing(view_, ticked);
  Toolbar1_->order_step->setChecked(false);
  show_status();
  Pic1_->update();
}

void Draw::order_step_Click(bool ticked) {
  set_ordering(view_, ticked);
  if (ticked != view_.ordering) Toolbar1_->order_step->setChecked(view_.ordering);
  Pic1_->update();
}

void Draw::edit_key_Press(EditKey key) {
  if (edit_key(view_, session_, key)) Pic1_->update();
  show_status();
}

void Draw::Pic1_MouseDown(Qt::MouseButton button, double x, double y) {
  if (button == Qt::LeftButton) {
    left_click_in_view(view_, session_, x, y);
    if (view_.editing) show_status();
  } else if (button == Qt::RightButton) {
    right_click_in_view(view_, session_, x, y);
    show_makeNC();
    show_status();
  } else if (button == Qt::MiddleButton) {
    start_pan(view_, x, y);
    return;
  }
  Pic1_->update();
}

void Draw::Pic1_MouseUp(Qt::MouseButton button, double /*x*/, double /*y*/) {
  if (button == Qt::MiddleButton) end_pan(view_);
}

void Draw::Pic1_MouseMove(Qt::MouseButtons buttons, double x, double y) {
  if (move_mouse(view_, session_, x, y, buttons.testFlag(Qt::MiddleButton))) Pic1_->update();
  show_cursor(x, y);
}

void Draw::Pic1_MouseWheel(double x, double y, int steps) {
  wheel_view(view_, session_, x, y, steps);
  Pic1_->update();
  show_cursor(x, y);
}

void Draw::Form_KeyHome() {
  fit_view(view_, session_);
  Pic1_->update();
}

void Draw::show_cursor(double x, double y) {
  cursor_->setText(QString::fromStdString(cursor_text(view_, session_, x, y)));
}

void Draw::Form_Deactivate() { end_pan(view_); }

void Draw::hed_ini_Click() {
  end_pan(view_);
  if (F_set_ == nullptr) F_set_ = new TemplateEditor(session_.folder, hooks_.inform, this);
  F_set_->show();
  F_set_->raise();
  F_set_->activateWindow();
}

void Draw::set_ini_Click() {
  end_pan(view_);
  if (kakou_ == nullptr) {
    kakou_ = new KakouDialog(session_.settings, session_.folder, hooks_.inform, this);
    connect(kakou_, &KakouDialog::conditions_saved, this, &Draw::kakou_Saved);
  }
  kakou_->show();
  kakou_->raise();
  kakou_->activateWindow();
}

void Draw::kakou_Saved() {
  measure_offered_job(session_);
  show_status();
}

void Draw::option_ini_Click() {
  end_pan(view_);
  if (shop_ == nullptr) {
    shop_ = new ShopDialog(session_.settings, session_.folder, hooks_.inform, this);
    connect(shop_, &ShopDialog::options_saved, this, &Draw::kakou_Saved);
  }
  shop_->show();
  shop_->raise();
  shop_->activateWindow();
}

void Draw::end_Click() { close(); }

void Draw::closeEvent(QCloseEvent* event) {
  // Nothing is handed back to the host: only NC generation does that.
  if (F_set_ != nullptr) F_set_->hide();
  if (kakou_ != nullptr) kakou_->close();
  if (shop_ != nullptr) shop_->close();
  event->accept();
}

}  // namespace makenc
