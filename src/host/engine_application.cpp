// Starting Qt for the engine.
#include "engine_application.h"

#include <cstdlib>
#include <iostream>
#include <utility>
#include <vector>

namespace orvane {

namespace {

std::string g_program;
QtMessageHandler g_previousHandler = nullptr;
// Qt's platform messages while the application starts: shown only when it did start.
std::vector<std::pair<QtMsgType, std::string>>* g_heldMessages = nullptr;

void reportNoDisplay() {
    std::cerr << g_program
              << ": no display to show the installer on (DISPLAY or WAYLAND_DISPLAY is not set or "
                 "cannot be reached); to install without windows, use --answers FILE\n";
    std::_Exit(1);
}

// Qt ends the process with a fatal message when no platform plugin can start; what it says
// before that is held back.
void startupMessageHandler(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtFatalMsg)
        reportNoDisplay();
    g_heldMessages->emplace_back(type, message.toStdString());
}

// Runs without windows keep Qt's notes on windows nobody sees (a plugin that cannot raise a
// window, a missing runtime folder) off stderr, which then holds only what the run says.
void quietMessageHandler(QtMsgType type, const QMessageLogContext& context,
                         const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        g_previousHandler(type, context, message);
}

bool displayNamed() {
    return !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") ||
           !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

} // namespace

std::unique_ptr<QApplication> makeEngineApplication(bool offscreen, const std::string& program) {
    g_program = program;
    if (offscreen)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    else if (!displayNamed())
        reportNoDisplay();
    // Qt's own command-line options are not offered: the engine's options are its own.
    static int argc = 1;
    static std::string name = program;
    static char* argv[] = {name.data(), nullptr};
    std::vector<std::pair<QtMsgType, std::string>> held;
    g_heldMessages = &held;
    g_previousHandler = qInstallMessageHandler(startupMessageHandler);
    auto application = std::make_unique<QApplication>(argc, argv);
    g_heldMessages = nullptr;
    if (offscreen) {
        qInstallMessageHandler(quietMessageHandler);
        return application;
    }
    qInstallMessageHandler(g_previousHandler);
    for (const auto& [type, text] : held)
        qt_message_output(type, QMessageLogContext(), QString::fromStdString(text));
    return application;
}

} // namespace orvane
