// Showing, closing and freeing windows.
#include "form_builtins.h"

#include "gui_errors.h"
#include "tform.h"

#include <algorithm>

namespace orvane::form_builtins {

namespace {

// The form named by argument "name"; raises for an unknown name or another kind.
TForm& requireForm(ScriptWindows& windows, const BuiltinArgs& args) {
    auto* form = windows.require(args.text("name")).as<TForm>();
    if (form == nullptr)
        throw gui_errors::invalidCast();
    return *form;
}

// Whether `widget` lies on `container` (directly or deeper).
bool isInside(const QWidget* widget, const QWidget* container) {
    return widget != nullptr && container != nullptr && widget != container &&
           container->isAncestorOf(widget);
}

} // namespace

Value showModal(ScriptWindows& windows, BuiltinServices&, const BuiltinArgs& args) {
    windows.modalLoops().run(&requireForm(windows, args));
    return Value{};
}

Value showUnmodal(ScriptWindows& windows, BuiltinServices&, const BuiltinArgs& args) {
    TForm& form = requireForm(windows, args);
    if (!form.isVisible())
        form.setWindowModality(Qt::NonModal);
    form.show();
    // A newly shown window is the active one, as window systems make it.
    form.activateWindow();
    return Value{};
}

Value closeForm(ScriptWindows& windows, BuiltinServices&, const BuiltinArgs& args) {
    requireForm(windows, args).close();
    return Value{};
}

Value centerForm(ScriptWindows& windows, BuiltinServices&, const BuiltinArgs& args) {
    requireForm(windows, args).setScreenCenter(true);
    return Value{};
}

Value repaint(ScriptWindows& windows, BuiltinServices&, const BuiltinArgs& args) {
    const ScriptObject* object = windows.find(args.text("name"));
    if (auto* form = object != nullptr ? object->as<TForm>() : nullptr)
        form->paintNow();
    return Value{};
}

// Frees the object and, for a container, the entries of the controls it holds, so
// that no entry is left naming a destroyed control.
Value freeObject(ScriptWindows& windows, BuiltinServices&, const BuiltinArgs& args) {
    GuiRegistry& registry = windows.registry();
    const std::int32_t ix = registry.findObjectByName(args.text("name"));
    if (ix == 0)
        return Value{};
    const QWidget* container = windows.widgetAt(ix);
    std::vector<std::int32_t> doomed{ix};
    for (std::int32_t k = 1; k <= registry.guiObjectCount(); ++k) {
        if (isInside(windows.widgetAt(k), container))
            doomed.push_back(k);
    }
    // From the back, so the numbers still to be deleted stay valid.
    std::sort(doomed.rbegin(), doomed.rend());
    for (std::int32_t k : doomed)
        registry.deleteGUIObject(k);
    return Value{};
}

} // namespace orvane::form_builtins
