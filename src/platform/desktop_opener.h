// Opening a link's target with the desktop, and learning whether that worked.
#pragma once

#include <QString>

#include <chrono>
#include <functional>

namespace orvane {

// Reports whether a target was opened.
using OpenResult = std::function<void(bool opened)>;

// An executable file is started on its own; anything else (a web address, a document) goes
// to the desktop's opener program, `xdg-open` unless another is given. That program ends
// with status 0 when it found something to open the target with, and with 1 to 4 when it
// did not; it may also stay as long as the program it started (with no desktop
// environment it waits for the browser), so a program still running at the deadline
// counts as opened. The window is never blocked: the result arrives through the event loop.
class DesktopOpener {
  public:
    explicit DesktopOpener(QString program = "xdg-open",
                           std::chrono::milliseconds deadline = std::chrono::seconds(10));

    // Opens `target`; `done` is called once, from the event loop, unless the process ends
    // first.
    void operator()(const QString& target, const OpenResult& done) const;

  private:
    void runOpener(const QString& argument, const OpenResult& done) const;

    QString m_program;
    std::chrono::milliseconds m_deadline;
};

} // namespace orvane
