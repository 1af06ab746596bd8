#include "window/qt/template_editor.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>
#include <algorithm>

#include "app/forms.h"
#include "core/text.h"

namespace makenc {

namespace {

// One line below the text box says when a file is new or unreadable.
constexpr int kNoteHeight = 300;

QRect place_of(const ControlSpec& spec) { return twips_rect(spec.left, spec.top, spec.width, spec.height); }

}  // namespace

QString template_text(const std::vector<std::string>& lines) {
  QStringList shown;
  for (const std::string& line : lines) shown.push_back(from_cp932(line));
  return shown.join(QLatin1Char('\n'));
}

std::string template_file_bytes(const QString& text) { return template_text_bytes(text.toStdString()); }

TemplateEditor::TemplateEditor(const std::filesystem::path& folder, WindowHooks::Inform inform,
                               QWidget* parent)
    : QDialog(parent), folder_(folder), inform_(std::move(inform)) {
  setObjectName(QStringLiteral("F_set"));
  setWindowTitle(QStringLiteral("ファイル設定"));
  setModal(false);
  setFixedSize(twips_to_px(kFSetForm.client_width), twips_to_px(kFSetForm.client_height + kNoteHeight));
  QPushButton* OKButton = button("OKButton", &TemplateEditor::OKButton_Click);
  QPushButton* CancelButton = button("CancelButton", &TemplateEditor::CancelButton_Click);
  build_options();
  RTB1 = new QPlainTextEdit(this);
  RTB1->setObjectName(QStringLiteral("RTB1"));
  RTB1->setGeometry(place_of(kFSetForm["RTB1"]));
  RTB1->setFont(japanese_font(11.25));
  RTB1->setLineWrapMode(QPlainTextEdit::NoWrap);
  note_ = new QLabel(this);
  note_->setObjectName(QStringLiteral("note"));
  note_->setGeometry(twips_rect(240, kFSetForm.client_height - 90, 5415, kNoteHeight));
  // SAVE first, CANCEL second, the text third: no option is chosen at first.
  setTabOrder(OKButton, CancelButton);
  setTabOrder(CancelButton, RTB1);
  OKButton->setFocus();
}

QPushButton* TemplateEditor::button(const char* name, Handler handler) {
  const ControlSpec& spec = kFSetForm[name];
  auto* b = new QPushButton(QString::fromUtf8(spec.text), this);
  b->setObjectName(QString::fromLatin1(name));
  b->setGeometry(place_of(spec));
  b->setFont(japanese_font(12));
  b->setAutoDefault(false);
  connect(b, &QPushButton::clicked, this, handler);
  return b;
}

void TemplateEditor::build_options() {
  auto* frame = new QGroupBox(QString::fromUtf8(kFSetForm["frame"].text), this);
  frame->setGeometry(place_of(kFSetForm["frame"]));
  options_ = new QButtonGroup(this);
  option(frame, "hed_op", &TemplateEditor::hed_op_Click);
  option(frame, "sta_op", &TemplateEditor::sta_op_Click);
  option(frame, "sta_opM", &TemplateEditor::sta_opM_Click);
  option(frame, "end_op", &TemplateEditor::end_op_Click);
  option(frame, "foot_op", &TemplateEditor::foot_op_Click);
}

void TemplateEditor::option(QWidget* frame, const char* name, Handler handler) {
  const ControlSpec& spec = kFSetForm[name];
  auto* b = new QRadioButton(QString::fromUtf8(spec.text), frame);
  b->setObjectName(QString::fromLatin1(name));
  b->setGeometry(place_of(spec));
  fit_caption(b, b->width());
  options_->addButton(b);
  connect(b, &QRadioButton::clicked, this, handler);
}

void TemplateEditor::hed_op_Click() { choose("hed_op"); }
void TemplateEditor::sta_op_Click() { choose("sta_op"); }
void TemplateEditor::sta_opM_Click() { choose("sta_opM"); }
void TemplateEditor::end_op_Click() { choose("end_op"); }
void TemplateEditor::foot_op_Click() { choose("foot_op"); }

void TemplateEditor::choose(const char* option) {
  Cur_file_ = template_file_of(option);
  load_template_text();
}

bool TemplateEditor::file_chosen() const { return Cur_file_.ends_with("ini"); }

void TemplateEditor::load_template_text() {
  if (!file_chosen()) return;
  const TemplateShown shown = load_template(folder_, Cur_file_);
  RTB1->setPlainText(QString::fromStdString(shown.text));
  note_->setText(QString::fromStdString(shown.note));
}

void TemplateEditor::OKButton_Click() {
  if (file_chosen()) {
    const Status saved = save_template(folder_, Cur_file_, RTB1->toPlainText().toStdString());
    if (!saved) {
      // The editor stays open with the text, so nothing typed is lost.
      inform_(this, windowTitle(), QString::fromStdString(saved.error().message));
      return;
    }
    note_->clear();
  }
  hide();
}

void TemplateEditor::CancelButton_Click() { hide(); }

}  // namespace makenc
