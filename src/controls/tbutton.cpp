// Push button.
#include "tbutton.h"

namespace orvane {

TButton::TButton(QWidget* parent) : QPushButton(parent) {
    // Return in a text field must not press some button of the window.
    setAutoDefault(false);
}

} // namespace orvane
