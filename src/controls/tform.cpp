// Script windows.
#include "tform.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QHideEvent>
#include <QScreen>
#include <QWindow>

namespace orvane {

TForm::TForm(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint) {
    setAttribute(Qt::WA_QuitOnClose, false);
}

void TForm::setVisible(bool visible) {
    if (visible && m_screenCenter && !isVisible()) {
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            move(screen->availableGeometry().center() - rect().center());
    }
    QWidget::setVisible(visible);
}

void TForm::paintNow() {
    if (!isVisible())
        return;
    if (const QWindow* window = windowHandle(); window != nullptr && !window->isExposed())
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    repaint();
}

void TForm::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    // A spontaneous hide is the window system minimizing the window.
    if (!event->spontaneous())
        emit hidden();
}

} // namespace orvane
