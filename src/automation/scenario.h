// A scenario (an answer file): the user's actions for a headless or unattended run, one per
// line.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <string_view>

namespace orvane {

struct ScenarioAction {
    std::string verb;      // first word, e.g. "yes", "click"
    std::string arguments; // the rest of the line, blanks at both ends removed
    int line = 0;          // line number in the scenario file, for messages

    // "scenario line N: ", the start of every message about this action.
    std::string where() const;
};

class Scenario {
  public:
    // Reads actions from a file's bytes, decoded by their byte-order mark as package files are
    // (UTF-8, UTF-16, else Windows-1252 when not valid UTF-8); lines end with CR LF, CR or LF.
    // Blank lines and lines starting with "#" are skipped.
    static Scenario parse(std::string_view bytes);

    std::optional<ScenarioAction> next();
    bool empty() const { return m_actions.empty(); }
    std::size_t remaining() const { return m_actions.size(); }

  private:
    std::deque<ScenarioAction> m_actions;
};

// Ends a headless run early: the scenario ran out while the engine waited for the
// user, or an action did not fit. Deliberately not a std::exception, so that no
// script error handler on the way out can catch it.
struct ScenarioStop {
    std::string message;
};

} // namespace orvane
