// Progress bar.
#include "tprogressbar.h"

#include <algorithm>

namespace orvane {

TProgressBar::TProgressBar(QWidget* parent) : QProgressBar(parent) {
    setRange(0, 100);
    setValue(0);
    setTextVisible(false);
}

void TProgressBar::setPosition(int position) {
    setValue(std::clamp(position, minimum(), maximum()));
}

} // namespace orvane
