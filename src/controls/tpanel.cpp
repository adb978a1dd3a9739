// Panels.
#include "tpanel.h"

#include <QApplication>
#include <QPainter>

namespace orvane {

TPanel::TPanel(QWidget* parent) : QFrame(parent) {
    // The background colour is set here, not inherited: a panel inside a coloured panel
    // keeps the plain colour until it gets one of its own.
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QApplication::palette(this).color(QPalette::Window));
    setPalette(colours);
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
