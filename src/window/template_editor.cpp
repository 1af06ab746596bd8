#include "window/template_editor.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>
#include <algorithm>

#include "core/files.h"
#include "core/text.h"

namespace makenc {

namespace {

constexpr int kClientWidth = 5835;
constexpr int kClientHeight = 5805;
// One line below the text box says when a file is new or unreadable.
constexpr int kNoteHeight = 300;

// Whether every byte of the lines survives being shown and saved again; a
// byte that is no code-page-932 character would come back as "?".
bool shows_exactly(const std::vector<std::string>& lines) {
  return std::all_of(lines.begin(), lines.end(),
                     [](const std::string& line) { return to_cp932(from_cp932(line)) == line; });
}

}  // namespace

QString template_text(const std::vector<std::string>& lines) {
  QStringList shown;
  for (const std::string& line : lines) shown.push_back(from_cp932(line));
  return shown.join(QLatin1Char('\n'));
}

std::string template_file_bytes(const QString& text) {
  if (text.isEmpty()) return {};
  std::vector<std::string> lines;
  for (const QString& line : text.split(QLatin1Char('\n'))) lines.push_back(to_cp932(line));
  return join_crlf(lines);
}

TemplateEditor::TemplateEditor(const std::filesystem::path& folder, WindowHooks::Inform inform,
                               QWidget* parent)
    : QDialog(parent), folder_(folder), inform_(std::move(inform)) {
  setObjectName(QStringLiteral("F_set"));
  setWindowTitle(QStringLiteral("ファイル設定"));
  setModal(false);
  setFixedSize(twips_to_px(kClientWidth), twips_to_px(kClientHeight + kNoteHeight));
  QPushButton* OKButton = button("OKButton", QStringLiteral("SAVE"), 240, &TemplateEditor::OKButton_Click);
  QPushButton* CancelButton =
      button("CancelButton", QStringLiteral("CANCEL"), 720, &TemplateEditor::CancelButton_Click);
  build_options();
  RTB1 = new QPlainTextEdit(this);
  RTB1->setObjectName(QStringLiteral("RTB1"));
  RTB1->setGeometry(twips_rect(240, 2040, 5415, 3615));
  RTB1->setFont(japanese_font(11.25));
  RTB1->setLineWrapMode(QPlainTextEdit::NoWrap);
  note_ = new QLabel(this);
  note_->setObjectName(QStringLiteral("note"));
  note_->setGeometry(twips_rect(240, kClientHeight - 90, 5415, kNoteHeight));
  // SAVE first, CANCEL second, the text third: no option is chosen at first.
  setTabOrder(OKButton, CancelButton);
  setTabOrder(CancelButton, RTB1);
  OKButton->setFocus();
}

QPushButton* TemplateEditor::button(const char* name, const QString& caption, int top, Handler handler) {
  auto* b = new QPushButton(caption, this);
  b->setObjectName(QString::fromLatin1(name));
  b->setGeometry(twips_rect(4320, top, 1335, 375));
  b->setFont(japanese_font(12));
  b->setAutoDefault(false);
  connect(b, &QPushButton::clicked, this, handler);
  return b;
}

void TemplateEditor::build_options() {
  auto* frame = new QGroupBox(QStringLiteral("設定ファイル選択"), this);
  frame->setGeometry(twips_rect(240, 120, 3375, 1815));
  options_ = new QButtonGroup(this);
  option(frame, "hed_op", QStringLiteral("ヘッダーファイル（NCの先頭文）"), twips_rect(360, 360, 2895, 255),
         &TemplateEditor::hed_op_Click);
  option(frame, "sta_op", QStringLiteral("加工開始コード(切断用)"), twips_rect(360, 600, 2775, 255),
         &TemplateEditor::sta_op_Click);
  option(frame, "sta_opM", QStringLiteral("加工開始コード(マーキング用)"), twips_rect(360, 840, 2895, 255),
         &TemplateEditor::sta_opM_Click);
  option(frame, "end_op", QStringLiteral("加工終了コード"), twips_rect(360, 1080, 2535, 255),
         &TemplateEditor::end_op_Click);
  option(frame, "foot_op", QStringLiteral("プログラム終了コード"), twips_rect(360, 1320, 2475, 300),
         &TemplateEditor::foot_op_Click);
}

void TemplateEditor::option(QWidget* frame, const char* name, const QString& caption, const QRect& place,
                            Handler handler) {
  auto* b = new QRadioButton(caption, frame);
  b->setObjectName(QString::fromLatin1(name));
  b->setGeometry(place);
  fit_caption(b, place.width());
  options_->addButton(b);
  connect(b, &QRadioButton::clicked, this, handler);
}

void TemplateEditor::hed_op_Click() { choose("Zemlak\\Bin\\head.ini"); }
void TemplateEditor::sta_op_Click() { choose("Zemlak\\Bin\\sta_cut.ini"); }
void TemplateEditor::sta_opM_Click() { choose("Zemlak\\Bin\\sta_mark.ini"); }
void TemplateEditor::end_op_Click() { choose("Zemlak\\Bin\\end.ini"); }
void TemplateEditor::foot_op_Click() { choose("Zemlak\\Bin\\foot.ini"); }

void TemplateEditor::choose(const char* file) {
  Cur_file_ = file;
  load_template_text();
}

bool TemplateEditor::file_chosen() const { return Cur_file_.ends_with("ini"); }

void TemplateEditor::load_template_text() {
  if (!file_chosen()) return;
  const std::filesystem::path path = host_path(folder_, Cur_file_);
  const auto lines = read_text_lines(path);
  RTB1->setPlainText(lines ? template_text(*lines) : QString());
  const QString name = from_cp932(Cur_file_);
  std::error_code ec;
  if (lines && !shows_exactly(*lines))
    note_->setText(QStringLiteral("%1 に表示できない文字があります。保存すると「?」になります。").arg(name));
  else if (lines)
    note_->clear();
  else if (!std::filesystem::exists(path, ec))
    note_->setText(QStringLiteral("%1 はまだありません。SAVE で新しく作ります。").arg(name));
  else
    note_->setText(QStringLiteral("%1 を読めません。空の内容を表示しています。").arg(name));
}

void TemplateEditor::OKButton_Click() {
  if (file_chosen()) {
    const std::filesystem::path path = host_path(folder_, Cur_file_);
    const Status saved = write_file_atomically(path, template_file_bytes(RTB1->toPlainText()));
    if (!saved) {
      // The editor stays open with the text, so nothing typed is lost.
      inform_(this, windowTitle(),
              QStringLiteral("%1 を保存できませんでした。\n%2")
                  .arg(QString::fromStdString(display_path(path)),
                       QString::fromStdString(saved.error().message)));
      return;
    }
    note_->clear();
  }
  hide();
}

void TemplateEditor::CancelButton_Click() { hide(); }

}  // namespace makenc
