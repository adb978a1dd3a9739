// Scenario files.
#include "scenario.h"

#include "c_scanner.h"
#include "text_encoding.h"

namespace orvane {

namespace {

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

} // namespace

Scenario Scenario::parse(std::string_view bytes) {
    Scenario scenario;
    int number = 0;
    for (const std::string& line : splitScriptLines(decodeTextFile(bytes))) {
        ++number;
        const std::string content = trimmed(line);
        if (content.empty() || content[0] == '#')
            continue;
        const auto blank = content.find_first_of(" \t");
        ScenarioAction action;
        action.verb = content.substr(0, blank);
        action.arguments = blank == std::string::npos ? "" : trimmed(content.substr(blank));
        action.line = number;
        scenario.m_actions.push_back(std::move(action));
    }
    return scenario;
}

std::optional<ScenarioAction> Scenario::next() {
    if (m_actions.empty())
        return std::nullopt;
    ScenarioAction action = std::move(m_actions.front());
    m_actions.pop_front();
    return action;
}

std::string ScenarioAction::where() const {
    return "scenario line " + std::to_string(line) + ": ";
}

} // namespace orvane
