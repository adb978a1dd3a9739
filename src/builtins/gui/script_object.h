// ScriptObject: a window or control as the GUI object registry holds it.
//
// It owns its widget (destroying the object disposes of the widget through the
// DeferredDisposal), remembers the caption as the engine set it, and holds the
// connections of the widget's events to the script, so that built-ins can detach
// them while they change a state and attach them again afterwards.
#pragma once

#include "gui_kind.h"
#include "gui_registry.h"

#include <QMetaObject>
#include <QPointer>
#include <QWidget>

#include <array>
#include <functional>
#include <string>

namespace orvane {

class DeferredDisposal;

// The events a script object can have wired: its click (for a single-line text
// field: every change of its text) and, for a list box, the double-click.
enum class ScriptEvent { click = 0, doubleClick = 1 };

class ScriptObject : public GuiObject {
  public:
    ScriptObject(QWidget* widget, DeferredDisposal& disposal);
    ~ScriptObject() override;
    ScriptObject(const ScriptObject&) = delete;
    ScriptObject& operator=(const ScriptObject&) = delete;

    // Null once the widget went with its container.
    QWidget* widget() const { return m_widget.data(); }
    GuiKind kind() const { return kindOf(m_widget.data()); }
    template <class Widget> Widget* as() const { return qobject_cast<Widget*>(m_widget.data()); }

    // The caption or text as the engine set it (before conversion for display).
    const std::string& caption() const { return m_caption; }
    void setCaption(std::string caption) { m_caption = std::move(caption); }

    // Wires `event` with `connect`, which makes the connection (again after a
    // detach); replaces any earlier wiring of that event.
    void wire(ScriptEvent event, std::function<QMetaObject::Connection()> connect);
    void detach(ScriptEvent event);
    void attach(ScriptEvent event);

  private:
    struct Wiring {
        std::function<QMetaObject::Connection()> connect;
        QMetaObject::Connection connection;
    };

    QPointer<QWidget> m_widget;
    DeferredDisposal& m_disposal;
    std::string m_caption;
    std::array<Wiring, 2> m_events;
};

// Detaches an event of a script object for the lifetime of the guard.
class DetachedEvent {
  public:
    DetachedEvent(ScriptObject& object, ScriptEvent event) : m_object(object), m_event(event) {
        m_object.detach(m_event);
    }
    ~DetachedEvent() { m_object.attach(m_event); }
    DetachedEvent(const DetachedEvent&) = delete;
    DetachedEvent& operator=(const DetachedEvent&) = delete;

  private:
    ScriptObject& m_object;
    ScriptEvent m_event;
};

} // namespace orvane
