// Script objects.
#include "script_object.h"

#include "deferred_disposal.h"

namespace orvane {

ScriptObject::ScriptObject(QWidget* widget, DeferredDisposal& disposal)
    : m_widget(widget), m_disposal(disposal) {}

ScriptObject::~ScriptObject() {
    // The widget may outlive this object for a while (deferred disposal); from now on
    // its events must reach no one.
    for (Wiring& wiring : m_events)
        QObject::disconnect(wiring.connection);
    m_disposal.dispose(m_widget.data());
}

void ScriptObject::wire(ScriptEvent event, std::function<QMetaObject::Connection()> connect) {
    Wiring& wiring = m_events[static_cast<std::size_t>(event)];
    QObject::disconnect(wiring.connection);
    wiring.connect = std::move(connect);
    wiring.connection = wiring.connect();
}

void ScriptObject::detach(ScriptEvent event) {
    Wiring& wiring = m_events[static_cast<std::size_t>(event)];
    QObject::disconnect(wiring.connection);
    wiring.connection = {};
}

void ScriptObject::attach(ScriptEvent event) {
    Wiring& wiring = m_events[static_cast<std::size_t>(event)];
    if (wiring.connect && !wiring.connection)
        wiring.connection = wiring.connect();
}

} // namespace orvane
