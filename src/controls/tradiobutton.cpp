// Radio button.
#include "tradiobutton.h"

namespace orvane {

TRadioButton::TRadioButton(QWidget* parent) : QRadioButton(parent) {
    setAutoExclusive(true);
    setChecked(false);
}

void TRadioButton::setState(bool checked) {
    // Qt keeps one button of an exclusive group checked; only outside the group can
    // the checked one be cleared.
    if (!checked && isChecked()) {
        setAutoExclusive(false);
        setChecked(false);
        setAutoExclusive(true);
        return;
    }
    setChecked(checked);
}

} // namespace orvane
