// Single-line text field.
#include "tedit.h"

namespace orvane {

TEdit::TEdit(QWidget* parent) : QLineEdit(parent) {}

void TEdit::setPasswordEcho() {
    setEchoMode(QLineEdit::Password);
    // The style's own mask character differs between styles; 42 is "*".
    setStyleSheet("lineedit-password-character: 42");
}

} // namespace orvane
