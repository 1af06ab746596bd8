#include "window/qt/draw_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QStatusBar>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/forms.h"
#include "app/view_control.h"
#include "assign/dump_cutlist.h"
#include "support/host_folder.h"
#include "support/whole_run.h"
#include "window/qt/kakou_dialog.h"
#include "window/qt/preview_widget.h"
#include "window/qt/template_editor.h"
#include "window/qt/tool_bar.h"

namespace makenc {
namespace {

constexpr int kGrey = 0x808080;
constexpr int kBackgroundRgb = 0xE0E0E0;

int rgb(QRgb c) { return (qRed(c) << 16) | (qGreen(c) << 8) | qBlue(c); }

class DrawWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto opened = open_session(host.path());
    ASSERT_TRUE(opened) << opened.error().message;
    session = std::make_unique<Session>(std::move(opened.value()));
    WindowHooks hooks;
    hooks.inform = [this](QWidget*, const QString& title, const QString& text) {
      titles.push_back(title);
      texts.push_back(text);
    };
    hooks.quit = [this] { ++quits; };
    window = std::make_unique<Draw>(*session, hooks);
    window->Form_Load();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    QCoreApplication::processEvents();
  }

  DrawToolBar* bar() const { return window->tool_bar(); }
  bool makeNC_shown() const { return !bar()->makeNC->isHidden(); }
  // Where a drawing point is shown in the preview.
  QPoint at(double x, double y) const {
    const PreviewFit& fit = session->preview.fit;
    return {qRound(fit.Scr_k * x + fit.Scr_x0), qRound(fit.Scr_y0 - fit.Scr_k * y)};
  }
  QImage shown() const { return window->preview()->grab().toImage(); }
  int shown_at(double x, double y) const { return rgb(shown().pixel(at(x, y))); }
  // Whether a colour is shown within two pixels of a drawing point.
  bool shown_near(double x, double y, int colour) const {
    const QImage image = shown();
    const QPoint c = at(x, y);
    for (int dy = -2; dy <= 2; ++dy)
      for (int dx = -2; dx <= 2; ++dx)
        if (rgb(image.pixel(c + QPoint(dx, dy))) == colour) return true;
    return false;
  }
  void click_preview(Qt::MouseButton button, double x, double y) {
    QTest::mouseClick(window->preview(), button, {}, at(x, y));
  }
  // Where a drawing point is shown in the view as it is now.
  QPoint in_view(double x, double y) const {
    const ViewControl& v = window->view();
    return {qRound((x - v.top_left.x) * v.scale), qRound((v.top_left.y - y) * v.scale)};
  }
  bool in_picture(QPoint p) const { return window->preview()->rect().contains(p); }
  void wheel(QPoint p, int steps) {
    QWheelEvent turn(p, window->preview()->mapToGlobal(p), {}, {0, 120 * steps}, Qt::NoButton, {},
                     Qt::NoScrollPhase, false);
    QApplication::sendEvent(window->preview(), &turn);
  }
  void trigger(const char* action) { window->findChild<QAction*>(QString::fromLatin1(action))->trigger(); }
  std::string status() const {
    return window->findChild<QLabel*>(QStringLiteral("status_text"))->text().toStdString();
  }
  // The job summary line of a batch run with these options on a copy of
  // the host folder as it stands (the drawing and the conditions).
  std::string batch_summary(const std::vector<std::string>& options) const {
    test::TempFolder scratch;
    const std::filesystem::path copy = scratch.path() / "host";
    std::filesystem::copy(host.path(), copy, std::filesystem::copy_options::recursive);
    std::vector<std::string> args{"--batch"};
    args.insert(args.end(), options.begin(), options.end());
    const test::RunResult run = test::run_makenc(copy, args, scratch.path());
    EXPECT_EQ(run.exit_code, 0) << run.err;
    // The completion message, then the summary.
    std::istringstream out(run.out);
    std::string line;
    std::getline(out, line);
    std::getline(out, line);
    return line;
  }

  test::HostFolder host{test::HostFolder::Holds::plate};
  std::unique_ptr<Session> session;
  std::unique_ptr<Draw> window;
  std::vector<QString> titles, texts;
  int quits = 0;
};

