// Takes pictures of the windows for the documentation: the main window
// after an assignment run on a host folder, fitted and zoomed in with the
// cutting order shown, and the two dialogs.
//   grab_windows HOST_FOLDER OUTPUT_FOLDER
// Run it on a copy of a host folder: nothing is handed back, but start-up
// rewrites the working copy.
#include <QApplication>
#include <QCheckBox>
#include <QTest>
#include <QToolButton>
#include <filesystem>
#include <iostream>

#include "app/session.h"
#include "window/qt/draw_window.h"
#include "window/qt/icons.h"
#include "window/qt/kakou_dialog.h"
#include "window/qt/preview_widget.h"
#include "window/qt/template_editor.h"
#include "window/qt/tool_bar.h"
#include "window/qt/window_style.h"

namespace {

bool save(QWidget* w, const std::filesystem::path& file) {
  if (!QTest::qWaitForWindowExposed(w)) std::cerr << "grab_windows: a window was not shown\n";
  QCoreApplication::processEvents();
  const bool saved = w->grab().save(QString::fromStdString(file.string()), "PNG");
  if (!saved) std::cerr << "grab_windows: cannot write " << file << '\n';
  return saved;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: grab_windows HOST_FOLDER OUTPUT_FOLDER\n";
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  const std::filesystem::path out = argv[2];
  QApplication app(argc, argv);
  QApplication::setFont(makenc::japanese_font(9));
  QApplication::setWindowIcon(makenc::window_icon());
  auto session = makenc::open_session(folder);
  if (!session) {
    std::cerr << "grab_windows: " << session.error().message << '\n';
    return 1;
  }
  makenc::Draw window(*session, makenc::desktop_hooks());
  window.Form_Load();
  window.show();
  if (!QTest::qWaitForWindowExposed(&window)) std::cerr << "grab_windows: the window was not shown\n";
  QCoreApplication::processEvents();
  window.tool_bar()->auto_->click();
  bool ok = save(&window, out / "main_window.png");
  // Zoomed in about the middle of the preview, with the cutting order shown.
  window.tool_bar()->order_numbers->click();
  const QSize pic = window.preview()->size();
  window.Pic1_MouseWheel(pic.width() / 2.0, pic.height() / 2.0, 3);
  ok = save(&window, out / "main_window_zoomed.png") && ok;
  window.Form_KeyHome();
  window.tool_bar()->order_numbers->click();
  window.hed_ini_Click();
  window.template_editor()->findChild<QAbstractButton*>(QStringLiteral("sta_op"))->click();
  ok = save(window.template_editor(), out / "template_editor.png") && ok;
  window.set_ini_Click();
  ok = save(window.conditions_dialog(), out / "conditions_dialog.png") && ok;
  return ok ? 0 : 1;
}
