#pragma once

class QLabel;
class QWidget;

namespace velmora {

// Makes `label` the buddy label of `control`. A control without an accessible name of its own
// (from its design, or a button's caption) is then named by the label's text, and keeps
// following it through LabelTextChanged.
void PairWithLabel(QWidget* control, QLabel* label);
// To be called after code changed a label's text.
void LabelTextChanged(QLabel* label);

}  // namespace velmora
