#include "app/command_line.h"

#include <gtest/gtest.h>

namespace makenc {
namespace {

TEST(CommandLine, NoArgumentIsTheDesktopTool) {
  auto cl = parse_command_line({});
  ASSERT_TRUE(cl);
  EXPECT_EQ(cl->mode, Mode::Desktop);
}

TEST(CommandLine, BatchTakesItsOptions) {
  auto cl =
      parse_command_line({"--batch", "--layers", "0,2", "--no-joints", "--check-drawing", "--no-outline",
                          "--preview-png", "p.png", "--view", " -10,-5.5, 2e2 ,80", "--order-numbers"});
  ASSERT_TRUE(cl) << cl.error().message;
  EXPECT_EQ(cl->mode, Mode::Batch);
  ASSERT_TRUE(cl->layers.has_value());
  EXPECT_EQ(*cl->layers, (LayerTicks{true, false, true, false, false, false}));
  EXPECT_TRUE(cl->no_joints);
  EXPECT_TRUE(cl->check_drawing);
  EXPECT_TRUE(cl->no_outline);
  EXPECT_EQ(cl->preview_png, "p.png");
  EXPECT_EQ(cl->view, (std::array<double, 4>{-10, -5.5, 200, 80}));
  EXPECT_TRUE(cl->order_numbers);
}

TEST(CommandLine, DefaultsLeaveTheBoxesAsTheWindowHasThem) {
  auto cl = parse_command_line({"--batch"});
  ASSERT_TRUE(cl);
  EXPECT_FALSE(cl->layers.has_value());
  EXPECT_FALSE(cl->no_joints);
  EXPECT_FALSE(cl->check_drawing);
  EXPECT_FALSE(cl->no_outline);
  EXPECT_TRUE(cl->preview_png.empty());
}

TEST(CommandLine, CutListTakesWhatChangesTheAssignmentRun) {
  auto ok = parse_command_line({"--dump-cutlist", "--layers", "5", "--no-outline", "--nested", "--paint",
                                "1.5,-0", "--clear", " 20 , 3e1", "--paint", "0,0"});
  ASSERT_TRUE(ok) << ok.error().message;
  EXPECT_EQ(ok->mode, Mode::DumpCutlist);
  EXPECT_TRUE((*ok->layers)[5]);
  EXPECT_TRUE(ok->no_outline);
  EXPECT_TRUE(ok->nested);
  ASSERT_EQ(ok->painting.size(), 3u);
  EXPECT_TRUE(ok->painting[0].paint);
  EXPECT_EQ(ok->painting[0].x, 1.5);
  EXPECT_FALSE(ok->painting[1].paint) << "in the order given";
  EXPECT_EQ(ok->painting[1].y, 30.0);
  EXPECT_EQ(ok->painting[1].given, "--clear  20 , 3e1");
  EXPECT_FALSE(parse_command_line({"--dump-cutlist", "--no-joints"}));
  EXPECT_FALSE(parse_command_line({"--dump-tables", "--nested"}));
  EXPECT_FALSE(parse_command_line({"--dump-tables", "--layers", "1"}));
}

TEST(CommandLine, VersionStandsAloneAndIsDotted) {
  auto cl = parse_command_line({"--version"});
  ASSERT_TRUE(cl);
  EXPECT_EQ(cl->mode, Mode::Version);
  // "makenc " and numbers joined by dots, as the project's version is.
  const std::string text = version_text();
  ASSERT_TRUE(text.starts_with("makenc ") && text.ends_with("\n")) << text;
  const std::string number = text.substr(7, text.size() - 8);
  EXPECT_NE(number.find('.'), std::string::npos) << text;
  EXPECT_EQ(number.find_first_not_of("0123456789."), std::string::npos) << text;
}

TEST(CommandLine, RejectsWhatItDoesNotKnow) {
  for (const std::vector<std::string>& bad :
       std::vector<std::vector<std::string>>{{"--bach"},
                                             {"--batch", "--layers"},
                                             {"--batch", "--layers", "6"},
                                             {"--batch", "--layers", "0,,1"},
                                             {"--batch", "--layers", "12"},
                                             {"--batch", "--preview-png"},
                                             {"--batch", "--joints"},
                                             {"--batch", "--paint"},
                                             {"--batch", "--paint", "abc"},
                                             {"--batch", "--paint", "10"},
                                             {"--batch", "--paint", "10,"},
                                             {"--batch", "--clear", "1,2,3"},
                                             {"--batch", "--paint", "10;20"},
                                             {"--batch", "--paint", "nan,1"},
                                             {"--batch", "--paint", "1,inf"},
                                             {"--batch", "--clear", "1e400,0"},
                                             {"--batch", "--paint", "12x,5"},
                                             {"--batch", "--preview-png", "p.png", "--view", "0,0,10"},
                                             {"--batch", "--preview-png", "p.png", "--view", "0,0,10,x"},
                                             {"--batch", "--preview-png", "p.png", "--view", "0,0,inf,5"},
                                             {"--batch", "--preview-png", "p.png", "--view", "5,0,5,5"},
                                             {"--batch", "--preview-png", "p.png", "--view", "0,6,5,5"},
                                             {"--batch", "--view", "0,0,5,5"},
                                             {"--batch", "--order-numbers"},
                                             {"--dump-cutlist", "--order-numbers"},
                                             {"--version", "--batch"},
                                             {"--batch", "--version"}}) {
    auto cl = parse_command_line(bad);
    EXPECT_FALSE(cl) << bad.back();
    if (!cl) {
      EXPECT_FALSE(cl.error().message.empty());
    }
  }
}

}  // namespace
}  // namespace makenc
