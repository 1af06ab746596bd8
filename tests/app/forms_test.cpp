// The windows' table and the dialogs' logic every front end shares.
#include "app/forms.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "core/constants.h"
#include "core/text.h"
#include "support/files.h"
#include "support/host_folder.h"

namespace makenc {
namespace {

// Every control lies inside its form (or its frame), and no two of a form
// share a name: a front end finds each by its name.
TEST(Forms, EveryControlLiesInsideItsFormAndHasANameOfItsOwn) {
  for (const FormSpec* form : {&kDrawForm, &kKakouForm, &kFSetForm}) {
    std::map<std::string_view, int> names;
    for (const ControlSpec& c : form->controls) {
      ++names[c.name];
      const bool in_frame = !c.frame.empty();
      const int width = in_frame ? (*form)[c.frame].width : form->client_width;
      const int height = in_frame ? (*form)[c.frame].height : form->client_height;
      // The tool bar's label hangs below the bar (it clips it), still inside the window.
      EXPECT_LE(c.left + c.width, width) << form->name << " " << c.name;
      EXPECT_LE(c.top + c.height, height) << form->name << " " << c.name;
    }
    for (const auto& [name, count] : names) EXPECT_EQ(count, 1) << form->name << " " << name;
  }
  EXPECT_EQ(twips_to_pixels(kDrawForm.client_width), 903);
  EXPECT_EQ(twips_to_pixels(kDrawForm.client_width, 144), 1355);
  const PixelRect pic = preview_place(903, 456);
  EXPECT_EQ(pic.width, 898);  // the size batch runs compute at
  EXPECT_EQ(pic.height, 408);
  EXPECT_EQ(clock_text(9, 5), "9:05");
}

// What the dialog shows, saved unchanged, is the settings file the settings
// give; a line break typed into a box does not shift the later lines.
TEST(Forms, TheConditionsShownAndSavedUnchangedAreTheSettingsFile) {
  test::TempFolder folder;
  std::filesystem::create_directories(folder.path() / "Zemlak" / "Bin");
  Settings settings;
  settings.ini_M_Joukn = utf8_to_cp932("Ｅ９");
  settings.ini_Cond[1] = CondRow{{"50", "", "E2"}};
  std::map<std::string, std::string> boxes;
  for (const BoxText& b : kakou_box_texts(settings)) boxes[std::string(b.box)] = b.text;
  EXPECT_EQ(boxes.size(), 14u);
  const std::filesystem::path file = folder.path() / "Zemlak" / "Bin" / "set.ini";
  auto read = [&](std::string_view box) { return boxes.at(std::string(box)); };
  Settings saved;
  ASSERT_TRUE(save_kakou(read, folder.path(), saved).ok());
  EXPECT_EQ(test::file_bytes(file), join_crlf(set_ini_lines(settings)));
  EXPECT_EQ(saved.ini_M_Joukn, settings.ini_M_Joukn);

  boxes["M_Joukn"] = "E8\r\n";
  boxes["joint"] = "3";
  ASSERT_TRUE(save_kakou(read, folder.path(), saved).ok());
  EXPECT_EQ(read_text_lines(file)->at(6), "E8");
  EXPECT_FLOAT_EQ(saved.ini_joint, 3.0f);

  std::filesystem::remove(file);
  std::filesystem::create_directories(file);  // a folder in the file's place
  const Status refused = save_kakou(read, folder.path(), saved);
  ASSERT_FALSE(refused.ok());
  EXPECT_NE(refused.error().message.find("を保存できませんでした。"), std::string::npos);
}

TEST(Forms, ATemplateIsShownAndSavedLineForLine) {
  test::TempFolder folder;
  EXPECT_EQ(template_file_of("sta_opM"), "Zemlak\\Bin\\sta_mark.ini");
  EXPECT_EQ(template_file_of("OKButton"), "");
  const std::string file = "Zemlak\\Bin\\head.ini";
  EXPECT_NE(load_template(folder.path(), file).note.find("はまだありません"), std::string::npos);
  std::filesystem::create_directories(folder.path() / "Zemlak" / "Bin");
  // An edit control of Windows ends its lines with CR LF, Qt's with LF.
  ASSERT_TRUE(save_template(folder.path(), file, "%\r\nO1000\r\n(表示)").ok());
  EXPECT_EQ(test::file_bytes(folder.path() / "Zemlak" / "Bin" / "head.ini"),
            "%\r\nO1000\r\n(" + utf8_to_cp932("表示") + ")\r\n");
  const TemplateShown shown = load_template(folder.path(), file);
  EXPECT_EQ(shown.text, "%\nO1000\n(表示)");
  EXPECT_EQ(shown.note, "");
  EXPECT_EQ(template_text_bytes(""), "");
  folder.write("Zemlak/Bin/end.ini", "M30\x80\r\n");  // a byte that is no character
  EXPECT_NE(load_template(folder.path(), "Zemlak\\Bin\\end.ini").note.find("「?」"), std::string::npos);
}

// The status bar after a run: the summary with a point and three decimals
// however large the lengths, or why NC generation would refuse the job;
// the run's warnings follow either.
TEST(Forms, StatusBarShowsTheJobSummaryAndStillTheWarnings) {
  const JobSummary job{3, 1, 2, 12345678.25, 0, 0.0006, {}, std::nullopt, {}};
  EXPECT_EQ(status_text(job, {}),
            "切断 3（うちピアス 2）、切断長 12345678.250、マーキング 1、マーキング長 0.000、早送り長 0.001");
  const Warnings warnings{{"contour 2 on layer 0: cut whole"}, {"contour 5 on layer 1: check"}};
  EXPECT_EQ(status_text(Error{"contour 4 on layer 0: no arc word"}, warnings),
            "NCデータを作成できません: contour 4 on layer 0: no arc word / contour 2 on layer 0: cut whole / "
            "contour 5 on layer 1: check");
}

// A box that changes the program "makeNC" writes measures the job again
// while a program is on offer: the figures are those of a run made with the
// box so from the start. Before a run, and once "makeNC" is hidden, the
// status bar has no figures to show.
TEST(Forms, TheStatusFollowsTheBoxesThatChangeTheProgram) {
  test::HostFolder host{test::HostFolder::Holds::plate};
  const auto opened = [&] {
    auto session = open_session(host.path());
    EXPECT_TRUE(session.ok());
    redraw(*session, kBatchPreviewWidth, kBatchPreviewHeight);
    return std::move(*session);
  };
  Session untouched = opened();
  EXPECT_EQ(job_status_text(untouched), kStatusText);
  assign_approaches(untouched);
  const std::string first = job_status_text(untouched);
  EXPECT_EQ(first, status_text(untouched.summary, untouched.assignment.warnings));

  const struct {
    const char* box;
    bool ticked;
  } boxes[] = {{"out_che", true}, {"Check2", false}, {"LYc0", false}, {"LYc3", false}};
  for (const auto& b : boxes) {
    SCOPED_TRACE(b.box);
    Session later = opened();
    assign_approaches(later);
    EXPECT_TRUE(tick_option(later, b.box, b.ticked));
    Session from_the_start = opened();
    EXPECT_TRUE(tick_option(from_the_start, b.box, b.ticked));
    EXPECT_EQ(job_status_text(from_the_start), kStatusText) << "no program before a run";
    assign_approaches(from_the_start);
    EXPECT_EQ(job_status_text(later), job_status_text(from_the_start));
    EXPECT_TRUE(tick_option(later, b.box, !b.ticked));
    EXPECT_EQ(job_status_text(later), first);
  }
  Session cleared = opened();
  assign_approaches(cleared);
  tick_option(cleared, "LYc0", false);
  EXPECT_NE(job_status_text(cleared), first) << "the plate is on layer 0";
  reset_assignment(cleared);
  EXPECT_EQ(job_status_text(cleared), kStatusText);
  for (const char* other : {"order_numbers", "Corner", "LYc6", "LYc", "auto"})
    EXPECT_FALSE(tick_option(cleared, other, true)) << other;
}

}  // namespace
}  // namespace makenc
