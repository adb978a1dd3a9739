// The scenario's window actions: what a user does to the script's windows, performed
// through the real widgets with mouse and key events.
//
//     click NAME         click the registered object NAME as a user would
//     dblclick NAME      double-click list box NAME on its current item
//     select NAME ROW    make row ROW (0-based) the current item of list box NAME
//     type NAME TEXT     type TEXT at the end of single-line field NAME (one key event
//                        carrying the whole text, as an input method hands over a word)
//     clear NAME         empty single-line field NAME (select all, then Delete)
//     close NAME         close form NAME with the window's close button
//     dump               print {"event":"dump","objects":[...]}
//     shot FILE.png      save a picture of the active window (relative paths: to the
//                        folder the run started in)
#pragma once

#include "scenario.h"
#include "script_windows.h"

#include <QDir>

#include <functional>
#include <string>

class QWidget;

namespace orvane {

class WindowActions {
  public:
    // `printLine` prints one transcript line.
    WindowActions(ScriptWindows& windows, std::function<void(const std::string&)> printLine);

    static bool isWindowAction(const std::string& verb);
    // Whether the action only looks at the windows (dump, shot), so it also fits while
    // a message box waits.
    static bool onlyLooks(const std::string& verb);

    // Performs `action` to completion, handlers included. Raises ScenarioStop when it
    // names no registered object or does not fit the object.
    void perform(const ScenarioAction& action);

  private:
    void click(const ScenarioAction& action);
    void doubleClick(const ScenarioAction& action);
    void select(const ScenarioAction& action);
    void type(const ScenarioAction& action);
    void clear(const ScenarioAction& action);
    void close(const ScenarioAction& action);
    void dump();
    void shot(const ScenarioAction& action);

    // The object named `name`, reachable by the user (shown, not blocked by another
    // modal window) and of an accepted kind.
    ScriptObject& target(const ScenarioAction& action, const std::string& name,
                         std::initializer_list<GuiKind> kinds);

    ScriptWindows& m_windows;
    std::function<void(const std::string&)> m_printLine;
    // Pictures land relative to the folder the run started in, even after the folder
    // dialog changed the current folder.
    QDir m_startFolder;
};

} // namespace orvane
