#include "window/qt/template_editor.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <vector>

#include "core/text.h"
#include "support/host_folder.h"

namespace makenc {
namespace {

class TemplateEditorTest : public ::testing::Test {
 protected:
  TemplateEditorTest()
      : editor(
            host.path(),
            [this](QWidget*, const QString& title, const QString& text) {
              messages.push_back(title + QLatin1Char('|') + text);
            },
            nullptr) {
    editor.show();
  }

  void click(const char* name) { editor.findChild<QAbstractButton*>(QString::fromLatin1(name))->click(); }
  QPlainTextEdit* text() { return editor.findChild<QPlainTextEdit*>(QStringLiteral("RTB1")); }
  QString note() { return editor.findChild<QLabel*>(QStringLiteral("note"))->text(); }
  std::vector<std::string> all_templates() {
    std::vector<std::string> files;
    for (const char* f : {"head.ini", "sta_cut.ini", "sta_mark.ini", "end.ini", "foot.ini"})
      files.push_back(host.read(std::string("Zemlak/Bin/") + f));
    return files;
  }

  test::HostFolder host{test::HostFolder::Holds::plate};
  std::vector<QString> messages;
  TemplateEditor editor;
};

TEST_F(TemplateEditorTest, SaveRightAfterTheFirstOpeningTouchesNoFile) {
  EXPECT_EQ(editor.windowTitle(), QStringLiteral("ファイル設定"));
  for (QRadioButton* option : editor.findChildren<QRadioButton*>()) EXPECT_FALSE(option->isChecked());
  EXPECT_EQ(editor.findChildren<QRadioButton*>().size(), 5);
  const auto before = all_templates();
  text()->setPlainText("G99");
  click("OKButton");
  EXPECT_FALSE(editor.isVisible());
  EXPECT_EQ(all_templates(), before);
  EXPECT_TRUE(editor.Cur_file().empty());
}

TEST_F(TemplateEditorTest, EachOptionShowsItsFileAndSaveWritesItWithCrLf) {
  const std::vector<std::pair<const char*, QString>> options{{"hed_op", "%\n(DATE dete)\nO0001"},
                                                             {"sta_op", "M03"},
                                                             {"sta_opM", "M13"},
                                                             {"end_op", "M05"},
                                                             {"foot_op", "M30\n%"}};
  for (const auto& [name, shown] : options) {
    click(name);
    EXPECT_EQ(text()->toPlainText(), shown) << name;
  }
  click("sta_op");
  EXPECT_EQ(editor.Cur_file(), "Zemlak\\Bin\\sta_cut.ini");
  text()->setPlainText(QStringLiteral("M03\nM08\n\nG04 （待ち）"));
  click("OKButton");
  EXPECT_FALSE(editor.isVisible());
  EXPECT_EQ(host.read("Zemlak/Bin/sta_cut.ini"),
            "M03\r\nM08\r\n\r\n" + utf8_to_cp932("G04 （待ち）") + "\r\n");
  EXPECT_EQ(host.read("Zemlak/Bin/end.ini"), "M05\r\n");
  EXPECT_TRUE(messages.empty());
}

TEST_F(TemplateEditorTest, CancelKeepsTheEditsAndTheChoiceForTheNextOpening) {
  click("sta_op");
  text()->setPlainText("M03\nM07");
  click("CancelButton");
  EXPECT_FALSE(editor.isVisible());
  EXPECT_EQ(host.read("Zemlak/Bin/sta_cut.ini"), "M03\r\n");
  editor.show();
  EXPECT_EQ(text()->toPlainText(), "M03\nM07");
  EXPECT_TRUE(editor.findChild<QRadioButton*>(QStringLiteral("sta_op"))->isChecked());
  click("OKButton");
  EXPECT_EQ(host.read("Zemlak/Bin/sta_cut.ini"), "M03\r\nM07\r\n");
}

TEST_F(TemplateEditorTest, ChoosingAnotherFileDiscardsUnsavedEdits) {
  click("sta_op");
  text()->setPlainText("changed");
  click("end_op");
  EXPECT_EQ(text()->toPlainText(), "M05");
  click("sta_op");
  EXPECT_EQ(text()->toPlainText(), "M03");
  EXPECT_EQ(host.read("Zemlak/Bin/sta_cut.ini"), "M03\r\n");
}

TEST_F(TemplateEditorTest, AMissingFileOffersAnEmptyTextSaysSoAndIsCreatedOnSave) {
  std::filesystem::remove(host.path("Zemlak/Bin/foot.ini"));
  click("hed_op");
  EXPECT_TRUE(note().isEmpty());
  click("foot_op");
  EXPECT_EQ(text()->toPlainText(), "");
  EXPECT_TRUE(note().contains(QStringLiteral("foot.ini"))) << note().toStdString();
  text()->setPlainText("M02");
  click("OKButton");
  EXPECT_EQ(host.read("Zemlak/Bin/foot.ini"), "M02\r\n");
  EXPECT_TRUE(note().isEmpty());
}

TEST_F(TemplateEditorTest, AFileWithBytesThatAreNoCharactersIsFlaggedBeforeSaving) {
  host.write("Zemlak/Bin/end.ini", "M05\r\n\x81\r\n");  // a lead byte without its second byte
  click("end_op");
  EXPECT_TRUE(note().contains(QStringLiteral("end.ini"))) << note().toStdString();
  click("sta_op");
  EXPECT_TRUE(note().isEmpty());
}

TEST_F(TemplateEditorTest, AFailedSaveNamesTheFileAndKeepsTheEditorAndText) {
  click("end_op");
  text()->setPlainText("M05\nM09");
  std::filesystem::remove_all(host.path("Zemlak/Bin"));
  click("OKButton");
  EXPECT_TRUE(editor.isVisible());
  EXPECT_EQ(text()->toPlainText(), "M05\nM09");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_TRUE(messages[0].contains(QStringLiteral("end.ini"))) << messages[0].toStdString();
}

TEST(TemplateText, RoundTripsTheFileLinesIncludingEmptyOnes) {
  const std::vector<std::string> lines{"%", "", utf8_to_cp932("（ヘッダー）"), ""};
  const QString shown = template_text(lines);
  EXPECT_EQ(shown, QStringLiteral("%\n\n（ヘッダー）\n"));
  EXPECT_EQ(template_file_bytes(shown), join_crlf(lines));
  EXPECT_EQ(template_file_bytes(QString()), "");
  EXPECT_EQ(template_text({}), QString());
}

}  // namespace
}  // namespace makenc
