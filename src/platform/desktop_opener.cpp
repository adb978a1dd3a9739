// DesktopOpener on QProcess.
#include "desktop_opener.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QTimer>
#include <QUrl>

#include <memory>
#include <utility>

namespace orvane {

namespace {

// What the opener program is given: an existing file as its absolute path, anything else
// as an address ("example.org" becomes "http://example.org").
QString openerArgument(const QString& target) {
    const QFileInfo file(target);
    if (file.exists())
        return file.absoluteFilePath();
    const QUrl address = QUrl::fromUserInput(target);
    return address.isValid() ? QString::fromUtf8(address.toEncoded()) : target;
}

// Reports later from the event loop, never from inside the caller or a signal of the
// process, so that `done` may show a modal box.
void reportLater(const OpenResult& done, bool opened) {
    QTimer::singleShot(0, [done, opened] { done(opened); });
}

} // namespace

DesktopOpener::DesktopOpener(QString program, std::chrono::milliseconds deadline)
    : m_program(std::move(program)), m_deadline(deadline) {}

void DesktopOpener::operator()(const QString& target, const OpenResult& done) const {
    const QFileInfo file(target);
    if (file.isFile() && file.isExecutable())
        reportLater(done,
                    QProcess::startDetached(file.absoluteFilePath(), {}, file.absolutePath()));
    else
        runOpener(openerArgument(target), done);
}

void DesktopOpener::runOpener(const QString& argument, const OpenResult& done) const {
    // The process deletes itself when it ends; the first of its end, a failed start and the
    // deadline gives the result. One still running when the application ends is stopped
    // then (a browser it started keeps running).
    auto* process = new QProcess(QCoreApplication::instance());
    auto reported = std::make_shared<bool>(false);
    auto settle = [done, reported](bool opened) {
        if (!std::exchange(*reported, true))
            reportLater(done, opened);
    };
    QObject::connect(process, &QProcess::finished, process,
                     [process, settle](int code, QProcess::ExitStatus status) {
                         settle(status == QProcess::NormalExit && code == 0);
                         process->deleteLater();
                     });
    QObject::connect(process, &QProcess::errorOccurred, process,
                     [process, settle](QProcess::ProcessError error) {
                         if (error != QProcess::FailedToStart)
                             return;
                         settle(false);
                         process->deleteLater();
                     });
    QTimer::singleShot(m_deadline, process, [settle] { settle(true); });
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process->start(m_program, {argument});
}

} // namespace orvane
