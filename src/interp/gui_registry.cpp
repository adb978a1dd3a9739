// The GUI object registry and the interpreter's event entry point.
#include "gui_registry.h"

#include "c_interpreter.h"
#include "script_error.h"
#include "short_text.h"

namespace orvane {

void GuiRegistry::requireRoom() const {
    if (guiObjectCount() >= kCapacity)
        throw ScriptError("Zu viele GUI-Objekte (höchstens " + std::to_string(kCapacity) + ")");
}

std::int32_t GuiRegistry::registerObject(std::unique_ptr<GuiObject> obj, std::string_view name,
                                         std::string_view handler) {
    requireRoom();
    m_entries.push_back(tGUIObject{std::move(obj), cutText(handler), cutText(name)});
    return guiObjectCount();
}

std::int32_t GuiRegistry::findObjectByName(std::string_view n) const {
    for (std::size_t k = 0; k < m_entries.size(); ++k) {
        if (m_entries[k].name == n)
            return static_cast<std::int32_t>(k) + 1;
    }
    return 0;
}

std::int32_t GuiRegistry::indexOfGUIObject(const GuiObject* obj) const {
    if (obj == nullptr)
        return 0;
    for (std::size_t k = 0; k < m_entries.size(); ++k) {
        if (m_entries[k].obj.get() == obj)
            return static_cast<std::int32_t>(k) + 1;
    }
    return 0;
}

void GuiRegistry::deleteGUIObject(std::int32_t ix) {
    if (ix < 1 || ix > guiObjectCount())
        return;
    // The entry leaves the table before its object goes, so whatever the object's
    // destruction sets off never finds a half-deleted entry.
    const auto at = m_entries.begin() + (ix - 1);
    std::unique_ptr<GuiObject> doomed = std::move(at->obj);
    m_entries.erase(at);
    doomed.reset();
}

void GuiRegistry::clear() {
    while (!m_entries.empty())
        deleteGUIObject(guiObjectCount());
}

const tNode* GuiRegistry::handlerCall(TParser& parser, const tGUIObject& entry) {
    auto& node = m_calls[{entry.handler, entry.name}];
    if (node == nullptr) {
        tNode* call = parser.newNode(ttUnknown, entry.handler);
        parser.insertChildNode(call, parser.newNode(ttStringConst, entry.name));
        node = call;
    }
    return node;
}

void TCInterpreterEx::GUIobjectClicked(const GuiObject* Sender) {
    const std::int32_t ix = guiObjects.indexOfGUIObject(Sender);
    if (ix == 0)
        return;
    const tGUIObject& entry = guiObjects.entry(ix);
    if (entry.handler.empty())
        return;
    const tNode* call = guiObjects.handlerCall(fParser, entry);
    tVariable* unchanged = nullptr;
    callFunction(call, nullptr, unchanged);
}

} // namespace orvane