TEST_F(DrawWindowTest, StartUpTicksTheLayersThatHoldEntitiesAndDrawsThem) {
  const std::vector<bool> expected{true, false, false, true, false, false};
  for (int k = 0; k < kLayerCount; ++k) EXPECT_EQ(bar()->LYc[k]->isChecked(), expected[k]) << k;
  EXPECT_FALSE(makeNC_shown());
  EXPECT_EQ(window->windowTitle(), "Draw");
  EXPECT_EQ(window->centralWidget()->size(), QSize(903, 456));
  EXPECT_EQ(window->preview()->geometry(), QRect(2, 42, 898, 408));
  EXPECT_EQ(session->preview.surface.width(), 898);
  EXPECT_EQ(session->preview.surface.height(), 408);
  EXPECT_TRUE(shown_near(50, 0, 0x000000)) << "the plate's bottom edge";
  EXPECT_TRUE(shown_near(20, 25, 0x000000)) << "the hole";
  EXPECT_EQ(shown_at(30, 25), kBackgroundRgb);
}

TEST_F(DrawWindowTest, ThePreviewShowsTheSurfaceColoursUnswapped) {
  // Points are dark red rings: red must not come out blue.
  EXPECT_TRUE(shown_near(70, 40, 0x800000));
  EXPECT_FALSE(shown_near(70, 40, 0x000080));
}

TEST_F(DrawWindowTest, TheToolBarMenusAndStatusBarCarryTheirTexts) {
  EXPECT_EQ(bar()->auto_->toolTip(), QStringLiteral("アプローチ自動割付"));
  EXPECT_EQ(bar()->R_drew->toolTip(), QStringLiteral("再描画　初期化"));
  EXPECT_EQ(bar()->makeNC->toolTip(), QStringLiteral("NCデータ作成"));
  EXPECT_FALSE(bar()->auto_->icon().isNull());
  EXPECT_EQ(bar()->Corner->text(), QStringLiteral("G09付加"));
  EXPECT_EQ(bar()->Check2->text(), QStringLiteral("ジョイントあり"));
  EXPECT_EQ(bar()->Check1->text(), QStringLiteral("JWW確認図 出力あり"));
  EXPECT_EQ(bar()->out_che->text(), QStringLiteral("外形線出力なし"));
  EXPECT_FALSE(bar()->Corner->isChecked());
  EXPECT_TRUE(bar()->Check2->isChecked());
  EXPECT_FALSE(bar()->Check1->isChecked());
  EXPECT_EQ(bar()->Label1->text(), QStringLiteral("レイヤー選択"));
  const QList<QAction*> top = window->menuBar()->actions();
  ASSERT_EQ(top.size(), 2);
  EXPECT_EQ(top[0]->text(), QStringLiteral("ファイル"));
  ASSERT_NE(top[0]->menu(), nullptr);
  const QList<QAction*> items = top[0]->menu()->actions();
  ASSERT_EQ(items.size(), 3);
  EXPECT_EQ(items[0]->text(), QStringLiteral("設定ファイル編集"));
  EXPECT_EQ(items[1]->text(), QStringLiteral("設定"));
  EXPECT_EQ(items[2]->text(), QStringLiteral("詳細設定"));
  EXPECT_EQ(top[1]->text(), QStringLiteral("終了"));
  EXPECT_EQ(top[1]->menu(), nullptr);
  QStringList status;
  for (QLabel* l : window->findChild<QStatusBar*>(QStringLiteral("StatusBar1"))->findChildren<QLabel*>())
    status << l->text();
  EXPECT_TRUE(status.contains(QStringLiteral("２次元NCデータ作成中")));
  EXPECT_TRUE(status.contains(QTime::currentTime().toString(QStringLiteral("H:mm"))) ||
              status.contains(QTime::currentTime().addSecs(-60).toString(QStringLiteral("H:mm"))));
}

TEST_F(DrawWindowTest, MakeNCIsOfferedOnlyAfterAnAssignmentRun) {
  EXPECT_EQ(status(), kStatusText);
  QTest::mouseClick(bar()->auto_, Qt::LeftButton);
  EXPECT_TRUE(makeNC_shown());
  // The plate and its hole are cut, the point is marked.
  EXPECT_EQ(status().rfind("切断 2（うちピアス 2）、切断長 ", 0), 0u) << status();
  EXPECT_NE(status().find("、マーキング 1、"), std::string::npos) << status();
  // The figures go with the program: none while "makeNC" is hidden.
  QTest::mouseClick(bar()->R_drew, Qt::LeftButton);
  EXPECT_FALSE(makeNC_shown());
  EXPECT_EQ(status(), kStatusText);
  QTest::mouseClick(bar()->auto_, Qt::LeftButton);
  EXPECT_TRUE(makeNC_shown());
  click_preview(Qt::RightButton, 50, 25);
  EXPECT_FALSE(makeNC_shown());
  EXPECT_EQ(status(), kStatusText);
}

