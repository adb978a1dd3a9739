// Check box.
#include "tcheckbox.h"

namespace orvane {

TCheckBox::TCheckBox(QWidget* parent) : QCheckBox(parent) {
    setChecked(false);
}

} // namespace orvane
