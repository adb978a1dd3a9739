// DeferredDisposal: destroys script windows and controls without pulling them out from
// under an event that is still being delivered to them.
//
// Design. A handler may free the very button whose click it handles, or that button's
// form. Qt is then still inside the button's event code, so the widget must outlive
// the handler. While any handler runs (depth > 0) a disposed widget is only hidden and
// kept; once the outermost handler has returned, the kept widgets are released and a
// queued call destroys them the next time control is back in an event loop, after the
// event's delivery has finished. Outside handlers a widget is destroyed at once.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <vector>

namespace orvane {

class DeferredDisposal : public QObject {
    Q_OBJECT
  public:
    explicit DeferredDisposal(QObject* parent = nullptr);
    ~DeferredDisposal() override;

    // A script object's event is delivered between these two calls.
    void enterEvent() { ++m_depth; }
    void leaveEvent();
    bool inEvent() const { return m_depth > 0; }

    // Destroys `widget` (with the controls it contains), now or as soon as that is safe.
    void dispose(QWidget* widget);
    // Destroys every widget still kept.
    void destroyAll();

  private:
    void reap();

    int m_depth = 0;
    std::vector<QPointer<QWidget>> m_kept;     // disposed while a handler runs
    std::vector<QPointer<QWidget>> m_released; // their handlers have all returned
};

// Marks one event delivery for a DeferredDisposal.
class EventDelivery {
  public:
    explicit EventDelivery(DeferredDisposal& disposal) : m_disposal(disposal) {
        m_disposal.enterEvent();
    }
    ~EventDelivery() { m_disposal.leaveEvent(); }
    EventDelivery(const EventDelivery&) = delete;
    EventDelivery& operator=(const EventDelivery&) = delete;

  private:
    DeferredDisposal& m_disposal;
};

} // namespace orvane
