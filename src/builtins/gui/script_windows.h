// ScriptWindows: the windows and controls that a script builds, and the 35 built-ins
// that build and drive them.
//
// One object per run, beside the session: install() lets the BuiltinHost perform the
// window built-ins here and makes `print` write to multi-line text fields. The objects
// themselves live in the interpreter's GuiRegistry as ScriptObjects; their events come
// back through deliver(), the one place where Qt's event code calls into the script.
#pragma once

#include "Hyperlink33.h"
#include "builtin_catalogue.h"
#include "deferred_disposal.h"
#include "modal_loops.h"
#include "script_object.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace orvane {

class ScriptWindows : public TextFieldSink {
  public:
    // Shows an error that left a handler (the application's standard error report).
    using ErrorReport = std::function<void(const std::string& text)>;

    ScriptWindows(TCInterpreterEx& interpreter, ErrorReport errorReport);
    // Destroys every window and control the script made.
    ~ScriptWindows() override;
    ScriptWindows(const ScriptWindows&) = delete;
    ScriptWindows& operator=(const ScriptWindows&) = delete;

    // Makes `host` perform the window built-ins here, `print` write here and long
    // installations repaint the shown forms.
    void install(BuiltinHost& host);

    GuiRegistry& registry() { return m_interpreter.guiObjects; }
    const GuiRegistry& registry() const { return m_interpreter.guiObjects; }
    // Entry `ix` (1..count) of the registry, and its widget (null when gone).
    ScriptObject* objectAt(std::int32_t ix) const;
    QWidget* widgetAt(std::int32_t ix) const;
    // The oldest registered object named `name`, or null.
    ScriptObject* find(std::string_view name) const;
    // The same, raising "GUI-Objekt 'NAME' nicht gefunden" when there is none.
    ScriptObject& require(std::string_view name) const;
    // Registers a new object holding `widget` (the registry must have room).
    ScriptObject& add(std::unique_ptr<QWidget> widget, std::string_view name,
                      std::string_view handler);

    // An event of `sender` arrived: calls its handler. Errors are reported here and
    // never travel on into Qt; an abort of the run and running out of memory go to the
    // modal loops, which raise them again once they have ended.
    void deliver(const ScriptObject* sender);

    // Runs `action` (a message box, opening a link) from Qt's event code: errors are
    // reported as in deliver() instead of travelling on into Qt.
    void shielded(const std::function<void()>& action);

    ModalLoops& modalLoops() { return m_modalLoops; }
    DeferredDisposal& disposal() { return m_disposal; }

    // How hyperlinks open their targets (by default the desktop's handler).
    void setLinkOpener(THyperLink::Opener opener) { m_linkOpener = std::move(opener); }
    const THyperLink::Opener& linkOpener() const { return m_linkOpener; }

    // Paints every shown form at once (TForm::paintNow: no user input is handled, so no
    // handler runs meanwhile); long installations call it between their pieces.
    void repaintShownForms();

    // TextFieldSink: `print`.
    void appendLine(std::string_view name, std::string_view line) override;

  private:
    void report(const std::string& text);

    TCInterpreterEx& m_interpreter;
    ErrorReport m_errorReport;
    DeferredDisposal m_disposal;
    ModalLoops m_modalLoops;
    THyperLink::Opener m_linkOpener = DesktopOpener();
};

// A window built-in: performed with the run's ScriptWindows.
using WindowBuiltin = Value (*)(ScriptWindows& windows, BuiltinServices& services,
                                const BuiltinArgs& args);

} // namespace orvane
