// GuiRegistry: the script-created windows and controls, found by the names the script gave them.
//
// Design. Entries 1..count are in use, in the order of registration; deleting one closes
// the gap, so later entries move down one place (their names stay, their numbers change).
// Lookups by name take the oldest entry of that name. The registry is the only holder of
// the objects: an entry owns its object, and destroying the object is how the window or
// control goes away. The objects are opaque here (GuiObject); the window layer implements
// them, so the interpreter and its tests need no display.
//
// An entry also holds the name of the script function that handles the object's events;
// TCInterpreterEx::GUIobjectClicked turns an event into a call of that function.
#pragma once

#include "syntax_tree.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orvane {

class TParser;

// A window or control as the registry holds it. Destroying it destroys the window or
// control (the window layer decides when that is safe).
class GuiObject {
  public:
    virtual ~GuiObject() = default;
};

struct tGUIObject {
    std::unique_ptr<GuiObject> obj;
    std::string handler; // script function for the object's events; empty: none
    std::string name;
};

class GuiRegistry {
  public:
    // The table's size: scripts number their objects 1..1000.
    static constexpr std::int32_t kCapacity = 1000;

    GuiRegistry() = default;
    GuiRegistry(const GuiRegistry&) = delete;
    GuiRegistry& operator=(const GuiRegistry&) = delete;
    ~GuiRegistry() { clear(); }

    std::int32_t guiObjectCount() const { return static_cast<std::int32_t>(m_entries.size()); }

    // Raises "Zu viele GUI-Objekte (höchstens 1000)" when the table is full; the caller
    // checks before it builds the object, so a refused object is never half made.
    void requireRoom() const;
    // Appends an entry for `obj` (names and handlers are cut to 255 bytes); returns its
    // number. Raises the capacity error (and destroys `obj`) when the table is full.
    std::int32_t registerObject(std::unique_ptr<GuiObject> obj, std::string_view name,
                                std::string_view handler);

    // The number of the oldest entry named exactly `n`; 0 when there is none.
    std::int32_t findObjectByName(std::string_view n) const;
    // The number of the entry holding `obj`; 0 when there is none.
    std::int32_t indexOfGUIObject(const GuiObject* obj) const;
    // Destroys entry `ix`'s object and closes the gap; an index outside 1..count changes
    // nothing.
    void deleteGUIObject(std::int32_t ix);
    // Destroys every object; the count becomes 0.
    void clear();

    // Entry `ix`, 1..count.
    tGUIObject& entry(std::int32_t ix) { return m_entries[static_cast<std::size_t>(ix) - 1]; }
    const tGUIObject& entry(std::int32_t ix) const {
        return m_entries[static_cast<std::size_t>(ix) - 1];
    }

    // The call node "handler(name)" for an event of `entry`: a ttUnknown node with the
    // handler as text and one ttStringConst child with the object's name. Nodes are made
    // once per handler and name and then reused, so a stream of events (a keystroke calls
    // the handler each time) does not grow the parser's arena.
    const tNode* handlerCall(TParser& parser, const tGUIObject& entry);

  private:
    std::vector<tGUIObject> m_entries;
    std::map<std::pair<std::string, std::string>, const tNode*> m_calls;
};

} // namespace orvane
