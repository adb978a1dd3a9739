// One run of a script, headless-capable.
#include "script_session.h"

#include "script_error.h"

#include <new>
#include <unistd.h>

namespace orvane {

namespace {

constexpr const char* kOutOfMemory = "Nicht genug Speicher";

// The report of last resort, when even the error report could not be shown: a bare system
// call that needs no memory.
void writeOutOfMemoryLine() {
    static constexpr char line[] = "Installer: Nicht genug Speicher.\n";
    [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, line, sizeof line - 1);
}

} // namespace

ScriptSession::ScriptSession(MessageDialog& dialog, const PackageAccess* package,
                             InstallObserver* observer)
    : m_dialog(dialog), m_parser(m_scanner, dialog), m_interpreter(m_parser, dialog),
      m_registry(registryFilesFromEnvironment()),
      m_builtins(
          BuiltinServices{dialog, package, nullptr, nullptr, &m_registry, observer, &m_shell}) {
    m_builtins.attach(m_interpreter);
}

void ScriptSession::showErrorReport(const std::string& text) {
    std::string shown = text;
    if (!shown.empty() && static_cast<unsigned char>(shown.back()) > '.')
        shown += '.';
    m_dialog.show(shown, "Installer", mbIconError);
}

RunOutcome ScriptSession::run(std::string_view scriptText) {
    try {
        return runReported(scriptText);
    } catch (const std::bad_alloc&) {
        // Nothing is allocated in here: the report comes once the handler has been left and
        // the script's memory is free again.
        m_outOfMemory = true;
    }
    reportOutOfMemory();
    return RunOutcome::failed;
}

void ScriptSession::reportOutOfMemory() {
    m_interpreter.releaseAllVariables();
    try {
        showErrorReport(kOutOfMemory);
    } catch (const std::exception&) {
        writeOutOfMemoryLine();
    }
}

// The run with its errors shown; running out of memory leaves it unreported.
RunOutcome ScriptSession::runReported(std::string_view scriptText) {
    try {
        m_scanner.scan(splitScriptLines(scriptText));
        if (!m_parser.parse(m_scanner.token)) {
            m_dialog.show("Parsing failed", "Fatal Error", mbIconError);
            return RunOutcome::failed;
        }
        m_uninstall.emplace();
        m_builtins.services().uninstall = &*m_uninstall;
        m_interpreter.prepareToRun();
        m_interpreter.preCheck();
        return runPrepared();
    } catch (const std::exception& e) {
        passOutOfMemory(e);
        showErrorReport(e.what());
        return RunOutcome::failed;
    }
}

RunOutcome ScriptSession::runPrepared() {
    if (m_beforeMain)
        m_beforeMain();
    // The first object main creates is entry 1.
    m_interpreter.guiObjects.clear();
    const tNode* mainDeclaration = m_interpreter.getFunctionDeklNode("main");
    if (mainDeclaration == nullptr) {
        m_dialog.show("Main-Funktion nicht gefunden", "Fataler Fehler", mbIconError);
        return RunOutcome::failed;
    }
    tNode* call = m_parser.newNode(ttFuncCall, "main");
    tVariable* unchanged = nullptr;
    m_interpreter.callFunction(call, nullptr, unchanged);
    if (m_afterMain)
        m_afterMain();
    m_interpreter.releaseGlobalVarStack();
    return RunOutcome::mainReturned;
}

} // namespace orvane
