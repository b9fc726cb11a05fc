#include "app/contour_dialogs.h"

#include "app/colour_swatch.h"

#include <QButtonGroup>
#include <QFontMetrics>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <cmath>

#include "core/number_format.h"
#include "graphics/contour_table_edits.h"
#include "settings/environment_entries.h"

namespace kestra::app {
namespace {

constexpr const char* kMinimumAboveMaximumMessage = "Minimum Contour > Maximum Contour";
constexpr const char* kTooManyLevelsMessage = "The range and interval give more than 32767 contour levels";
constexpr int kMostLabelDecimals = 9;

QString Shown(double value) { return QString::fromStdString(NumberText(value)); }

double Typed(const QLineEdit* field) { return LeadingNumber(field->text().toStdString()); }

// Rounded to an integer, halves to even.
int TypedInteger(const QLineEdit* field) { return static_cast<int>(std::nearbyint(Typed(field))); }

}  // namespace

ContourParameterDialog::ContourParameterDialog(const QString& caption, UserInterface& ui, QWidget* parent)
    : QDialog(parent), ui_(ui) {
  setWindowTitle(caption);
  // Wide enough for its whole caption in the title bar.
  setMinimumWidth(QFontMetrics(font()).horizontalAdvance(caption) + 160);
  new QFormLayout(this);
}

QLineEdit* ContourParameterDialog::AddField(const QString& label, const QString& text) {
  auto* field = new QLineEdit(text, this);
  field->setObjectName(QString("Text1_%1").arg(fields_.size()));
  static_cast<QFormLayout*>(layout())->addRow(label, field);
  fields_.push_back(field);
  return field;
}

void ContourParameterDialog::AddButtons() {
  auto* row = new QHBoxLayout;
  auto* ok = new QPushButton(tr("OK"), this);
  auto* cancel = new QPushButton(tr("Cancel"), this);
  ok->setObjectName("Command1_0");
  cancel->setObjectName("Command1_1");
  ok->setDefault(true);
  row->addWidget(ok);
  row->addWidget(cancel);
  static_cast<QFormLayout*>(layout())->addRow(row);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void ContourParameterDialog::Refuse(QLineEdit* field, const std::string& message, bool beep) {
  if (beep) ui_.Beep();
  ui_.ShowMessage(message, MessageIcon::Error, kApplicationTitle);
  field->setFocus();
}

ContourLevelsDialog::ContourLevelsDialog(const LevelRangeValues& initial, UserInterface& ui, QWidget* parent)
    : ContourParameterDialog(tr("Contour Levels"), ui, parent), values_(initial) {
  AddField(tr("Minimum="), Shown(initial.minimum));
  AddField(tr("Maximum="), Shown(initial.maximum));
  AddField(tr("Interval="), Shown(initial.interval));
  AddButtons();
}

void ContourLevelsDialog::accept() {
  const float minimum = static_cast<float>(Typed(fields_[0]));
  const float maximum = static_cast<float>(Typed(fields_[1]));
  const float interval = static_cast<float>(Typed(fields_[2]));
  if (minimum > maximum) return Refuse(fields_[0], kMinimumAboveMaximumMessage, false);
  if (!(interval > 0)) return Refuse(fields_[2], kPositiveValueMessage, false);
  // The table counts its levels in 16 bits.
  if (!LevelCountOfRange(minimum, maximum, interval)) return Refuse(fields_[2], kTooManyLevelsMessage, true);
  values_ = {minimum, maximum, interval};
  QDialog::accept();
}

ContourLabelsDialog::ContourLabelsDialog(int lastLevel, UserInterface& ui, QWidget* parent)
    : ContourParameterDialog(tr("Contour Labels"), ui, parent), lastLevel_(lastLevel) {
  AddField(tr("First labeled contour line:"), "1");
  AddField(tr("Labeled line frequency:"), "1");
  AddButtons();
}

void ContourLabelsDialog::accept() {
  const int first = TypedInteger(fields_[0]);
  const int frequency = TypedInteger(fields_[1]);
  const std::string range = CountRangeMessage(0, lastLevel_);
  if (first < 0 || first > lastLevel_) return Refuse(fields_[0], range, true);
  if (frequency < 0 || frequency > lastLevel_) return Refuse(fields_[1], range, true);
  first_ = first;
  frequency_ = frequency;
  QDialog::accept();
}

ContourColorsDialog::ContourColorsDialog(std::int32_t minimum, std::int32_t maximum, UserInterface& ui,
                                         QWidget* parent)
    : ContourParameterDialog(tr("Color Spectrum"), ui, parent), colours_{minimum, maximum} {
  const QString captions[2] = {tr("Minimum Color"), tr("Maximum Color")};
  for (int n = 0; n < 2; ++n) {
    buttons_[n] = new QPushButton(captions[n], this);
    buttons_[n]->setObjectName(QString("CmdBtn1_%1").arg(n));
    ShowSwatch(buttons_[n], colours_[n]);
    static_cast<QFormLayout*>(layout())->addRow(buttons_[n]);
    connect(buttons_[n], &QPushButton::clicked, this, [this, n] { ChooseColour(n); });
  }
  AddButtons();
}

void ContourColorsDialog::SetButtonColour(int index, std::int32_t colour) {
  colours_[index] = colour;
  ShowSwatch(buttons_[index], colour);
}

void ContourColorsDialog::ChooseColour(int index) {
  if (const auto chosen = app::ChooseColour(colours_[index], this)) SetButtonColour(index, *chosen);
}

OneValueDialog::OneValueDialog(const QString& caption, const QString& prompt, float initial, UserInterface& ui,
                               QWidget* parent)
    : ContourParameterDialog(caption, ui, parent), value_(initial) {
  AddField(prompt, Shown(initial));
  AddButtons();
}

void OneValueDialog::accept() {
  bool number = false;
  const double value = fields_[0]->text().trimmed().toDouble(&number);
  if (!number || !std::isfinite(value)) return Refuse(fields_[0], kValidValueMessage, false);
  if (!(value > 0)) return Refuse(fields_[0], kPositiveValueMessage, false);
  value_ = static_cast<float>(value);
  QDialog::accept();
}

LabelFormatDialog::LabelFormatDialog(const LabelFormatValues& initial, UserInterface& ui, QWidget* parent)
    : ContourParameterDialog(tr("Label Format"), ui, parent), values_(initial) {
  style_ = new QButtonGroup(this);
  auto* options = new QHBoxLayout;
  const QString captions[2] = {tr("Fixed"), tr("Exponential")};
  for (int n = 0; n < 2; ++n) {
    auto* option = new QRadioButton(captions[n], this);
    option->setObjectName(QString("Option1_%1").arg(n));
    option->setChecked(initial.style == n);
    style_->addButton(option, n);
    options->addWidget(option);
  }
  static_cast<QFormLayout*>(layout())->addRow(options);
  AddField(tr("Decimal digits:"), QString::number(initial.decimals));
  AddField(tr("Prefix:"), QString::fromStdString(initial.prefix));
  AddField(tr("Suffix:"), QString::fromStdString(initial.suffix));
  AddButtons();
}

void LabelFormatDialog::accept() {
  const int decimals = TypedInteger(fields_[0]);
  if (decimals < 0 || decimals > kMostLabelDecimals) return Refuse(fields_[0], CountRangeMessage(0, kMostLabelDecimals), true);
  values_.style = static_cast<std::int16_t>(style_->checkedId() == 1 ? 1 : 0);
  values_.decimals = static_cast<std::int16_t>(decimals);
  values_.prefix = fields_[1]->text().toStdString();
  values_.suffix = fields_[2]->text().toStdString();
  QDialog::accept();
}

}  // namespace kestra::app
