// The hyperlink label.
#include "Hyperlink33.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QMessageBox>
#include <QMetaMethod>
#include <QMouseEvent>
#include <QProcess>
#include <QUrl>

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
    : TLabel(parent), m_opener(&THyperLink::openWithDesktop), m_notice(&showErrorBox) {
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

bool THyperLink::openWithDesktop(const QString& target) {
    const QFileInfo file(target);
    if (file.isFile() && file.isExecutable())
        return QProcess::startDetached(file.absoluteFilePath(), {}, file.absolutePath());
    if (file.exists())
        return QDesktopServices::openUrl(QUrl::fromLocalFile(file.absoluteFilePath()));
    return QDesktopServices::openUrl(QUrl::fromUserInput(target));
}

void THyperLink::Click() {
    if (m_furl.isEmpty()) {
        if (isSignalConnected(QMetaMethod::fromSignal(&THyperLink::clicked)))
            emit clicked();
        else
            m_notice("Keine URL angegeben!", "Fehler");
        return;
    }
    if (!m_opener(m_furl))
        m_notice("Konnte keinen Internet-Browser finden!", "Fehler!");
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