// What the status bar shows is what "makeNC" would write: after "auto" the
// summary of a batch run on the same folder; each box that changes the
// program, and the conditions saved, give the figures of a batch run with
// that box or those conditions; cleared again, the first figures.
TEST_F(DrawWindowTest, TheStatusBarFollowsTheBoxesThatChangeTheProgram) {
  QTest::mouseClick(bar()->auto_, Qt::LeftButton);
  const std::string first = status();
  EXPECT_EQ(first, batch_summary({}));
  struct Box {
    QCheckBox* box;
    std::vector<std::string> options;  // the batch run's for the box changed
  };
  const Box boxes[] = {
      {bar()->out_che, {"--no-outline"}},
      {bar()->Check2, {"--no-joints"}},
      {bar()->LYc[3], {"--layers", "0"}},
      {bar()->LYc[0], {"--layers", "3"}},
  };
  for (const Box& b : boxes) {
    SCOPED_TRACE(b.box->objectName().toStdString());
    b.box->click();
    EXPECT_EQ(status(), batch_summary(b.options));
    EXPECT_NE(status(), first);
    b.box->click();
    EXPECT_EQ(status(), first);
    EXPECT_TRUE(makeNC_shown());
  }
  // Boxes that leave the program as it is: the check drawing, the next
  // run's material, what the preview shows.
  for (QCheckBox* box : {bar()->Check1, bar()->every_part, bar()->order_numbers}) {
    box->click();
    EXPECT_EQ(status(), first) << box->objectName().toStdString();
    box->click();
  }

  // Conditions under which the hole is cut with a joint.
  trigger("set_ini");
  KakouDialog* dialog = window->conditions_dialog();
  ASSERT_NE(dialog, nullptr);
  dialog->findChild<QLineEdit*>(QStringLiteral("R_min3"))->setText("5");
  dialog->findChild<QLineEdit*>(QStringLiteral("L_min3"))->setText("10");
  dialog->findChild<QAbstractButton*>(QStringLiteral("S_com"))->click();
  EXPECT_NE(status(), first);
  EXPECT_EQ(status(), batch_summary({}));
}

TEST_F(DrawWindowTest, ALeftClickGreysTheRegionInsideTheCuttingOutline) {
  click_preview(Qt::LeftButton, 70, 25);
  EXPECT_EQ(session->preview.Mus_clic, 1);
  EXPECT_EQ(shown_at(70, 25), kGrey);
  EXPECT_EQ(shown_at(90, 45), kGrey);
  EXPECT_EQ(shown_at(30, 25), kBackgroundRgb) << "the hole is not part of the region";
  EXPECT_EQ(shown_at(-5, 25), kBackgroundRgb) << "nor the outside";
  click_preview(Qt::RightButton, 70, 25);
  EXPECT_EQ(shown_at(70, 25), kBackgroundRgb) << "a right click clears the painting";
  EXPECT_EQ(session->preview.Mus_clic, 0);
}

TEST_F(DrawWindowTest, AnAssignmentRunKeepsTheMaterialPaintedByHand) {
  QTest::mouseClick(bar()->auto_, Qt::LeftButton);
  const int unpainted = shown_at(23, 27);
  QTest::mouseClick(bar()->R_drew, Qt::LeftButton);
  click_preview(Qt::LeftButton, 23, 27);  // the hole painted as material
  QTest::mouseClick(bar()->auto_, Qt::LeftButton);
  EXPECT_EQ(shown_at(23, 27), kGrey);
  EXPECT_NE(unpainted, kGrey) << "without the painting the run maps the hole otherwise";
  EXPECT_EQ(session->preview.Mus_clic, 0);
  EXPECT_TRUE(makeNC_shown());
}

