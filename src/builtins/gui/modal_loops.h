// ModalLoops: forms shown modally, each waiting in its own event loop.
//
// Design. showModal shows its form application-modal and runs a nested event loop
// until the form is hidden (closeForm, the close button) or destroyed; handlers of
// the form's controls run inside that loop, and may show another form modally, which
// nests a further loop.
//
// An exception must never travel through Qt's event code. Handler errors are reported
// where the event arrives (see ScriptWindows::deliver); anything else that has to end
// the run from inside a loop (a headless run's scenario stopping it) is handed to
// abort(): every running loop is asked to end, and the innermost showModal raises the
// exception again once its loop has returned, so it unwinds through the script's calls
// to the next event boundary or out of main.
//
// A wait hook, when set, stands in for the user: it is called whenever a modal loop
// waits, once per call, until the form is gone (headless runs act from it).
#pragma once

#include <QPointer>

#include <exception>
#include <functional>
#include <vector>

class QEventLoop;

namespace orvane {

class TForm;

class ModalLoops {
  public:
    // Shows `form` modally and returns when it is hidden or destroyed. Raises
    // "Sichtbares Fenster kann nicht in modales geändert werden" for a visible form,
    // and the aborting exception when the run was aborted meanwhile.
    void run(TForm* form);

    // Ends every running loop; the exception is raised again as described above.
    void abort(std::exception_ptr error);
    // Raises an abort that no loop has raised yet (for the end of a run).
    void rethrowPending();

    void setWaitHook(std::function<void()> hook) { m_waitHook = std::move(hook); }
    // How many modal loops are running.
    int depth() const { return static_cast<int>(m_loops.size()); }

  private:
    void scheduleWait(QEventLoop& loop, const QPointer<TForm>& form);
    void serveWait(QEventLoop& loop, const QPointer<TForm>& form);

    std::vector<QEventLoop*> m_loops;
    std::exception_ptr m_pending;
    std::function<void()> m_waitHook;
};

} // namespace orvane
