// The dialog "詳細設定" without a window: the boxes it shows, what it
// writes, what it refuses naming the box, and the file left whole.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "app/shop_form.h"
#include "support/files.h"

namespace makenc {
namespace {

std::string shown_in(const std::vector<BoxText>& boxes, std::string_view box) {
  for (const BoxText& b : boxes)
    if (b.box == box) return b.text;
  ADD_FAILURE() << box << " is not shown";
  return {};
}

class ShopForm : public ::testing::Test {
 protected:
  ShopForm() { folder_.write("Zemlak/Bin/set.ini", "0.01\r\n"); }
  BoxReader reader() const {
    return [this](std::string_view box) {
      const auto it = typed_.find(std::string(box));
      return it == typed_.end() ? std::string() : it->second;
    };
  }
  test::TempFolder folder_;
  Settings settings_;
  std::map<std::string, std::string> typed_;
};

TEST_F(ShopForm, EveryBoxOfTheTableIsInItsLayout) {
  for (const BoxText& b : shop_box_texts(settings_)) EXPECT_EQ(kShopForm[b.box].name, b.box);
  EXPECT_EQ(kShopForm.caption, "詳細設定");
  EXPECT_EQ(kShopForm["lead_arc"].kind, ControlKind::OptionButton);
}

TEST_F(ShopForm, ShowsTheConditionCodesAndTheOptionsGiven) {
  settings_.shop.feeds = {{"E2", 2500}};
  settings_.shop.overcut = 1.5;
  settings_.shop.lead_in = LeadInShape::arc;
  const auto boxes = shop_box_texts(settings_);
  EXPECT_EQ(shown_in(boxes, "feed_code1"), "加工条件 E1");
  EXPECT_EQ(shown_in(boxes, "feed1"), "");
  EXPECT_EQ(shown_in(boxes, "feed2"), "2500");
  EXPECT_EQ(shown_in(boxes, "overcut"), "1.5");
  EXPECT_EQ(shown_in(boxes, "lead_in_radius"), "");
  EXPECT_TRUE(shop_arc_chosen(settings_));
}

TEST_F(ShopForm, SavesTheBoxesAndPutsThemInForce) {
  settings_.shop.feeds = {{"K7", 900}};  // a code no row names any more
  typed_ = {{"lead_in_radius", " 2 "}, {"overcut", "1.5"},      {"feed1", "1200"},
            {"feed3", "3000"},         {"rapid_feed", "12000"}, {"pierce_time", "0.5"}};
  ASSERT_TRUE(save_shop_options(reader(), true, folder_.path(), settings_));
  EXPECT_EQ(
      folder_.read("Zemlak/Bin/option.ini"),
      "lead_in=arc\r\nlead_in_radius=2\r\novercut=1.5\r\nfeed_E1=1200\r\nfeed_E3=3000\r\nfeed_K7=900\r\n"
      "rapid_feed=12000\r\npierce_time=0.5\r\n");
  EXPECT_EQ(settings_.shop.lead_in, LeadInShape::arc);
  EXPECT_EQ(settings_.shop.feed_of("E3"), 3000);
  EXPECT_EQ(settings_.shop.feed_of("K7"), 900);
  EXPECT_EQ(folder_.read("Zemlak/Bin/set.ini"), "0.01\r\n");
  // Every box empty and the straight lead-in: an empty file, every option off.
  typed_.clear();
  settings_.shop.feeds.clear();
  ASSERT_TRUE(save_shop_options(reader(), false, folder_.path(), settings_));
  EXPECT_EQ(folder_.read("Zemlak/Bin/option.ini"), "");
  EXPECT_EQ(settings_.shop.lead_in, LeadInShape::line);
  EXPECT_EQ(settings_.shop.overcut, 0);
}

TEST_F(ShopForm, ABadValueIsRefusedNamingItsBoxAndNothingIsWritten) {
  folder_.write("Zemlak/Bin/option.ini", "overcut=1\r\n");
  settings_.shop.overcut = 1;
  const struct {
    const char* box;
    const char* text;
    const char* caption;
  } cases[] = {{"overcut", "-2", "オーバーカット"},
               {"feed2", "fast", "加工条件 E2 の送り速度"},
               {"lead_in_radius", "0", "円弧の半径"},
               {"pierce_time", "1e9", "ピアス時間"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.box);
    typed_ = {{c.box, c.text}};
    std::string refused;
    const Status saved = save_shop_options(reader(), true, folder_.path(), settings_, &refused);
    ASSERT_FALSE(saved);
    EXPECT_EQ(refused, c.box);
    EXPECT_EQ(saved.error().message.rfind(std::string(c.caption) + " の値を使えません。", 0), 0u)
        << saved.error().message;
    EXPECT_NE(saved.error().message.find(c.text), std::string::npos) << saved.error().message;
    EXPECT_EQ(folder_.read("Zemlak/Bin/option.ini"), "overcut=1\r\n");
    EXPECT_EQ(settings_.shop.overcut, 1);
    EXPECT_EQ(settings_.shop.lead_in, LeadInShape::line);
  }
}

TEST_F(ShopForm, AFileThatCannotBeWrittenIsNamedAndTheOptionsStay) {
  test::TempFolder empty;  // no Zemlak\Bin to write into
  typed_ = {{"overcut", "2"}};
  const Status saved = save_shop_options(reader(), true, empty.path(), settings_);
  ASSERT_FALSE(saved);
  EXPECT_NE(saved.error().message.find("option.ini"), std::string::npos) << saved.error().message;
  EXPECT_EQ(settings_.shop.overcut, 0);
  EXPECT_EQ(settings_.shop.lead_in, LeadInShape::line);
}

}  // namespace
}  // namespace makenc