TEST_F(DrawWindowTest, LayerBoxesRedrawAndEraseThePainting) {
  click_preview(Qt::LeftButton, 70, 25);
  bar()->LYc[0]->click();
  EXPECT_FALSE(session->options.layers[0]);
  EXPECT_FALSE(shown_near(50, 0, 0x000000));
  EXPECT_EQ(shown_at(70, 25), kBackgroundRgb);
  bar()->LYc[0]->click();
  EXPECT_TRUE(shown_near(50, 0, 0x000000));
  EXPECT_EQ(shown_at(70, 25), kBackgroundRgb);
  // A layer without entities changes nothing in the preview.
  const QImage before = shown();
  bar()->LYc[1]->click();
  EXPECT_TRUE(session->options.layers[1]);
  EXPECT_EQ(shown(), before);
}

TEST_F(DrawWindowTest, ResizingRedrawsAtTheNewSize) {
  window->resize(1200, 700);
  QCoreApplication::processEvents();
  const QSize client = window->centralWidget()->size();
  EXPECT_EQ(session->preview.surface.width(), client.width() - 5);
  EXPECT_EQ(session->preview.surface.height(), client.height() - 48);
  EXPECT_TRUE(shown_near(50, 0, 0x000000));
  // A window smaller than the preview's margins leaves an empty picture.
  window->resize(40, 60);
  QCoreApplication::processEvents();
  const QSize small = window->centralWidget()->size();
  EXPECT_LE(session->preview.surface.width(), std::max(1, small.width() - 5));
  EXPECT_LE(session->preview.surface.height(), std::max(1, small.height() - 48));
  EXPECT_EQ(window->preview()->height(), std::max(0, small.height() - 48));
  window->resize(903, 500);
  QCoreApplication::processEvents();
  EXPECT_TRUE(shown_near(50, 0, 0x000000));
}

TEST_F(DrawWindowTest, TheOptionBoxesReachNcGeneration) {
  bar()->Check1->click();
  bar()->Check2->click();
  bar()->out_che->click();
  EXPECT_TRUE(session->options.check_drawing);
  EXPECT_FALSE(session->options.joints);
  EXPECT_TRUE(session->options.skip_outline);
  const NcOptions before = session->options;
  bar()->Corner->click();
  EXPECT_EQ(session->options.layers, before.layers);
  EXPECT_EQ(session->options.joints, before.joints);
}

TEST_F(DrawWindowTest, EveryPartMaterialStartsUntickedAndChangesTheNextRun) {
  EXPECT_EQ(bar()->every_part->text(), QStringLiteral("全部品を材料"));
  EXPECT_FALSE(bar()->every_part->isChecked());
  EXPECT_GT(bar()->every_part->x(), bar()->LYc[5]->x()) << "after the layer boxes";
  bar()->out_che->click();  // the plate's outline is the sheet's edge: the hole is a part in it
  for (const bool ticked : {false, true, false}) {
    if (bar()->every_part->isChecked() != ticked) bar()->every_part->click();
    EXPECT_EQ(session->every_part_material, ticked);
    QTest::mouseClick(bar()->auto_, Qt::LeftButton);
    EXPECT_EQ(shown_at(70, 25) == kGrey, !ticked) << "the plate, ticked " << ticked;
    EXPECT_EQ(shown_at(30, 25) == kGrey, ticked) << "the hole, ticked " << ticked;
  }
}

TEST_F(DrawWindowTest, MakeNCWritesTheProgramHandsTheDrawingBackAndEnds) {
  bar()->Check1->click();
  QTest::mouseClick(bar()->auto_, Qt::LeftButton);
  QTest::mouseClick(bar()->makeNC, Qt::LeftButton);
  ASSERT_EQ(titles.size(), 1u);
  EXPECT_EQ(titles[0], QStringLiteral("確認"));
  EXPECT_EQ(texts[0], QStringLiteral("Zemlak\\plate.ncに出力しました。"));
  EXPECT_NE(host.read("Zemlak/plate.nc").find("M30"), std::string::npos);
  const std::string handed_back = host.read("JWC_TEMP.TXT");
  EXPECT_EQ(handed_back.rfind("file=C:\\jww\\plate.jww\r\n#\r\n", 0), 0u) << "the header without its hq line";
  EXPECT_NE(handed_back.find("ly9\r\n"), std::string::npos) << "the check drawing was asked for";
  EXPECT_FALSE(std::filesystem::exists(host.path("Zemlak/Bin/makeNC.txt")));
  EXPECT_EQ(quits, 1);
  EXPECT_FALSE(window->isVisible());
}

