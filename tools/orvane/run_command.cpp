// The headless runner: the run driver's steps from "programfile" to the end of main, with
// message boxes recorded into a JSON-lines transcript and answered from a scenario.
#include "run_command.h"

#include "file_text.h"
#include "folder_dialog_actions.h"
#include "folder_dialog_builtin.h"
#include "json_output.h"
#include "json_reader.h"
#include "orvaneOrdnerDialog.h"
#include "package_document.h"
#include "package_file.h"
#include "package_lookup.h"
#include "qt_translations.h"
#include "scenario.h"
#include "script_error.h"
#include "script_session.h"
#include "script_windows.h"
#include "transcript.h"
#include "window_actions.h"

#include <QApplication>
#include <QDialog>

#include <filesystem>
#include <iostream>
#include <memory>

namespace orvane {

namespace {

constexpr int kExitUsage = 2;
constexpr int kExitScenario = 3;

struct RunOptions {
    std::string scenarioFile;
    bool answerYes = false;
    std::string package;
    std::string script;
};

bool parseOptions(const std::vector<std::string>& args, RunOptions& options) {
    for (std::size_t k = 0; k < args.size(); ++k) {
        const std::string& arg = args[k];
        if (arg == "--yes") {
            options.answerYes = true;
        } else if (arg == "--scenario" && k + 1 < args.size()) {
            options.scenarioFile = args[++k];
        } else if (arg == "--script" && k + 1 < args.size()) {
            options.script = args[++k];
        } else if (!arg.empty() && arg[0] != '-' && options.package.empty()) {
            options.package = arg;
        } else {
            return false;
        }
    }
    return options.package.empty() != options.script.empty();
}

void printLine(const std::string& line) {
    std::cout << line << '\n' << std::flush;
}

// Shows boxes as transcript lines and answers them: OK boxes with OK, Yes/No boxes
// from the scenario (or always yes). While a Yes/No box waits, the scenario may look
// at the windows (dump, shot) before it answers.
class TranscriptDialog : public MessageDialog {
  public:
    TranscriptDialog(Scenario& scenario, bool answerYes)
        : m_scenario(scenario), m_answerYes(answerYes) {}

    void setWindowActions(WindowActions* actions) { m_actions = actions; }

    MessageAnswer show(const std::string& text, const std::string& caption, int flags) override {
        printLine(transcript::messageBoxEvent({text, caption, flags}));
        if (flags != mbYesNoQuestion)
            return idOk;
        if (m_answerYes)
            return idYes;
        for (;;) {
            const auto action = m_scenario.next();
            if (!action)
                throw ScenarioStop{"the scenario ran out while a Yes/No box was waiting"};
            if (action->verb == "yes")
                return idYes;
            if (action->verb == "no")
                return idNo;
            if (m_actions == nullptr || !WindowActions::onlyLooks(action->verb))
                throw ScenarioStop{"scenario line " + std::to_string(action->line) + ": '" +
                                   action->verb + "' does not answer a Yes/No box"};
            m_actions->perform(*action);
        }
    }

