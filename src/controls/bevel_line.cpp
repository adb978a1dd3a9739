// The etched bottom line: a shadow line with a highlight line below it.
#include "bevel_line.h"

#include <QPainter>

namespace orvane {

TBevelLine::TBevelLine(QWidget* parent) : QWidget(parent) {}

void TBevelLine::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    const int bottom = height() - 1;
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawLine(0, bottom - 1, width() - 1, bottom - 1);
    painter.setPen(palette().color(QPalette::Light));
    painter.drawLine(0, bottom, width() - 1, bottom);
}

} // namespace orvane