TEST_F(DrawWindowTest, AFailingMakeNCIsReportedAndTheWindowStaysOpen) {
  std::filesystem::create_directories(host.path("Zemlak/plate.nc"));  // the program cannot be written
  QTest::mouseClick(bar()->auto_, Qt::LeftButton);
  QTest::mouseClick(bar()->makeNC, Qt::LeftButton);
  ASSERT_EQ(titles.size(), 1u);
  EXPECT_NE(titles[0], QStringLiteral("確認"));
  EXPECT_TRUE(texts[0].contains(QStringLiteral("plate.nc"))) << texts[0].toStdString();
  EXPECT_EQ(quits, 0);
  EXPECT_TRUE(window->isVisible());
  EXPECT_TRUE(makeNC_shown());
  EXPECT_EQ(host.read("JWC_TEMP.TXT"), test::HostFolder::kDrawing);
}

TEST_F(DrawWindowTest, TheMenuOpensBothDialogsWithoutBlockingAndKeepsTheEditor) {
  trigger("hed_ini");
  TemplateEditor* editor = window->template_editor();
  ASSERT_NE(editor, nullptr);
  EXPECT_TRUE(editor->isVisible());
  EXPECT_FALSE(editor->isModal());
  editor->findChild<QAbstractButton*>(QStringLiteral("CancelButton"))->click();
  trigger("hed_ini");
  EXPECT_EQ(window->template_editor(), editor) << "the editor is loaded once";

  trigger("set_ini");
  ASSERT_NE(window->conditions_dialog(), nullptr);
  EXPECT_FALSE(window->conditions_dialog()->isModal());
  window->conditions_dialog()->findChild<QLineEdit*>(QStringLiteral("GOSA"))->setText("0.3");
  window->conditions_dialog()->findChild<QAbstractButton*>(QStringLiteral("escape"))->click();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(window->conditions_dialog(), nullptr);
  trigger("set_ini");
  auto* gosa = window->conditions_dialog()->findChild<QLineEdit*>(QStringLiteral("GOSA"));
  EXPECT_EQ(gosa->text(), "0.01") << "reopening shows the stored value";
  gosa->setText("0.3");
  window->conditions_dialog()->findChild<QAbstractButton*>(QStringLiteral("S_com"))->click();
  EXPECT_EQ(session->settings.ini_GOSA, "0.3");
}

TEST_F(DrawWindowTest, EndingClosesEverythingWithoutHandingTheDrawingBack) {
  for (const bool by_menu : {true, false}) {
    SCOPED_TRACE(by_menu ? "終了" : "close box");
    window->show();
    trigger("hed_ini");
    trigger("set_ini");
    QPointer<KakouDialog> dialog = window->conditions_dialog();
    if (by_menu)
      trigger("end");
    else
      window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(window->template_editor()->isVisible());
    EXPECT_TRUE(dialog.isNull());
    EXPECT_EQ(host.read("JWC_TEMP.TXT"), test::HostFolder::kDrawing);
    EXPECT_TRUE(std::filesystem::exists(host.path("Zemlak/Bin/makeNC.txt")));
    EXPECT_EQ(quits, 0);
  }
}

