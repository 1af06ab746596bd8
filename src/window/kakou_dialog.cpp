#include "window/kakou_dialog.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <string>
#include <vector>

#include "core/files.h"
#include "core/number_text.h"
#include "core/settings_check.h"
#include "core/text.h"

namespace makenc {

namespace {

// The height of one line of text in the font the layout was drawn for.
constexpr int kLayoutLineHeight = 12;

// A line break typed or pasted into a box would shift every later line of
// the file; the file holds one value per line.
std::string line_text(const QLineEdit* box) {
  QString text = box->text();
  text.remove(QLatin1Char('\r'));
  text.remove(QLatin1Char('\n'));
  return to_cp932(text);
}

QLabel* label(QWidget* parent, const char* name, const QString& text, const QRect& place) {
  auto* l = new QLabel(text, parent);
  l->setObjectName(QString::fromLatin1(name));
  l->setGeometry(place);
  l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  // Only the labels drawn two lines high wrap.
  l->setWordWrap(place.height() >= 2 * kLayoutLineHeight);
  fit_caption(l, place.width());
  return l;
}

}  // namespace

KakouDialog::KakouDialog(Settings& settings, const std::filesystem::path& folder, WindowHooks::Inform inform,
                         QWidget* parent)
    : QDialog(parent),
      settings_(settings),
      file_(host_path(folder, "Zemlak\\Bin\\set.ini")),
      inform_(std::move(inform)) {
  setObjectName(QStringLiteral("kakou"));
  setWindowTitle(QStringLiteral("加工指示"));
  setAttribute(Qt::WA_DeleteOnClose);
  setModal(false);
  setFixedSize(twips_to_px(5250), twips_to_px(4830));
  build_layout();
  Form_Load();
}

QLineEdit* KakouDialog::text_box(QWidget* parent, const QString& name, const QRect& place) {
  auto* box = new QLineEdit(parent);
  box->setObjectName(name);
  box->setGeometry(place);
  return box;
}

void KakouDialog::build_layout() {
  S_com = new QPushButton(QStringLiteral("決定"), this);
  S_com->setObjectName(QStringLiteral("S_com"));
  S_com->setGeometry(twips_rect(2880, 4320, 855, 375));
  escape = new QPushButton(QStringLiteral("キャンセル"), this);
  escape->setObjectName(QStringLiteral("escape"));
  escape->setGeometry(twips_rect(3960, 4320, 1095, 375));
  // The buttons come first in the tab order, so no box is entered at once.
  for (QPushButton* b : {S_com, escape}) b->setAutoDefault(false);

  label(this, "Label3", QStringLiteral("小数点"), twips_rect(120, 285, 855, 195));
  S_suu = text_box(this, QStringLiteral("S_suu"), twips_rect(1080, 240, 855, 285));
  label(this, "Label2", QStringLiteral("許容誤差"), twips_rect(120, 600, 855, 285));
  GOSA = text_box(this, QStringLiteral("GOSA"), twips_rect(1080, 600, 855, 285));
  label(this, "Label1", QStringLiteral("アプローチ"), twips_rect(120, 960, 975, 315));
  Apr = text_box(this, QStringLiteral("Apr"), twips_rect(1080, 960, 855, 285));
  label(this, "Label11", QStringLiteral("マーキング　　加工条件"), twips_rect(2400, 240, 975, 495));
  M_Joukn = text_box(this, QStringLiteral("M_Joukn"), twips_rect(3600, 240, 1335, 270));
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
  auto* frame = new QGroupBox(QStringLiteral("加工条件"), this);
  frame->setObjectName(QStringLiteral("K_Joukn"));
  frame->setGeometry(twips_rect(120, 1560, 4935, 2655));
  label(frame, "Label4", QStringLiteral("穴or 円弧Ｒ"), twips_rect(1080, 360, 975, 375));
  label(frame, "Label5", QStringLiteral("線長さ　 までの"), twips_rect(2400, 360, 1215, 255));
  label(frame, "Label6", QStringLiteral("加工条件"), twips_rect(3840, 360, 735, 255));
  label(frame, "Label7", QStringLiteral("小形"), twips_rect(240, 600, 495, 255));
  label(frame, "Label12", QStringLiteral("=>"), twips_rect(3480, 720, 255, 255));
  label(frame, "Label9", QStringLiteral("大形"), twips_rect(240, 840, 495, 255));
  label(frame, "Label13", QStringLiteral("これより大きいものはジョイント付（外周は例外）"),
        twips_rect(720, 1200, 4095, 255));
  label(frame, "Label8", QStringLiteral("ジョイント付"), twips_rect(120, 1440, 975, 255));
  label(frame, "Label10", QStringLiteral("ジョイント長(共通）"), twips_rect(2040, 2040, 1575, 255));
  constexpr std::array<int, 3> kRowTop{600, 840, 1440};
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    const QString n = QString::number(i + 1);
    rows_[i].R_min = text_box(frame, QStringLiteral("R_min") + n, twips_rect(1080, kRowTop[i], 975, 270));
    rows_[i].L_min = text_box(frame, QStringLiteral("L_min") + n, twips_rect(2280, kRowTop[i], 975, 270));
    rows_[i].K_Joukn = text_box(frame, QStringLiteral("K_Joukn") + n, twips_rect(3840, kRowTop[i], 855, 270));
  }
  joint = text_box(frame, QStringLiteral("joint"), twips_rect(3840, 2032, 855, 270));
}

