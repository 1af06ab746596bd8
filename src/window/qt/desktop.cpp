#include "window/desktop.h"

#include <QApplication>
#include <QMessageBox>

#include "app/forms.h"
#include "app/session.h"
#include "window/qt/draw_window.h"
#include "window/qt/icons.h"
#include "window/qt/window_style.h"

namespace makenc {

namespace {

// The size the layouts were drawn for.
constexpr double kUiPointSize = 9.0;

}  // namespace

int run_desktop(int argc, char** argv, const std::filesystem::path& folder) {
  QApplication app(argc, argv);
  QApplication::setFont(japanese_font(kUiPointSize));
  QApplication::setWindowIcon(window_icon());

  Result<Session> session = open_session(folder, BadOptions::turn_off);
  if (!session) {
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Draw"),
                    QStringLiteral("図面を読み込めませんでした。\n%1")
                        .arg(QString::fromStdString(session.error().message)),
                    QMessageBox::Ok);
    box.exec();
    return 1;
  }
  if (!session->options_refused.empty()) {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Draw"),
                    QString::fromStdString(options_refused_text(session->options_refused)), QMessageBox::Ok);
    box.exec();
  }
  Draw window(*session, desktop_hooks());
  window.Form_Load();
  window.show();
  return QApplication::exec();
}

}  // namespace makenc

// The entry the program looks up when it loads the window as a module.
extern "C" int makenc_run_desktop(int argc, char** argv, const std::filesystem::path* folder) {
  return makenc::run_desktop(argc, argv, *folder);
}