// The view only changes what is shown: the wheel zooms about the cursor,
// the middle button drags the drawing along, Home fits it again, a click
// paints the region at the drawing point under the cursor at every zoom, and
// the run's cut list stays that of the fitted view byte for byte.
TEST_F(DrawWindowTest, ZoomAndPanChangeWhatIsShownAndNothingThatIsCut) {
  QTest::mouseClick(bar()->auto_, Qt::LeftButton);
  const std::string cut_list = dump_cutlist(session->assignment);
  const double fitted = window->view().scale;
  ASSERT_GT(fitted, 0);
  struct Step {
    const char* what;
    double x, y;  // the drawing point under the cursor
    int wheel;
    QPoint drag;  // the middle button, from that point
    bool home;
    double click_x, click_y;  // a point of one region, and one of another region
    double other_x, other_y;
  };
  const Step steps[] = {
      {"a step in over the hole", 30, 25, 1, {}, false, 30, 25, 70, 25},
      {"three more over the plate", 70, 25, 3, {}, false, 70, 25, 30, 25},
      {"dragged right and down", 70, 25, 0, {150, 60}, false, 75, 30, 35, 25},
      {"a step out at the hole's edge", 41, 25, -1, {}, false, 45, 25, 35, 25},
      {"as far in as the view goes", 41, 25, 40, {}, false, 42, 25, 39, 25},
      {"three steps back", 41, 25, -3, {}, false, 45, 25, 35, 25},
      {"as far out as the view goes", 41, 25, -40, {}, false, 70, 25, 30, 25},
      {"in, then Home", 90, 10, 4, {}, true, 30, 25, 70, 25},
  };

  double step = 0;  // the zoom of one wheel step
  for (const Step& s : steps) {
    SCOPED_TRACE(s.what);
    const QPoint cursor = in_view(s.x, s.y);
    ASSERT_TRUE(in_picture(cursor));
    const double before = window->view().scale;
    if (s.wheel != 0) {
      const DrawingPoint was = drawing_point(window->view(), *session, cursor.x(), cursor.y());
      wheel(cursor, s.wheel);
      const double scale = window->view().scale;
      // Every step counts, in its direction, up to the limits; the first
      // row's single step gives the factor of one.
      if (step == 0) step = scale / before;
      const double expected = std::clamp(before * std::pow(step, s.wheel), fitted, kMostPixelsPerUnit);
      EXPECT_NEAR(scale, expected, 1e-4 * expected);
      if (scale > fitted) {
        // The point under the cursor stays there.
        const DrawingPoint under = drawing_point(window->view(), *session, cursor.x(), cursor.y());
        EXPECT_NEAR(under.x, was.x, 1e-4);
        EXPECT_NEAR(under.y, was.y, 1e-4);
      }
      const std::string text = cursor_text(window->view(), *session, cursor.x(), cursor.y());
      EXPECT_EQ(window->findChild<QLabel*>(QStringLiteral("cursor"))->text().toStdString(), text);
    }
    if (!s.drag.isNull()) {
      QTest::mousePress(window->preview(), Qt::MiddleButton, {}, cursor);
      QTest::mouseMove(window->preview(), cursor + s.drag);
      QTest::mouseRelease(window->preview(), Qt::MiddleButton, {}, cursor + s.drag);
      EXPECT_EQ(window->view().scale, before);
      EXPECT_LE((in_view(s.x, s.y) - cursor - s.drag).manhattanLength(), 1)
          << "the drawing follows the mouse";
      QTest::mouseMove(window->preview(), cursor);
      EXPECT_LE((in_view(s.x, s.y) - cursor - s.drag).manhattanLength(), 1)
          << "and stays once the button is up";
    }
    if (s.home) {
      QTest::keyClick(bar()->order_numbers, Qt::Key_Home);
      EXPECT_TRUE(window->view().fitted);
      EXPECT_DOUBLE_EQ(window->view().scale, fitted);
    }
    const QPoint centre_shown = in_view(50, 25);
    QTest::mouseClick(bar()->auto_, Qt::LeftButton);
    EXPECT_EQ(dump_cutlist(session->assignment), cut_list);
    EXPECT_EQ(in_view(50, 25), centre_shown) << "a run keeps the view";
    // Cleared, then painted by hand at the point clicked.
    const QPoint click = in_view(s.click_x, s.click_y);
    const QPoint other = in_view(s.other_x, s.other_y);
    ASSERT_TRUE(in_picture(click));
    QTest::mouseClick(window->preview(), Qt::RightButton, {}, click);
    EXPECT_NE(rgb(shown().pixel(click)), kGrey);
    QTest::mouseClick(window->preview(), Qt::LeftButton, {}, click);
    EXPECT_EQ(rgb(shown().pixel(click)), kGrey);
    if (in_picture(other)) {
      EXPECT_NE(rgb(shown().pixel(other)), kGrey) << "another region";
    }
    QTest::mouseClick(window->preview(), Qt::RightButton, {}, click);
  }
}