void KakouDialog::Form_Load() {
  S_suu->setText(QString::number(settings_.ini_S_suu));
  GOSA->setText(from_cp932(settings_.ini_GOSA));
  Apr->setText(from_cp932(settings_.ini_Apr));
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    const CondRow& row = settings_.ini_Cond[i];
    rows_[i].R_min->setText(from_cp932(row.R_min()));
    rows_[i].L_min->setText(from_cp932(row.L_min()));
    rows_[i].K_Joukn->setText(from_cp932(row.K_Joukn()));
  }
  M_Joukn->setText(from_cp932(settings_.ini_M_Joukn));
  joint->setText(QString::fromStdString(single_text(settings_.ini_joint)));
}

// A value a run would refuse is not saved: the message names the box, the
// box is selected for correcting, and the dialog stays open.
bool KakouDialog::refuse_unusable(const std::vector<std::string>& lines) {
  Settings typed = settings_;
  read_set_ini_lines(lines, typed);
  const struct {
    QLineEdit* box;
    const char* caption;
    Status status;
  } checks[] = {{GOSA, "許容誤差", check_tolerance(typed)},
                {Apr, "アプローチ", check_approach_length(typed.ini_Apr, typed.ini_S_suu)},
                {joint, "ジョイント長", check_joint_length(typed)}};
  for (const auto& c : checks) {
    if (c.status) continue;
    inform_(this, windowTitle(),
            QStringLiteral("%1 の値では加工できません。設定は保存していません。\n%2")
                .arg(QString::fromUtf8(c.caption), QString::fromStdString(c.status.error().message)));
    c.box->setFocus();
    c.box->selectAll();
    return true;
  }
  return false;
}

void KakouDialog::S_com_Click() {
  std::vector<std::string> lines{line_text(GOSA), line_text(Apr), line_text(S_suu)};
  for (const ConditionRow& row : rows_)
    lines.push_back(line_text(row.R_min) + " " + line_text(row.L_min) + " " + line_text(row.K_Joukn));
  lines.push_back(line_text(M_Joukn));
  lines.push_back(line_text(joint));
  if (refuse_unusable(lines)) return;
  const Status written = write_file_atomically(file_, join_crlf(lines));
  if (!written) {
    // The dialog stays open so that what was typed is not lost.
    inform_(this, windowTitle(),
            QStringLiteral("設定ファイル %1 を保存できませんでした。\n%2")
                .arg(QString::fromStdString(display_path(file_)),
                     QString::fromStdString(written.error().message)));
    return;
  }
  read_set_ini(file_, settings_);
  close();
}

void KakouDialog::escape_Click() { close(); }

}  // namespace makenc
