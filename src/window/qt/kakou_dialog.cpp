#include "window/qt/kakou_dialog.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <string>
#include <vector>

#include "app/forms.h"

namespace makenc {

namespace {

// The height of one line of text in the font the layout was drawn for.
constexpr int kLayoutLineHeight = 12;

QRect place_of(const ControlSpec& spec) { return twips_rect(spec.left, spec.top, spec.width, spec.height); }

QLabel* label(QWidget* parent, const char* name) {
  const ControlSpec& spec = kKakouForm[name];
  auto* l = new QLabel(QString::fromUtf8(spec.text), parent);
  l->setObjectName(QString::fromLatin1(name));
  l->setGeometry(place_of(spec));
  l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  // Only the labels drawn two lines high wrap.
  l->setWordWrap(l->height() >= 2 * kLayoutLineHeight);
  fit_caption(l, l->width());
  return l;
}

}  // namespace

KakouDialog::KakouDialog(Settings& settings, const std::filesystem::path& folder, WindowHooks::Inform inform,
                         QWidget* parent)
    : QDialog(parent), settings_(settings), folder_(folder), inform_(std::move(inform)) {
  setObjectName(QStringLiteral("kakou"));
  setWindowTitle(QStringLiteral("加工指示"));
  setAttribute(Qt::WA_DeleteOnClose);
  setModal(false);
  setFixedSize(twips_to_px(kKakouForm.client_width), twips_to_px(kKakouForm.client_height));
  build_layout();
  Form_Load();
}

QLineEdit* KakouDialog::text_box(QWidget* parent, const QString& name) {
  auto* box = new QLineEdit(parent);
  box->setObjectName(name);
  box->setGeometry(place_of(kKakouForm[name.toStdString()]));
  return box;
}

void KakouDialog::build_layout() {
  S_com = new QPushButton(QString::fromUtf8(kKakouForm["S_com"].text), this);
  S_com->setObjectName(QStringLiteral("S_com"));
  S_com->setGeometry(place_of(kKakouForm["S_com"]));
  escape = new QPushButton(QString::fromUtf8(kKakouForm["escape"].text), this);
  escape->setObjectName(QStringLiteral("escape"));
  escape->setGeometry(place_of(kKakouForm["escape"]));
  // The buttons come first in the tab order, so no box is entered at once.
  for (QPushButton* b : {S_com, escape}) b->setAutoDefault(false);

  label(this, "Label3");
  S_suu = text_box(this, QStringLiteral("S_suu"));
  label(this, "Label2");
  GOSA = text_box(this, QStringLiteral("GOSA"));
  label(this, "Label1");
  Apr = text_box(this, QStringLiteral("Apr"));
  label(this, "Label11");
  M_Joukn = text_box(this, QStringLiteral("M_Joukn"));
  build_condition_frame();

  setTabOrder(S_com, escape);
  setTabOrder(escape, S_suu);
  QWidget* previous = S_suu;
  for (QWidget* w : std::initializer_list<QWidget*>{
           GOSA, Apr, M_Joukn, rows_[0].R_min, rows_[0].L_min, rows_[0].K_Joukn, rows_[1].R_min,
           rows_[1].L_min, rows_[1].K_Joukn, rows_[2].R_min, rows_[2].L_min, rows_[2].K_Joukn, joint}) {
    setTabOrder(previous, w);
    previous = w;
  }
  S_com->setFocus();

  connect(S_com, &QPushButton::clicked, this, &KakouDialog::S_com_Click);
  connect(escape, &QPushButton::clicked, this, &KakouDialog::escape_Click);
}

void KakouDialog::build_condition_frame() {
  auto* frame = new QGroupBox(QString::fromUtf8(kKakouForm["K_Joukn"].text), this);
  frame->setObjectName(QStringLiteral("K_Joukn"));
  frame->setGeometry(place_of(kKakouForm["K_Joukn"]));
  label(frame, "Label4");
  label(frame, "Label5");
  label(frame, "Label6");
  label(frame, "Label7");
  label(frame, "Label12");
  label(frame, "Label9");
  label(frame, "Label13");
  label(frame, "Label8");
  label(frame, "Label10");
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    const QString n = QString::number(i + 1);
    rows_[i].R_min = text_box(frame, QStringLiteral("R_min") + n);
    rows_[i].L_min = text_box(frame, QStringLiteral("L_min") + n);
    rows_[i].K_Joukn = text_box(frame, QStringLiteral("K_Joukn") + n);
  }
  joint = text_box(frame, QStringLiteral("joint"));
}

void KakouDialog::Form_Load() {
  for (const BoxText& b : kakou_box_texts(settings_))
    findChild<QLineEdit*>(QString::fromUtf8(b.box))->setText(QString::fromStdString(b.text));
}

void KakouDialog::S_com_Click() {
  const auto box_text = [this](std::string_view box) {
    return findChild<QLineEdit*>(QString::fromUtf8(box))->text().toStdString();
  };
  std::string refused;
  const Status saved = save_kakou(box_text, folder_, settings_, &refused);
  if (!saved) {
    auto* box = refused.empty() ? nullptr : findChild<QLineEdit*>(QString::fromStdString(refused));
    if (box) {
      box->setFocus();
      box->selectAll();
    }
    // The dialog stays open so that what was typed is not lost.
    inform_(this, windowTitle(), QString::fromStdString(saved.error().message));
    return;
  }
  emit conditions_saved();
  close();
}

void KakouDialog::escape_Click() { close(); }

}  // namespace makenc
