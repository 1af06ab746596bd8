#include "window/qt/shop_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <filesystem>
#include <vector>

#include "support/host_folder.h"

namespace makenc {
namespace {

class ShopDialogTest : public ::testing::Test {
 protected:
  ShopDialogTest() {
    read_set_ini(host.path("Zemlak/Bin/set.ini"), settings);
    inform = [this](QWidget*, const QString&, const QString& text) { messages.push_back(text); };
  }
  ShopDialog* open() {
    auto* d = new ShopDialog(settings, host.path(), inform, nullptr);
    d->show();
    return d;
  }
  template <class W>
  static W* child(QWidget* d, const char* name) {
    return d->findChild<W*>(QString::fromLatin1(name));
  }
  static void settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

  test::HostFolder host{test::HostFolder::Holds::plate};
  Settings settings;
  WindowHooks::Inform inform;
  std::vector<QString> messages;
};

TEST_F(ShopDialogTest, ShowsTheOptionsAndTheConditionCodes) {
  settings.shop.lead_in = LeadInShape::arc;
  settings.shop.overcut = 2;
  settings.shop.feeds = {{"E2", 2500}};
  QPointer<ShopDialog> d = open();
  EXPECT_EQ(d->windowTitle(), QStringLiteral("詳細設定"));
  EXPECT_TRUE(child<QRadioButton>(d, "lead_arc")->isChecked());
  EXPECT_FALSE(child<QRadioButton>(d, "lead_line")->isChecked());
  EXPECT_EQ(child<QLineEdit>(d, "overcut")->text(), "2");
  EXPECT_EQ(child<QLineEdit>(d, "feed2")->text(), "2500");
  EXPECT_EQ(child<QLineEdit>(d, "feed1")->text(), "");
  EXPECT_EQ(child<QLabel>(d, "feed_code3")->text(), QStringLiteral("加工条件 E3"));
  // The boxes of a frame lie in it.
  EXPECT_EQ(child<QLineEdit>(d, "lead_in_radius")->parentWidget(), child<QGroupBox>(d, "lead_frame"));
  delete d;
}

TEST_F(ShopDialogTest, DecideWritesTheFileAndPutsItInForce) {
  bool saved = false;
  QPointer<ShopDialog> d = open();
  QObject::connect(d, &ShopDialog::options_saved, [&saved] { saved = true; });
  child<QRadioButton>(d, "lead_arc")->setChecked(true);
  child<QLineEdit>(d, "overcut")->setText("1.5");
  child<QLineEdit>(d, "feed1")->setText("1200");
  child<QPushButton>(d, "S_com")->click();
  settle();
  EXPECT_TRUE(d.isNull()) << "the dialog closes itself after saving";
  EXPECT_TRUE(saved);
  EXPECT_EQ(host.read("Zemlak/Bin/option.ini"), "lead_in=arc\r\novercut=1.5\r\nfeed_E1=1200\r\n");
  EXPECT_EQ(settings.shop.lead_in, LeadInShape::arc);
  EXPECT_EQ(settings.shop.feed_of("E1"), 1200);
  EXPECT_TRUE(messages.empty());
}

TEST_F(ShopDialogTest, ABadValueIsNamedAndNothingIsWritten) {
  QPointer<ShopDialog> d = open();
  child<QLineEdit>(d, "rapid_feed")->setText("-5");
  child<QPushButton>(d, "S_com")->click();
  settle();
  ASSERT_FALSE(d.isNull()) << "the dialog stays open with what was typed";
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_TRUE(messages[0].startsWith(QStringLiteral("早送りの送り速度 の値を使えません。")))
      << messages[0].toStdString();
  EXPECT_EQ(child<QLineEdit>(d, "rapid_feed")->text(), "-5");
  EXPECT_FALSE(std::filesystem::exists(host.path("Zemlak/Bin/option.ini")));
  child<QPushButton>(d, "escape")->click();
  settle();
  EXPECT_TRUE(d.isNull());
  EXPECT_FALSE(std::filesystem::exists(host.path("Zemlak/Bin/option.ini")));
}

}  // namespace
}  // namespace makenc
