// The shop's options file: what each key takes, what is refused with the
// file, the line and the key named, and the file written back.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/shop_options.h"
#include "core/text.h"
#include "support/files.h"

namespace makenc {
namespace {

using Lines = std::vector<std::string>;

TEST(OptionIni, NothingGivenIsEveryOptionOff) {
  for (const Lines& lines : {Lines{}, Lines{"", "; only a note", "   "}}) {
    auto o = read_option_lines(lines);
    ASSERT_TRUE(o) << o.error().message;
    EXPECT_EQ(o->lead_in, LeadInShape::line);
    EXPECT_FALSE(o->lead_in_radius);
    EXPECT_EQ(o->overcut, 0);
    EXPECT_TRUE(o->feeds.empty());
    EXPECT_FALSE(o->feed_mark);
    EXPECT_FALSE(o->rapid_feed);
    EXPECT_EQ(o->pierce_time, 0);
    EXPECT_EQ(o->mark_start_time, 0);
    EXPECT_TRUE(option_ini_lines(*o).empty());
  }
}

TEST(OptionIni, ReadsEveryKeyWithBlanksAroundIt) {
  auto o = read_option_lines({"; arc lead-ins", "lead_in = arc", "lead_in_radius=1.5", "overcut=\t2",
                              "feed_E1=1200", "feed_E3=3000.5", "feed_mark=6000", "rapid_feed=12000",
                              "pierce_time=0.8", "mark_start_time=0"});
  ASSERT_TRUE(o) << o.error().message;
  EXPECT_EQ(o->lead_in, LeadInShape::arc);
  EXPECT_EQ(o->lead_in_radius, 1.5);
  EXPECT_EQ(o->overcut, 2);
  EXPECT_EQ(o->feed_of("E1"), 1200);
  EXPECT_EQ(o->feed_of("E3"), 3000.5);
  EXPECT_FALSE(o->feed_of("E2"));
  EXPECT_EQ(o->feed_mark, 6000);
  EXPECT_EQ(o->rapid_feed, 12000);
  EXPECT_EQ(o->pierce_time, 0.8);
  EXPECT_EQ(o->mark_start_time, 0);
  EXPECT_EQ(lead_in_radius_or_default(*o, 5), 1.5);
  EXPECT_EQ(lead_in_radius_or_default(ShopOptions{}, 5), 2.5);
}

TEST(OptionIni, RefusesNamingTheFileTheLineAndTheKey) {
  const struct {
    Lines lines;
    std::string message;
  } cases[] = {
      {{"lead_in=curve"},
       "Zemlak/Bin/option.ini line 1: the key \"lead_in\" takes \"line\" or \"arc\", not \"curve\""},
      {{"", "overcut=-1"},
       "Zemlak/Bin/option.ini line 2: the key \"overcut\" takes a length from 0 up to 1000000, not \"-1\""},
      {{"lead_in_radius=0"},
       "Zemlak/Bin/option.ini line 1: the key \"lead_in_radius\" takes a length above 0 up to 1000000, not "
       "\"0\""},
      {{"feed_E1=fast"},
       "Zemlak/Bin/option.ini line 1: the key \"feed_E1\" takes a feed in units a minute, and \"fast\" is "
       "not a "
       "number"},
      {{"rapid_feed=1e400"},
       "Zemlak/Bin/option.ini line 1: the key \"rapid_feed\" takes a feed in units a minute, and \"1e400\" "
       "is "
       "not a number"},
      {{"feed_mark=0"},
       "Zemlak/Bin/option.ini line 1: the key \"feed_mark\" takes a feed in units a minute above 0 up to "
       "10000000, not \"0\""},
      {{"pierce_time=100000"},
       "Zemlak/Bin/option.ini line 1: the key \"pierce_time\" takes a time in seconds from 0 up to 86400, "
       "not "
       "\"100000\""},
      {{"overcut=2", "; again", "overcut=3"},
       "Zemlak/Bin/option.ini line 3: the key \"overcut\" is given twice, first on line 1"},
      {{"overcutt=2"},
       "Zemlak/Bin/option.ini line 1: the key \"overcutt\" is no option (lead_in, lead_in_radius, overcut, "
       "feed_<condition code>, feed_mark, rapid_feed, pierce_time, mark_start_time)"},
      {{"feed_=100"}, "Zemlak/Bin/option.ini line 1: the key \"feed_\" is no option"},
      {{"overcut 2"}, "Zemlak/Bin/option.ini line 1: \"overcut 2\" is no setting of the form key=value"},
      {{"mark_start_time="},
       "Zemlak/Bin/option.ini line 1: the key \"mark_start_time\" takes a time in seconds, and \"\" is not a "
       "number"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    auto o = read_option_lines(c.lines);
    ASSERT_FALSE(o);
    EXPECT_EQ(o.error().message.substr(0, c.message.size()), c.message);
  }
}

TEST(OptionIni, WrittenWholeAndReadBackAsTheSameOptions) {
  test::TempFolder folder;
  ShopOptions o;
  o.lead_in = LeadInShape::arc;
  o.lead_in_radius = 0.1 + 0.2;  // a value with all the digits of a double
  o.overcut = 2;
  o.feeds = {{"E1", 1200}, {"E2", 2500}};
  o.rapid_feed = 12000;
  o.pierce_time = 1.25;
  folder.write("Zemlak/Bin/set.ini", "0.01\r\n");
  ASSERT_TRUE(write_option_ini(folder.path(), o));
  EXPECT_EQ(
      folder.read("Zemlak/Bin/option.ini"),
      "lead_in=arc\r\nlead_in_radius=0.30000000000000004\r\novercut=2\r\nfeed_E1=1200\r\nfeed_E2=2500\r\n"
      "rapid_feed=12000\r\npierce_time=1.25\r\n");
  const auto back = read_option_ini(folder.path());
  ASSERT_TRUE(back) << back.error().message;
  EXPECT_EQ(back->lead_in_radius, o.lead_in_radius);
  EXPECT_EQ(back->feeds, o.feeds);
  EXPECT_EQ(back->rapid_feed, o.rapid_feed);
  EXPECT_EQ(folder.read("Zemlak/Bin/set.ini"), "0.01\r\n");
}

TEST(OptionIni, MissingFileIsEveryOptionOffAndABadOneIsRefused) {
  test::TempFolder folder;
  auto none = read_option_ini(folder.path());
  ASSERT_TRUE(none);
  EXPECT_TRUE(option_ini_lines(*none).empty());
  folder.write("Zemlak/Bin/option.ini", "lead_in=arc\r\nfeed_E1=x\r\n");
  const auto bad = read_option_ini(folder.path());
  ASSERT_FALSE(bad);
  EXPECT_EQ(bad.error().message.rfind("Zemlak/Bin/option.ini line 2: the key \"feed_E1\"", 0), 0u);
}

}  // namespace
}  // namespace makenc
