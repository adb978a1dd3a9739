// ScriptSession: the scanner, parser, interpreter and built-ins of one run, and the
// run itself from the script text to the end of `main`.
//
// It holds no windows: message boxes go through the MessageDialog it is given, so the
// same session runs in the engine (real boxes) and headless (recorded boxes).
#pragma once

#include "builtin_catalogue.h"
#include "c_interpreter.h"
#include "c_parser.h"
#include "c_scanner.h"
#include "linux_shell.h"
#include "registry_store.h"
#include "uninstall_list.h"

#include <functional>
#include <optional>

#include <string>
#include <string_view>

namespace orvane {

// How a run ended, as the engine's exit status reports it.
enum class RunOutcome : int {
    mainReturned = 0, // `main` ran to its end
    failed = 1,       // a fatal box or the standard error report was shown
};

class ScriptSession {
  public:
    ScriptSession(MessageDialog& dialog, const PackageAccess* package,
                  InstallObserver* observer = nullptr);

    // Scans, parses, prepares, pre-checks and runs `main`. Every failure is shown
    // through the dialog (the parser's box, the driver's fatal boxes, the standard
    // error report) before the run ends. Running out of memory ends the run as well:
    // the script's variables are freed and the report says "Nicht genug Speicher".
    RunOutcome run(std::string_view scriptText);

    // Called once the program is prepared and pre-checked, right before `main` is
    // looked up (the engine hides its start window here).
    void setBeforeMain(std::function<void()> beforeMain) { m_beforeMain = std::move(beforeMain); }
    // Called when `main` has returned, still inside the run's error handling (the windows
    // raise here what a handler left for a modal loop that was not running).
    void setAfterMain(std::function<void()> afterMain) { m_afterMain = std::move(afterMain); }

    // The standard error report: the error's text with "." appended when its last
    // character sorts after ".", caption "Installer", error icon.
    void showErrorReport(const std::string& text);

    // Lets the windows repaint while installFile writes a large file (see PaintBetweenChunks).
    void setPaintBetweenChunks(PaintBetweenChunks hook) {
        m_builtins.services().paintBetweenChunks = std::move(hook);
    }

    // The process exit status for `outcome`: the script's own (setExitCode, 0 unless set) when
    // main returned, else 1.
    int exitStatus(RunOutcome outcome) const {
        return outcome == RunOutcome::mainReturned ? m_builtins.services().exitCode
                                                   : static_cast<int>(outcome);
    }

    // Whether the run ended because memory ran out.
    bool ranOutOfMemory() const { return m_outOfMemory; }

    BuiltinHost& builtins() { return m_builtins; }
    // The uninstall list; it exists once the script has been parsed.
    const UninstallList* uninstallList() const { return m_uninstall ? &*m_uninstall : nullptr; }
    TCInterpreterEx& interpreter() { return m_interpreter; }

  private:
    RunOutcome runReported(std::string_view scriptText);
    RunOutcome runPrepared();
    void reportOutOfMemory();

    MessageDialog& m_dialog;
    TScanner m_scanner;
    TParser m_parser;
    TCInterpreterEx m_interpreter;
    RegistryStore m_registry;
    LinuxShell m_shell;
    std::optional<UninstallList> m_uninstall;
    BuiltinHost m_builtins;
    std::function<void()> m_beforeMain;
    std::function<void()> m_afterMain;
    bool m_outOfMemory = false;
};

} // namespace orvane
