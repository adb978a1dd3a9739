// Slots of a function's activation frame, written into its name nodes.
#include "frame_layout.h"

#include "c_keys.h"

#include <string>
#include <unordered_map>

namespace orvane {

namespace {

class SlotNames {
  public:
    std::int32_t slotOf(const std::string& name) {
        const auto [it, added] =
            m_slots.try_emplace(name, static_cast<std::int32_t>(m_slots.size()));
        return it->second;
    }
    std::int32_t find(const std::string& name) const {
        const auto it = m_slots.find(name);
        return it == m_slots.end() ? -1 : it->second;
    }
    std::int32_t count() const { return static_cast<std::int32_t>(m_slots.size()); }

  private:
    std::unordered_map<std::string, std::int32_t> m_slots;
};

void addParameters(const tNode* declaration, SlotNames& names, FrameLayout& layout) {
    const tNode* second =
        declaration->firstChild != nullptr ? declaration->firstChild->nextSibling : nullptr;
    if (second == nullptr || second->symbol != ttParameters)
        return;
    for (const tNode* parameter = second->firstChild; parameter != nullptr;
         parameter = parameter->nextSibling) {
        const tNode* type = parameter->firstChild;
        const tNode* name = type != nullptr ? type->nextSibling : nullptr;
        layout.parameterSlots.push_back(names.slotOf(name != nullptr ? name->text : std::string()));
    }
}

// Every name node below `declaration`, after giving each declared name a slot. Iterative, so
// a deep expression cannot exhaust the native stack.
std::vector<const tNode*> collectNames(const tNode* declaration, SlotNames& names) {
    std::vector<const tNode*> found;
    std::vector<const tNode*> pending;
    if (declaration->firstChild != nullptr)
        pending.push_back(declaration->firstChild);
    while (!pending.empty()) {
        const tNode* node = pending.back();
        pending.pop_back();
        if (node->nextSibling != nullptr)
            pending.push_back(node->nextSibling);
        if (node->firstChild != nullptr)
            pending.push_back(node->firstChild);
        if (node->symbol == ttVarID)
            found.push_back(node);
        if (node->symbol == ttVarDekl && node->firstChild != nullptr) {
            for (const tNode* name = node->firstChild->nextSibling; name != nullptr;
                 name = name->nextSibling)
                names.slotOf(name->text);
        }
    }
    return found;
}

} // namespace

FrameLayout layOutFrame(const tNode* declaration, std::uint32_t stamp) {
    FrameLayout layout;
    SlotNames names;
    addParameters(declaration, names, layout);
    for (const tNode* name : collectNames(declaration, names)) {
        name->slot = names.find(name->text);
        name->slotStamp = stamp;
    }
    layout.slotCount = names.count();
    return layout;
}

} // namespace orvane
