// Modal forms and their loops.
#include "modal_loops.h"

#include "script_error.h"
#include "tform.h"

#include <QEventLoop>
#include <QTimer>

#include <utility>

namespace orvane {

void ModalLoops::run(TForm* form) {
    rethrowPending();
    if (form->isVisible())
        throw ScriptError("Sichtbares Fenster kann nicht in modales geändert werden");
    const QPointer<TForm> guard(form);
    form->setWindowModality(Qt::ApplicationModal);
    form->show();
    QEventLoop loop;
    QObject::connect(form, &TForm::hidden, &loop, &QEventLoop::quit);
    QObject::connect(form, &QObject::destroyed, &loop, &QEventLoop::quit);
    m_loops.push_back(&loop);
    scheduleWait(loop, guard);
    loop.exec(QEventLoop::DialogExec);
    m_loops.pop_back();
    if (guard) {
        guard->hide();
        guard->setWindowModality(Qt::NonModal);
    }
    rethrowPending();
}

void ModalLoops::abort(std::exception_ptr error) {
    if (!m_pending)
        m_pending = std::move(error);
    for (QEventLoop* loop : m_loops)
        loop->quit();
}

void ModalLoops::rethrowPending() {
    if (m_pending)
        std::rethrow_exception(std::exchange(m_pending, nullptr));
}

void ModalLoops::scheduleWait(QEventLoop& loop, const QPointer<TForm>& form) {
    if (!m_waitHook)
        return;
    QTimer::singleShot(0, &loop, [this, &loop, form] { serveWait(loop, form); });
}

// One turn of the stand-in user, then the next once this turn is over and the form
// still waits.
void ModalLoops::serveWait(QEventLoop& loop, const QPointer<TForm>& form) {
    if (!form || !form->isVisible() || m_pending)
        return;
    try {
        m_waitHook();
    } catch (...) {
        abort(std::current_exception());
        return;
    }
    if (form && form->isVisible() && !m_pending)
        scheduleWait(loop, form);
}

} // namespace orvane
