// Snapshots of the script's objects.
#include "object_snapshot.h"

#include "gui_text.h"
#include "tcheckbox.h"
#include "tedit.h"
#include "tlistbox.h"
#include "tmemo.h"
#include "tprogressbar.h"
#include "tradiobutton.h"

namespace orvane {

namespace {

// A memo's lines as the engine would read them: joined by CR LF.
std::string memoText(const TMemo& memo) {
    return memo.toPlainText().replace('\n', "\r\n").toStdString();
}

std::optional<std::string> containerName(const ScriptWindows& windows, const QWidget* widget) {
    const QWidget* parent = widget->parentWidget();
    const GuiRegistry& registry = windows.registry();
    for (std::int32_t ix = 1; parent != nullptr && ix <= registry.guiObjectCount(); ++ix) {
        if (windows.widgetAt(ix) == parent)
            return registry.entry(ix).name;
    }
    return std::nullopt;
}

void addKindState(ObjectSnapshot& state, const ScriptObject& object) {
    if (const auto* box = object.as<TCheckBox>())
        state.checked = box->isChecked();
    if (const auto* radio = object.as<TRadioButton>())
        state.checked = radio->isChecked();
    if (const auto* bar = object.as<TProgressBar>())
        state.position = bar->value();
    if (const auto* edit = object.as<TEdit>())
        state.caption = edit->text().toStdString();
    if (const auto* memo = object.as<TMemo>())
        state.caption = memoText(*memo);
    if (const auto* list = object.as<TListBox>()) {
        state.items.emplace();
        for (int row = 0; row < list->count(); ++row)
            state.items->push_back(list->item(row)->data(Qt::UserRole).toString().toStdString());
        state.selected = list->selectedRow();
    }
}

ObjectSnapshot snapshot(const ScriptWindows& windows, std::int32_t ix) {
    const tGUIObject& entry = windows.registry().entry(ix);
    ObjectSnapshot state;
    state.index = ix;
    state.name = entry.name;
    state.handler = entry.handler;
    state.kind = kindName(GuiKind::none);
    const ScriptObject* object = windows.objectAt(ix);
    const QWidget* widget = object != nullptr ? object->widget() : nullptr;
    if (widget == nullptr)
        return state;
    state.kind = kindName(object->kind());
    state.caption = object->caption();
    state.parent = containerName(windows, widget);
    state.x = widget->x();
    state.y = widget->y();
    state.width = widget->width();
    state.height = widget->height();
    state.visible = !widget->isHidden();
    state.enabled = !widget->testAttribute(Qt::WA_Disabled);
    addKindState(state, *object);
    return state;
}

} // namespace

std::vector<ObjectSnapshot> snapshotObjects(const ScriptWindows& windows) {
    std::vector<ObjectSnapshot> states;
    for (std::int32_t ix = 1; ix <= windows.registry().guiObjectCount(); ++ix)
        states.push_back(snapshot(windows, ix));
    return states;
}

} // namespace orvane
