#include "window/qt/shop_dialog.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <string>

#include "app/shop_form.h"

namespace makenc {

namespace {

QRect place_of(const ControlSpec& spec) { return twips_rect(spec.left, spec.top, spec.width, spec.height); }

}  // namespace

ShopDialog::ShopDialog(Settings& settings, const std::filesystem::path& folder, WindowHooks::Inform inform,
                       QWidget* parent)
    : QDialog(parent), settings_(settings), folder_(folder), inform_(std::move(inform)) {
  setObjectName(QString::fromUtf8(kShopForm.name));
  setWindowTitle(QString::fromUtf8(kShopForm.caption));
  setAttribute(Qt::WA_DeleteOnClose);
  setModal(false);
  setFixedSize(twips_to_px(kShopForm.client_width), twips_to_px(kShopForm.client_height));
  QWidget* previous = nullptr;
  for (const ControlSpec& spec : kShopForm.controls) {
    QWidget* parent_widget = spec.frame.empty() ? static_cast<QWidget*>(this) : control(spec.frame);
    const QString text = QString::fromUtf8(spec.text);
    QWidget* w = nullptr;
    switch (spec.kind) {
      case ControlKind::Button: {
        auto* b = new QPushButton(text, parent_widget);
        b->setAutoDefault(false);
        w = b;
        break;
      }
      case ControlKind::Frame: w = new QGroupBox(text, parent_widget); break;
      case ControlKind::OptionButton: w = new QRadioButton(text, parent_widget); break;
      case ControlKind::TextBox: w = new QLineEdit(parent_widget); break;
      default: w = new QLabel(text, parent_widget); break;
    }
    w->setObjectName(QString::fromUtf8(spec.name));
    w->setGeometry(place_of(spec));
    if (spec.kind == ControlKind::Label) fit_caption(w, w->width());
    if (spec.kind == ControlKind::TextBox || spec.kind == ControlKind::Button ||
        spec.kind == ControlKind::OptionButton) {
      if (previous != nullptr) setTabOrder(previous, w);
      previous = w;
    }
  }
  connect(static_cast<QPushButton*>(control("S_com")), &QPushButton::clicked, this, &ShopDialog::S_com_Click);
  connect(static_cast<QPushButton*>(control("escape")), &QPushButton::clicked, this,
          &ShopDialog::escape_Click);
  control("S_com")->setFocus();
  Form_Load();
}

QWidget* ShopDialog::control(std::string_view name) const {
  return findChild<QWidget*>(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
}

void ShopDialog::Form_Load() {
  for (const BoxText& b : shop_box_texts(settings_)) {
    QWidget* w = control(b.box);
    if (auto* box = qobject_cast<QLineEdit*>(w)) box->setText(QString::fromStdString(b.text));
    if (auto* l = qobject_cast<QLabel*>(w)) l->setText(QString::fromStdString(b.text));
  }
  const bool arc = shop_arc_chosen(settings_);
  static_cast<QRadioButton*>(control(arc ? "lead_arc" : "lead_line"))->setChecked(true);
}

void ShopDialog::S_com_Click() {
  const auto box_text = [this](std::string_view box) {
    return static_cast<QLineEdit*>(control(box))->text().toStdString();
  };
  const bool arc = static_cast<QRadioButton*>(control("lead_arc"))->isChecked();
  std::string refused;
  const Status saved = save_shop_options(box_text, arc, folder_, settings_, &refused);
  if (!saved) {
    if (auto* box = qobject_cast<QLineEdit*>(refused.empty() ? nullptr : control(refused))) {
      box->setFocus();
      box->selectAll();
    }
    // The dialog stays open so that what was typed is not lost.
    inform_(this, windowTitle(), QString::fromStdString(saved.error().message));
    return;
  }
  emit options_saved();
  close();
}

void ShopDialog::escape_Click() { close(); }

}  // namespace makenc
