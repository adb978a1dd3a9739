// The headless runner: the run driver's steps from "programfile" to the end of main, with
// message boxes recorded into a JSON-lines transcript and answered from a scenario.
#include "run_command.h"

#include "file_text.h"
#include "folder_dialog_builtin.h"
#include "json_output.h"
#include "json_reader.h"
#include "orvaneOrdnerDialog.h"
#include "package_document.h"
#include "package_file.h"
#include "package_location.h"
#include "package_lookup.h"
#include "qt_translations.h"
#include "scenario_answers.h"
#include "script_error.h"
#include "script_session.h"
#include "script_windows.h"
#include "transcript.h"
#include "transcript_observer.h"

#include <CLI/CLI.hpp>
#include <QApplication>

#include <iostream>
#include <memory>

namespace orvane {

namespace {

constexpr int kExitUsage = 2;

struct RunOptions {
    std::string scenarioFile;
    bool answerYes = false;
    std::string package;
    std::string script;
};

void printLine(const std::string& line) {
    std::cout << line << '\n' << std::flush;
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

// The package document for a bare script: one holding only "programfile".
PackageDocument scriptPackage(const std::string& scriptText) {
    return PackageDocument(readJson("{\"programfile\":" + jsonString(scriptText) + "}").document);
}

// The whole run after the options were read: 0, 1 or 3 as the exit event reports.
int runDriver(const RunOptions& options, Scenario scenario, PackageDocument& document,
              const std::string& loadError) {
    ScenarioAnswers answers(std::move(scenario), printLine, options.answerYes);
    TranscriptObserver observer(printLine);
    PackageLookup lookup(document);
    ScriptSession session(answers.dialog(), &lookup, &observer);
    ScriptWindows windows(session.interpreter(),
                          [&session](const std::string& text) { session.showErrorReport(text); });
    windows.install(session.builtins());
    session.setAfterMain([&windows] { windows.modalLoops().rethrowPending(); });
    TOrvaneOrdnerDialog folderDialog;
    configureTargetFolderDialog(folderDialog);
    answers.attach(windows, session.builtins(), folderDialog);
    const int code = answers.run(
        [&] {
            std::string scriptText;
            try {
                scriptText = std::string(document.packageString("programfile"));
            } catch (const ScriptError& e) {
                session.showErrorReport(
                    loadError.empty() ? e.what() : std::string(e.what()) + "\r" + loadError);
                return static_cast<int>(RunOutcome::failed);
            }
            return session.exitStatus(session.run(scriptText));
        },
        std::cerr, "orvane run");
    // The transcript on stdout may be lost with the memory; stderr gets one line as well. The
    // scenario's later actions are left over then, which is no fault of the scenario.
    if (session.ranOutOfMemory()) {
        std::cerr << "orvane run: Nicht genug Speicher\n";
        return static_cast<int>(RunOutcome::failed);
    }
    return code;
}

int run(const RunOptions& options) {
    const std::unique_ptr<QApplication> application = makeApplication();
    const QtTranslations qtTranslations;
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
        const auto text = readScriptFile(options.script, error);
        if (!text) {
            std::cerr << "orvane run: cannot read " << options.script << ": " << error << '\n';
            return kExitUsage;
        }
        document = scriptPackage(*text);
    } else if (!packageFileExists(options.package)) {
        Scenario none;
        ScenarioDialog dialog(none, printLine);
        dialog.show("Install Script " + absolutePath(options.package) + " nicht gefunden.",
                    "Kritischer Fehler", mbIconError);
        printLine(transcript::exitEvent(1));
        return 1;
    } else {
        LoadedJson loaded = loadPackageFile(options.package);
        loadError = loaded.error;
        document = PackageDocument(std::move(loaded.document));
    }
    const int code = runDriver(options, std::move(scenario), document, loadError);
    printLine(transcript::exitEvent(code));
    return code;
}

} // namespace

void addRunCommand(CLI::App& orvane, int& status) {
    auto options = std::make_shared<RunOptions>();
    CLI::App* command = orvane.add_subcommand(
        "run", "Run an install package or script headless, printing a transcript");
    command->add_option("--scenario", options->scenarioFile,
                        "Answer the run's questions from FILE");
    command->add_flag("--yes", options->answerYes, "Answer every yes/no question with yes");
    auto* script =
        command->add_option("--script", options->script, "Run a bare script instead of a package");
    auto* package = command->add_option("PACKAGE", options->package, "The install package (.ovsp)");
    script->excludes(package);
    command->callback([options, &status, package, script] {
        if (package->empty() && script->empty())
            throw CLI::RequiredError("PACKAGE or --script");
        status = run(*options);
    });
}

} // namespace orvane
