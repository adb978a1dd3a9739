// The run's script windows: registry access, event delivery, `print`, and the table of
// window built-ins handed to the BuiltinHost.
#include "script_windows.h"

#include "construction_builtins.h"
#include "control_builtins.h"
#include "form_builtins.h"
#include "gui_errors.h"
#include "gui_text.h"
#include "long_text_builtin.h"
#include "tform.h"
#include "tmemo.h"

#include <new>

namespace orvane {

namespace {

struct WindowBuiltinEntry {
    const char* name;
    WindowBuiltin function;
};

// Every built-in of the catalogue that needs windows.
constexpr WindowBuiltinEntry kWindowBuiltins[] = {
    {"createForm", construction_builtins::createForm},
    {"createProgressBar", construction_builtins::createProgressBar},
    {"createListBox", construction_builtins::createListBox},
    {"createLabel", construction_builtins::createLabel},
    {"createImage", construction_builtins::createImage},
    {"createPanel", construction_builtins::createPanel},
    {"createButton", construction_builtins::createButton},
    {"createHyperLink", construction_builtins::createHyperLink},
    {"createCheckbox", construction_builtins::createCheckbox},
    {"createRadiobutton", construction_builtins::createRadiobutton},
    {"createTextfield", construction_builtins::createTextfield},
    {"createTextedit", construction_builtins::createTextedit},
    {"showModal", form_builtins::showModal},
    {"showUnmodal", form_builtins::showUnmodal},
    {"freeObject", form_builtins::freeObject},
    {"closeForm", form_builtins::closeForm},
    {"centerForm", form_builtins::centerForm},
    {"repaint", form_builtins::repaint},
    {"setImage", control_builtins::setImage},
    {"getListBoxCurrentItem", control_builtins::getListBoxCurrentItem},
    {"setWordWrap", control_builtins::setWordWrap},
    {"setChecked", control_builtins::setChecked},
    {"isChecked", control_builtins::isChecked},
    {"setPanelBorders", control_builtins::setPanelBorders},
    {"setProgress", control_builtins::setProgress},
    {"setEnabled", control_builtins::setEnabled},
    {"setDoubleClickHandler", control_builtins::setDoubleClickHandler},
    {"setClickHandler", control_builtins::setClickHandler},
    {"setCaption", control_builtins::setCaption},
    {"getCaption", control_builtins::getCaption},
    {"setAlign", control_builtins::setAlign},
    {"setColor", control_builtins::setColor},
    {"setFontStyle", control_builtins::setFontStyle},
    {"setPictureFromXML", control_builtins::setPictureFromXML},
    {"setListBoxArray", control_builtins::setListBoxArray},
    {"setTextFromXML", long_text_builtin::setTextFromXML},
};

} // namespace

ScriptWindows::ScriptWindows(TCInterpreterEx& interpreter, ErrorReport errorReport)
    : m_interpreter(interpreter), m_errorReport(std::move(errorReport)) {}

ScriptWindows::~ScriptWindows() {
    registry().clear();
    m_disposal.destroyAll();
}

void ScriptWindows::install(BuiltinHost& host) {
    for (const WindowBuiltinEntry& entry : kWindowBuiltins) {
        const WindowBuiltin function = entry.function;
        host.provide(entry.name,
                     [this, function](BuiltinServices& services, const BuiltinArgs& args) {
                         return function(*this, services, args);
                     });
    }
    host.services().textFields = this;
    host.services().paintBetweenChunks = [this] { repaintShownForms(); };
}

void ScriptWindows::repaintShownForms() {
    for (std::int32_t ix = 1; ix <= registry().guiObjectCount(); ++ix) {
        if (auto* form = qobject_cast<TForm*>(widgetAt(ix)))
            form->paintNow();
    }
}

ScriptObject* ScriptWindows::objectAt(std::int32_t ix) const {
    return dynamic_cast<ScriptObject*>(registry().entry(ix).obj.get());
}

QWidget* ScriptWindows::widgetAt(std::int32_t ix) const {
    const ScriptObject* object = objectAt(ix);
    return object != nullptr ? object->widget() : nullptr;
}

ScriptObject* ScriptWindows::find(std::string_view name) const {
    const std::int32_t ix = registry().findObjectByName(name);
    return ix == 0 ? nullptr : objectAt(ix);
}

ScriptObject& ScriptWindows::require(std::string_view name) const {
    ScriptObject* object = find(name);
    if (object == nullptr)
        throw gui_errors::notRegistered(name);
    return *object;
}

ScriptObject& ScriptWindows::add(std::unique_ptr<QWidget> widget, std::string_view name,
                                 std::string_view handler) {
    auto object = std::make_unique<ScriptObject>(widget.release(), m_disposal);
    ScriptObject& added = *object;
    registry().registerObject(std::move(object), name, handler);
    return added;
}

void ScriptWindows::deliver(const ScriptObject* sender) {
    EventDelivery delivery(m_disposal);
    shielded([this, sender] { m_interpreter.GUIobjectClicked(sender); });
}

// Running out of memory is no handler error: reporting it here would need memory, so it
// ends the modal loops and leaves the run like an error that leaves main.
void ScriptWindows::shielded(const std::function<void()>& action) {
    try {
        action();
    } catch (const std::bad_alloc&) {
        m_modalLoops.abort(std::current_exception());
    } catch (const std::exception& e) {
        report(e.what());
    } catch (...) {
        m_modalLoops.abort(std::current_exception());
    }
}

// The report is a message box too; whatever it raises must not reach Qt either.
void ScriptWindows::report(const std::string& text) {
    try {
        if (m_errorReport)
            m_errorReport(text);
    } catch (...) {
        m_modalLoops.abort(std::current_exception());
    }
}

void ScriptWindows::appendLine(std::string_view name, std::string_view line) {
    auto* memo = require(name).as<TMemo>();
    if (memo == nullptr)
        throw gui_errors::invalidCast();
    memo->appendPlainText(displayText(line));
}

} // namespace orvane
