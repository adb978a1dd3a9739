// ScenarioDialog: the message boxes of a run that a scenario answers.
//
// Every box is reported as a transcript line. OK boxes are answered with OK; Yes/No boxes with
// the scenario's next action (or always "yes"). While a Yes/No box waits, the scenario may look
// at the windows (dump, shot) before it answers.
#pragma once

#include "message_dialog.h"
#include "scenario.h"

#include <functional>
#include <string>

namespace orvane {

class WindowActions;

class ScenarioDialog : public MessageDialog {
  public:
    using PrintLine = std::function<void(const std::string&)>;

    ScenarioDialog(Scenario& scenario, PrintLine printLine, bool answerYes = false)
        : m_scenario(scenario), m_printLine(std::move(printLine)), m_answerYes(answerYes) {}

    void setWindowActions(WindowActions* actions) { m_actions = actions; }

    MessageAnswer show(const std::string& text, const std::string& caption, int flags) override;

  private:
    Scenario& m_scenario;
    PrintLine m_printLine;
    bool m_answerYes;
    WindowActions* m_actions = nullptr;
};

// `text` on one line (line breaks as blanks), for messages that name a box.
std::string onOneLine(const std::string& text);

} // namespace orvane