  private:
    Scenario& m_scenario;
    bool m_answerYes;
    WindowActions* m_actions = nullptr;
};

// The user's next turn while a modal form waits: one window action of the scenario.
void actWhileFormWaits(Scenario& scenario, WindowActions& actions) {
    const auto action = scenario.next();
    if (!action)
        throw ScenarioStop{"the scenario ran out while a modal form was waiting"};
    if (action->verb == "yes" || action->verb == "no")
        throw ScenarioStop{"scenario line " + std::to_string(action->line) + ": '" + action->verb +
                           "' does not fit: no Yes/No box is waiting"};
    actions.perform(*action);
}

// The user's turn while a window of the folder dialog waits: finish a begun `newfolder`,
// else one scenario action, the dialog's own (folder, cancel, newfolder) or one that only
// looks (dump, shot).
void actInFolderDialog(QDialog& window, Scenario& scenario, FolderDialogActions& folderActions,
                       WindowActions& actions) {
    if (folderActions.continuePending(window))
        return;
    const auto action = scenario.next();
    if (!action)
        throw ScenarioStop{"the scenario ran out while the folder dialog was waiting"};
    const std::string where = "scenario line " + std::to_string(action->line) + ": ";
    if (FolderDialogActions::handles(action->verb)) {
        const std::string problem = folderActions.perform(window, action->verb, action->arguments);
        if (!problem.empty())
            throw ScenarioStop{where + action->verb + ": " + problem};
    } else if (WindowActions::onlyLooks(action->verb)) {
        actions.perform(*action);
    } else {
        throw ScenarioStop{where + "'" + action->verb +
                           "' does not fit: the folder dialog is waiting"};
    }
}

// Gives the run the start form's folder dialog. A stop while the dialog waits must not
// travel through Qt's event code: it closes the dialog's windows and is raised again
// when showFolderDialog returns.
void connectFolderDialog(TOrvaneOrdnerDialog& folderDialog, FolderDialogActions& folderActions,
                         ScriptSession& session, ScriptWindows& windows, Scenario& scenario,
                         WindowActions& actions) {
    configureTargetFolderDialog(folderDialog);
    provideFolderDialog(session.builtins(), folderDialog,
                        [&windows] { windows.modalLoops().rethrowPending(); });
    QObject::connect(&folderDialog, &TOrvaneOrdnerDialog::waitingForUser, [&](QDialog* window) {
        try {
            actInFolderDialog(*window, scenario, folderActions, actions);
        } catch (...) {
            windows.modalLoops().abort(std::current_exception());
            for (QWidget* open = window; open != nullptr; open = open->parentWidget()) {
                if (auto* dialog = qobject_cast<QDialog*>(open))
                    dialog->reject();
            }
        }
    });
}

// Script windows need a QApplication; headless runs use Qt's offscreen platform unless
// QT_QPA_PLATFORM chooses another. None is made when the process has one already.
std::unique_ptr<QApplication> makeApplication() {
    if (QCoreApplication::instance() != nullptr)
        return nullptr;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "orvane";
    static char* argv[] = {name, nullptr};
    auto application = std::make_unique<QApplication>(argc, argv);
    QApplication::setApplicationName("Installer");
    QApplication::setQuitOnLastWindowClosed(false);
    return application;
}

class TranscriptObserver : public InstallObserver {
  public:
    void registryWritten(std::string_view path, std::string_view value) override {
        printLine(transcript::registryEvent(path, value));
    }
    void fileInstalled(std::string_view path, std::uint64_t bytes) override {
        printLine(transcript::fileEvent(path, bytes));
    }
    void linkCreated(std::string_view path, std::string_view target) override {
        printLine(transcript::linkEvent(path, target));
    }
};

// The package document for a bare script: one holding only "programfile".
PackageDocument scriptPackage(const std::string& scriptText) {
    return PackageDocument(readJson("{\"programfile\":" + jsonString(scriptText) + "}").document);
}

// The whole run after the options were read: 0, 1 or 3 as the exit event reports.
int runDriver(const RunOptions& options, Scenario& scenario, PackageDocument& document,
              const std::string& loadError) {
    TranscriptDialog dialog(scenario, options.answerYes);
    TranscriptObserver observer;
    PackageLookup lookup(document);
    ScriptSession session(dialog, &lookup, &observer);
    ScriptWindows windows(session.interpreter(),
                          [&session](const std::string& text) { session.showErrorReport(text); });
    windows.install(session.builtins());
    windows.setLinkOpener([](const QString& target, const OpenResult& done) {
        printLine(transcript::openEvent(target.toStdString()));
        done(true);
    });
    WindowActions actions(windows, printLine);
    dialog.setWindowActions(&actions);
    windows.modalLoops().setWaitHook([&] { actWhileFormWaits(scenario, actions); });
    TOrvaneOrdnerDialog folderDialog;
    FolderDialogActions folderActions;
    connectFolderDialog(folderDialog, folderActions, session, windows, scenario, actions);
    try {
        std::string scriptText;
        try {
            scriptText = std::string(document.packageString("programfile"));
        } catch (const ScriptError& e) {
            session.showErrorReport(loadError.empty() ? e.what()
                                                      : std::string(e.what()) + "\r" + loadError);
            return static_cast<int>(RunOutcome::failed);
        }
        const int code = static_cast<int>(session.run(scriptText));
        windows.modalLoops().rethrowPending();
        if (!scenario.empty()) {
            std::cerr << "orvane run: " << scenario.remaining()
                      << " scenario action(s) left unused\n";
            return kExitScenario;
        }
        return code;
    } catch (const ScenarioStop& stop) {
        std::cerr << "orvane run: " << stop.message << '\n';
        return kExitScenario;
    }
}

} // namespace

int runRunCommand(const std::vector<std::string>& args) {
    const std::unique_ptr<QApplication> application = makeApplication();
    const QtTranslations qtTranslations;
    RunOptions options;
    if (!parseOptions(args, options)) {
        std::cerr << "usage: orvane run [--scenario FILE] [--yes] PACKAGE.ovsp\n"
                     "       orvane run [--scenario FILE] [--yes] --script SCRIPT.ovs\n";
        return kExitUsage;
    }
    std::string error;
    Scenario scenario;
    if (!options.scenarioFile.empty()) {
        const auto text = readWholeFile(options.scenarioFile, error);
        if (!text) {
            std::cerr << "orvane run: cannot read " << options.scenarioFile << ": " << error
                      << '\n';
            return kExitUsage;
        }
        scenario = Scenario::parse(*text);
    }
    PackageDocument document;
    std::string loadError;
    if (!options.script.empty()) {
        const auto text = readWholeFile(options.script, error);
        if (!text) {
            std::cerr << "orvane run: cannot read " << options.script << ": " << error << '\n';
            return kExitUsage;
        }
        document = scriptPackage(*text);
    } else if (!std::filesystem::is_regular_file(options.package)) {
        Scenario none;
        TranscriptDialog dialog(none, false);
        const std::string path = std::filesystem::absolute(options.package).string();
        dialog.show("Install Script " + path + " nicht gefunden.", "Kritischer Fehler",
                    mbIconError);
        printLine(transcript::exitEvent(1));
        return 1;
    } else {
        LoadedJson loaded = loadPackageFile(options.package);
        loadError = loaded.error;
        document = PackageDocument(std::move(loaded.document));
    }
    const int code = runDriver(options, scenario, document, loadError);
    printLine(transcript::exitEvent(code));
    return code;
}

} // namespace orvane