// A middle-button drag whose release never comes to the preview ends all
// the same: when another window takes the focus, when a dialog opens, and
// at the first move with the button up. The drawing stays where the drag
// left it, however the mouse moves on.
TEST_F(DrawWindowTest, APanEndsWhenItsReleaseGoesElsewhere) {
  wheel(in_view(50, 25), 3);
  QWidget other;
  other.resize(200, 100);
  const std::function<void(QPoint)> interruptions[] = {
      [&](QPoint) {
        other.show();
        other.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&other));
      },
      [&](QPoint) { trigger("set_ini"); },
      [&](QPoint at) {
        QMouseEvent move(QEvent::MouseMove, at, window->preview()->mapToGlobal(at), Qt::NoButton,
                         Qt::NoButton, {});
        QApplication::sendEvent(window->preview(), &move);
      },
  };
  const char* const what[] = {"another window takes the focus", "a dialog opens",
                              "a move with the button up"};
  for (std::size_t i = 0; i < std::size(interruptions); ++i) {
    SCOPED_TRACE(what[i]);
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    const QPoint from = in_view(50, 25);
    const DrawingPoint before = window->view().top_left;
    QTest::mousePress(window->preview(), Qt::MiddleButton, {}, from);
    QTest::mouseMove(window->preview(), from + QPoint(20, 10));
    ASSERT_TRUE(window->view().panning);
    const DrawingPoint left = window->view().top_left;
    EXPECT_NE(left.x, before.x) << "the drag moved the drawing";
    interruptions[i](from + QPoint(20, 10));
    // The button is still down as far as the events say.
    QTest::mouseMove(window->preview(), from + QPoint(120, 60));
    EXPECT_FALSE(window->view().panning);
    EXPECT_EQ(window->view().top_left.x, left.x);
    EXPECT_EQ(window->view().top_left.y, left.y);
    QTest::mouseRelease(window->preview(), Qt::MiddleButton, {}, from + QPoint(120, 60));
  }
}

// "順番表示" writes the cutting order into what is shown, never into the
// preview the material map is computed on.
TEST_F(DrawWindowTest, OrderNumbersAreShownOnlyWhileTicked) {
  EXPECT_EQ(bar()->order_numbers->text(), QStringLiteral("順番表示"));
  EXPECT_FALSE(bar()->order_numbers->isChecked());
  QTest::mouseClick(bar()->auto_, Qt::LeftButton);
  const QImage plain = shown();
  const std::vector<Colour> preview = session->preview.surface.pixels();
  bar()->order_numbers->click();
  EXPECT_NE(shown(), plain);
  EXPECT_EQ(session->preview.surface.pixels(), preview);
  bar()->order_numbers->click();
  EXPECT_EQ(shown(), plain);
}

// Edit mode: a click on the hole enters it there and the summary follows,
// Delete leaves it out, Ctrl+Z undoes each, and out of edit mode a click
// paints again.
TEST_F(DrawWindowTest, EditModeEntersAContourAtTheClickAndUndoGivesTheRunBack) {
  EXPECT_EQ(bar()->edit->text(), QStringLiteral("編集"));
  EXPECT_EQ(bar()->order_step->text(), QStringLiteral("順番指定"));
  QTest::mouseClick(bar()->auto_, Qt::LeftButton);
  const std::string run = dump_cutlist(session->assignment);
  const std::string summary = status();
  bar()->edit->click();
  EXPECT_TRUE(window->view().editing);
  click_preview(Qt::LeftButton, 40, 25);  // the hole's right side
  ASSERT_EQ(session->edits.size(), 1u);
  EXPECT_EQ(session->preview.Mus_clic, 0) << "edit mode paints nothing";
  EXPECT_NE(dump_cutlist(session->assignment), run);
  EXPECT_NE(status(), summary) << "the rapid length follows the entry";
  EXPECT_TRUE(shown_near(20, 25, 0xFF8000)) << "the selected hole is traced in orange";
  QTest::keyClick(window.get(), Qt::Key_Delete);
  EXPECT_EQ(session->assignment.skipped.size(), 1u);
  QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier);
  QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_TRUE(session->edits.empty());
  EXPECT_EQ(dump_cutlist(session->assignment), run);
  EXPECT_EQ(status(), summary);
  bar()->edit->click();
  EXPECT_FALSE(shown_near(20, 25, 0xFF8000)) << "out of edit mode nothing is selected";
  click_preview(Qt::LeftButton, 70, 25);
  EXPECT_EQ(session->preview.Mus_clic, 1) << "out of edit mode a click paints";
  EXPECT_EQ(shown_at(70, 25), kGrey);
}

}  // namespace
}  // namespace makenc
