#include "toolkit/private/label_pairing.h"

#include <QAbstractButton>
#include <QLabel>
#include <QVariant>

namespace velmora {
namespace {

// Set on a control whose accessible name is its label's text.
constexpr char kNamedByLabel[] = "velmora_named_by_label";

}  // namespace

void PairWithLabel(QWidget* control, QLabel* label) {
  if (control == nullptr || label == nullptr) return;
  label->setBuddy(control);
  const auto* button = qobject_cast<const QAbstractButton*>(control);
  const bool own_name =
      (!control->accessibleName().isEmpty() && !control->property(kNamedByLabel).toBool()) ||
      (button != nullptr && !button->text().isEmpty());
  if (own_name) return;
  // Set rather than left to the buddy: the accessible interfaces would drop every '&' of a unit
  // name as a mnemonic, and tools hear of the change.
  control->setProperty(kNamedByLabel, true);
  control->setAccessibleName(label->text());
}

void LabelTextChanged(QLabel* label) {
  QWidget* control = label->buddy();
  if (control != nullptr && control->property(kNamedByLabel).toBool() &&
      control->accessibleName() != label->text()) {
    control->setAccessibleName(label->text());
  }
}

}  // namespace velmora
