// Message boxes answered from a scenario.
#include "scenario_dialog.h"

#include "transcript.h"
#include "window_actions.h"

namespace orvane {

std::string onOneLine(const std::string& text) {
    std::string line = text;
    for (char& c : line) {
        if (c == '\r' || c == '\n')
            c = ' ';
    }
    return line;
}

MessageAnswer ScenarioDialog::show(const std::string& text, const std::string& caption, int flags) {
    m_printLine(transcript::messageBoxEvent({text, caption, flags}));
    if (flags != mbYesNoQuestion)
        return idOk;
    if (m_answerYes)
        return idYes;
    const std::string box = "the Yes/No box \"" + caption + "\" (\"" + onOneLine(text) + "\")";
    for (;;) {
        const auto action = m_scenario.next();
        if (!action)
            throw ScenarioStop{"no answer left while " + box + " waits: expected 'yes' or 'no'"};
        if (action->verb == "yes")
            return idYes;
        if (action->verb == "no")
            return idNo;
        if (m_actions == nullptr || !WindowActions::onlyLooks(action->verb))
            throw ScenarioStop{action->where() + "'" + action->verb + "' does not answer " + box +
                               ": expected 'yes' or 'no'"};
        m_actions->perform(*action);
    }
}

} // namespace orvane
