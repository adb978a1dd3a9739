// The hyperlink label.
#include "Hyperlink33.h"

#include <QMessageBox>
#include <QMetaMethod>
#include <QMouseEvent>
#include <QPointer>

namespace orvane {

namespace {

// Pure blue: 0xFF0000 in the Windows colour layout (blue 255, green 0, red 0).
const QColor kLinkColour(0, 0, 255);

void showErrorBox(const QString& text, const QString& caption) {
    QMessageBox box(QMessageBox::Critical, caption, text, QMessageBox::Ok);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

} // namespace

THyperLink::THyperLink(QWidget* parent)
    : TLabel(parent), m_opener(DesktopOpener()), m_notice(&showErrorBox) {
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, kLinkColour);
    setPalette(colours);
    QFont look = font();
    look.setBold(true);
    look.setUnderline(true);
    setFont(look);
    setAutoFillBackground(false);
    setCursor(Qt::PointingHandCursor);
}

void THyperLink::Click() {
    if (m_furl.isEmpty()) {
        if (isSignalConnected(QMetaMethod::fromSignal(&THyperLink::clicked)))
            emit clicked();
        else
            m_notice("Keine URL angegeben!", "Fehler");
        return;
    }
    // The answer may come after the link is gone; then nobody is told.
    m_opener(m_furl, [link = QPointer<THyperLink>(this)](bool opened) {
        if (!opened && link)
            link->m_notice("Konnte keinen Internet-Browser finden!", "Fehler!");
    });
}

void THyperLink::mousePressEvent(QMouseEvent* event) {
    m_pressed = event->button() == Qt::LeftButton;
}

void THyperLink::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = m_pressed && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    m_pressed = false;
    if (click)
        Click();
}

// Italic goes on and off on top of whatever style the font has.
void THyperLink::setItalic(bool italic) {
    QFont look = font();
    look.setItalic(italic);
    setFont(look);
}

void THyperLink::enterEvent(QEnterEvent* event) {
    TLabel::enterEvent(event);
    setItalic(true);
}

void THyperLink::leaveEvent(QEvent* event) {
    TLabel::leaveEvent(event);
    setItalic(false);
}

} // namespace orvane
