// Panels.
#include "tpanel.h"

#include <QPainter>

namespace orvane {

TPanel::TPanel(QWidget* parent) : QFrame(parent) {
    setAutoFillBackground(true);
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(1);
}

void TPanel::setCaption(const QString& caption) {
    m_caption = caption;
    update();
}

void TPanel::removeBevels() {
    setFrameStyle(QFrame::NoFrame);
}

void TPanel::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    if (m_caption.isEmpty())
        return;
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(contentsRect(), Qt::AlignCenter, m_caption);
}

} // namespace orvane
