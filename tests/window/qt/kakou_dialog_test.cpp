#include "window/qt/kakou_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <algorithm>
#include <vector>

#include "core/text.h"
#include "support/host_folder.h"

namespace makenc {
namespace {

struct Shown {
  QString title;
  QString text;
};

class KakouDialogTest : public ::testing::Test {
 protected:
  KakouDialogTest() {
    read_set_ini(host.path("Zemlak/Bin/set.ini"), settings);
    inform = [this](QWidget*, const QString& title, const QString& text) {
      messages.push_back({title, text});
    };
  }

  KakouDialog* open() {
    auto* d = new KakouDialog(settings, host.path(), inform, nullptr);
    d->show();
    return d;
  }
  static QLineEdit* box(QWidget* d, const char* name) {
    return d->findChild<QLineEdit*>(QString::fromLatin1(name));
  }
  static void click(QWidget* d, const char* name) {
    d->findChild<QPushButton*>(QString::fromLatin1(name))->click();
  }
  static void settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

  test::HostFolder host{test::HostFolder::Holds::plate};
  Settings settings;
  WindowHooks::Inform inform;
  std::vector<Shown> messages;
};

TEST_F(KakouDialogTest, ShowsTheSettingsAsTheirTexts) {
  settings.ini_joint = 2.5f;
  settings.ini_Cond[1] = CondRow{{"10", "", "50", "1"}};  // a row typed with two blanks
  settings.ini_M_Joukn = utf8_to_cp932("条件9");
  QPointer<KakouDialog> d = open();
  EXPECT_EQ(d->windowTitle(), QStringLiteral("加工指示"));
  EXPECT_EQ(box(d, "GOSA")->text(), "0.01");
  EXPECT_EQ(box(d, "Apr")->text(), "5");
  EXPECT_EQ(box(d, "S_suu")->text(), "1000");
  EXPECT_EQ(box(d, "R_min1")->text(), "10");
  EXPECT_EQ(box(d, "K_Joukn1")->text(), "E1");
  EXPECT_EQ(box(d, "R_min2")->text(), "10");
  EXPECT_EQ(box(d, "L_min2")->text(), "");
  EXPECT_EQ(box(d, "K_Joukn2")->text(), "50");
  EXPECT_EQ(box(d, "L_min3")->text(), "1000");
  EXPECT_EQ(box(d, "M_Joukn")->text(), QStringLiteral("条件9"));
  EXPECT_EQ(box(d, "joint")->text(), "2.5");
  delete d;
}

TEST_F(KakouDialogTest, DecideWritesEightLinesAsTypedAndPutsThemInForce) {
  QPointer<KakouDialog> d = open();
  box(d, "GOSA")->setText("0.05");
  box(d, "Apr")->setText("3");
  box(d, "S_suu")->setText("100");
  box(d, "R_min2")->setText("20");
  box(d, "L_min3")->setText("");  // an empty field stays a field
  box(d, "M_Joukn")->setText(QStringLiteral("マーク"));
  box(d, "joint")->setText("1.5");
  click(d, "S_com");
  settle();
  EXPECT_TRUE(d.isNull()) << "the dialog closes itself after saving";
  EXPECT_EQ(host.read("Zemlak/Bin/set.ini"), "0.05\r\n3\r\n100\r\n10 50 E1\r\n20 300 E2\r\n300  E3\r\n" +
                                                 utf8_to_cp932("マーク") + "\r\n1.5\r\n");
  EXPECT_EQ(settings.ini_GOSA, "0.05");
  EXPECT_EQ(settings.ini_Apr, "3");
  EXPECT_EQ(settings.ini_S_suu, 100);
  EXPECT_EQ(settings.ini_Cond[1].R_min(), "20");
  EXPECT_EQ(settings.ini_Cond[2].L_min(), "");
  EXPECT_EQ(settings.ini_Cond[2].K_Joukn(), "E3");
  EXPECT_EQ(settings.ini_M_Joukn, utf8_to_cp932("マーク"));
  EXPECT_FLOAT_EQ(settings.ini_joint, 1.5f);
  EXPECT_TRUE(messages.empty());
}

TEST_F(KakouDialogTest, ANonNumericRoundingFactorIsWrittenButKeepsTheOneInForce) {
  QPointer<KakouDialog> d = open();
  box(d, "S_suu")->setText("abc");
  click(d, "S_com");
  settle();
  EXPECT_EQ(host.read("Zemlak/Bin/set.ini").substr(0, 16), "0.01\r\n5\r\nabc\r\n10");
  EXPECT_EQ(settings.ini_S_suu, 1000);
}

// What a run would refuse is refused at "決定", judged with the rounding
// factor typed beside it; a value the run takes is saved.
TEST_F(KakouDialogTest, DecideRefusesWhatARunWouldRefuseNamingTheBox) {
  const struct {
    std::vector<std::pair<const char*, const char*>> typed;
    const char* refused_box;  // nullptr: saved
    const char* caption;
  } cases[] = {
      {{{"Apr", "abc"}}, "Apr", "アプローチ"},
      {{{"Apr", "0"}}, "Apr", "アプローチ"},
      {{{"Apr", "0.0015"}}, "Apr", "アプローチ"},                // below two steps of 1/1000
      {{{"Apr", "0.1"}, {"S_suu", "10"}}, "Apr", "アプローチ"},  // below two steps of 1/10
      {{{"Apr", "0.1"}, {"S_suu", "abc"}}, nullptr, nullptr},    // 1/1000 stays in force
      {{{"Apr", "1e13"}}, "Apr", "アプローチ"},
      {{{"GOSA", "-0.01"}}, "GOSA", "許容誤差"},
      {{{"GOSA", "0"}}, nullptr, nullptr},
      {{{"joint", "-1"}}, "joint", "ジョイント長"},
      {{{"joint", "0"}}, nullptr, nullptr},
  };
  for (const auto& c : cases) {
    const std::string what = std::string(c.typed[0].first) + "=" + c.typed[0].second;
    host.write("Zemlak/Bin/set.ini", test::HostFolder::kSettings);
    Settings before;
    read_set_ini(host.path("Zemlak/Bin/set.ini"), before);
    settings = before;
    messages.clear();
    QPointer<KakouDialog> d = open();
    for (const auto& [name, text] : c.typed) box(d, name)->setText(QString::fromUtf8(text));
    click(d, "S_com");
    settle();
    if (c.refused_box == nullptr) {
      EXPECT_TRUE(d.isNull()) << what;
      EXPECT_TRUE(messages.empty()) << what;
      EXPECT_NE(host.read("Zemlak/Bin/set.ini"), test::HostFolder::kSettings) << what;
      continue;
    }
    ASSERT_FALSE(d.isNull()) << what << ": the dialog must stay open";
    EXPECT_TRUE(d->isVisible()) << what;
    EXPECT_EQ(box(d, c.refused_box)->text(), QString::fromUtf8(c.typed[0].second)) << what;
    EXPECT_EQ(box(d, c.refused_box)->selectedText(), box(d, c.refused_box)->text()) << what;
    EXPECT_EQ(host.read("Zemlak/Bin/set.ini"), test::HostFolder::kSettings) << what << ": nothing saved";
    EXPECT_EQ(settings.ini_Apr, before.ini_Apr) << what;
    EXPECT_EQ(settings.ini_GOSA, before.ini_GOSA) << what;
    EXPECT_EQ(settings.ini_joint, before.ini_joint) << what;
    ASSERT_EQ(messages.size(), 1u) << what;
    EXPECT_TRUE(messages[0].text.startsWith(QString::fromUtf8(c.caption))) << messages[0].text.toStdString();
    EXPECT_TRUE(messages[0].text.contains(QStringLiteral("set.ini line"))) << messages[0].text.toStdString();
    delete d;
  }
}

TEST_F(KakouDialogTest, ALineBreakInABoxCannotShiftTheLinesOfTheFile) {
  QPointer<KakouDialog> d = open();
  box(d, "GOSA")->setText("0.5\n9");
  click(d, "S_com");
  settle();
  const std::string file = host.read("Zemlak/Bin/set.ini");
  EXPECT_EQ(file.substr(0, 6), "0.59\r\n");
  EXPECT_EQ(std::count(file.begin(), file.end(), '\n'), 8);
  EXPECT_EQ(settings.ini_Apr, "5");
}

TEST_F(KakouDialogTest, CancelAndClosingWriteNothing) {
  const Settings before = settings;
  for (const bool by_button : {true, false}) {
    QPointer<KakouDialog> d = open();
    box(d, "GOSA")->setText("9");
    box(d, "S_suu")->setText("7");
    if (by_button)
      click(d, "escape");
    else
      d->close();
    settle();
    EXPECT_TRUE(d.isNull());
    EXPECT_EQ(host.read("Zemlak/Bin/set.ini"), test::HostFolder::kSettings);
    EXPECT_EQ(settings.ini_GOSA, before.ini_GOSA);
    EXPECT_EQ(settings.ini_S_suu, before.ini_S_suu);
  }
}

TEST_F(KakouDialogTest, AFileThatCannotBeWrittenIsNamedAndTheDialogStaysOpen) {
  std::filesystem::remove_all(host.path("Zemlak/Bin"));
  QPointer<KakouDialog> d = open();
  box(d, "GOSA")->setText("0.2");
  click(d, "S_com");
  settle();
  ASSERT_FALSE(d.isNull());
  EXPECT_TRUE(d->isVisible());
  EXPECT_EQ(box(d, "GOSA")->text(), "0.2");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_TRUE(messages[0].text.contains(QStringLiteral("set.ini"))) << messages[0].text.toStdString();
  EXPECT_EQ(settings.ini_GOSA, "0.01");
  delete d;
}

}  // namespace
}  // namespace makenc
