// Answering a run's wait states from a scenario.
#include "scenario_answers.h"

#include "folder_dialog_builtin.h"
#include "orvaneOrdnerDialog.h"
#include "script_windows.h"
#include "transcript.h"

#include <QApplication>
#include <QDialog>

namespace orvane {

namespace {

constexpr const char* kFormAnswers = "expected an action on its controls (click, dblclick, "
                                     "select, type, clear or close)";
constexpr const char* kFolderAnswers = "expected 'folder PATH', 'newfolder NAME' or 'cancel'";

} // namespace

ScenarioAnswers::ScenarioAnswers(Scenario scenario, PrintLine printLine, bool answerYes)
    : m_scenario(std::move(scenario)), m_printLine(std::move(printLine)),
      m_dialog(m_scenario, m_printLine, answerYes) {}

ScenarioAnswers::~ScenarioAnswers() = default;

void ScenarioAnswers::attach(ScriptWindows& windows, BuiltinHost& host,
                             TOrvaneOrdnerDialog& folderDialog) {
    m_windows = &windows;
    m_actions = std::make_unique<WindowActions>(windows, m_printLine);
    m_dialog.setWindowActions(m_actions.get());
    windows.setLinkOpener([this](const QString& target, const OpenResult& done) {
        m_printLine(transcript::openEvent(target.toStdString()));
        done(true);
    });
    windows.modalLoops().setWaitHook([this] { actWhileFormWaits(); });
    // A stop while the folder dialog waits must not travel through Qt's event code: it closes
    // the dialog's windows and is raised again when showFolderDialog returns.
    provideFolderDialog(host, folderDialog,
                        [&windows](bool) { windows.modalLoops().rethrowPending(); });
    QObject::connect(&folderDialog, &TOrvaneOrdnerDialog::waitingForUser, [this](QDialog* window) {
        try {
            actInFolderDialog(*window);
        } catch (...) {
            m_windows->modalLoops().abort(std::current_exception());
            for (QWidget* open = window; open != nullptr; open = open->parentWidget()) {
                if (auto* dialog = qobject_cast<QDialog*>(open))
                    dialog->reject();
            }
        }
    });
}

int ScenarioAnswers::run(const std::function<int()>& runScript, std::ostream& errors,
                         const std::string& program) {
    try {
        const int code = runScript();
        if (m_windows != nullptr)
            m_windows->modalLoops().rethrowPending();
        if (!m_scenario.empty()) {
            errors << program << ": " << m_scenario.remaining()
                   << " scenario action(s) left unused\n";
            return kExitNoAnswer;
        }
        return code;
    } catch (const ScenarioStop& stop) {
        errors << program << ": " << stop.message << '\n';
        return kExitNoAnswer;
    }
}

// "form 'NAME'": the modal form that waits, as the script registered it.
std::string ScenarioAnswers::waitingForm() const {
    const QWidget* modal = QApplication::activeModalWidget();
    for (std::int32_t ix = 1; ix <= m_windows->registry().guiObjectCount(); ++ix) {
        if (modal != nullptr && m_windows->widgetAt(ix) == modal)
            return "form '" + m_windows->registry().entry(ix).name + "'";
    }
    return "a modal form";
}

// The user's next turn while a modal form waits: one window action of the scenario.
void ScenarioAnswers::actWhileFormWaits() {
    const std::string waiting = waitingForm();
    const auto action = m_scenario.next();
    if (!action)
        throw ScenarioStop{"no answer left while " + waiting + " waits: " + kFormAnswers};
    const std::string where = action->where() + "'" + action->verb + "' does not fit: ";
    if (action->verb == "yes" || action->verb == "no")
        throw ScenarioStop{where + "no Yes/No box is open, " + waiting + " waits"};
    if (FolderDialogActions::handles(action->verb))
        throw ScenarioStop{where + "the folder dialog is not open, " + waiting + " waits"};
    try {
        m_actions->perform(*action);
    } catch (const ScenarioStop& stop) {
        throw ScenarioStop{stop.message + " (" + waiting + " waits)"};
    }
}

// The user's turn while a window of the folder dialog waits: finish a begun `newfolder`, else
// one scenario action, the dialog's own (folder, cancel, newfolder) or one that only looks
// (dump, shot).
void ScenarioAnswers::actInFolderDialog(QDialog& window) {
    if (m_folderActions.continuePending(window))
        return;
    const auto action = m_scenario.next();
    if (!action)
        throw ScenarioStop{std::string("no answer left while the folder dialog waits: ") +
                           kFolderAnswers};
    if (FolderDialogActions::handles(action->verb)) {
        const std::string problem =
            m_folderActions.perform(window, action->verb, action->arguments);
        if (!problem.empty())
            throw ScenarioStop{action->where() + action->verb + ": " + problem};
    } else if (WindowActions::onlyLooks(action->verb)) {
        m_actions->perform(*action);
    } else {
        throw ScenarioStop{action->where() + "'" + action->verb +
                           "' does not fit: the folder dialog waits, " + kFolderAnswers};
    }
}

} // namespace orvane
