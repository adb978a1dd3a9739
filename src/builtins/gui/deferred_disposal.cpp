// Deferred destruction of script widgets.
#include "deferred_disposal.h"

namespace orvane {

namespace {

void destroy(std::vector<QPointer<QWidget>>& widgets) {
    std::vector<QPointer<QWidget>> doomed;
    doomed.swap(widgets);
    // A container deleted first takes its controls along; their pointers are then null.
    for (QPointer<QWidget>& widget : doomed)
        delete widget.data();
}

} // namespace

DeferredDisposal::DeferredDisposal(QObject* parent) : QObject(parent) {}

DeferredDisposal::~DeferredDisposal() {
    destroyAll();
}

void DeferredDisposal::leaveEvent() {
    if (--m_depth > 0 || m_kept.empty())
        return;
    m_released.insert(m_released.end(), m_kept.begin(), m_kept.end());
    m_kept.clear();
    QMetaObject::invokeMethod(this, &DeferredDisposal::reap, Qt::QueuedConnection);
}

void DeferredDisposal::dispose(QWidget* widget) {
    if (widget == nullptr)
        return;
    if (m_depth == 0) {
        delete widget;
        return;
    }
    widget->hide();
    m_kept.emplace_back(widget);
}

void DeferredDisposal::reap() {
    destroy(m_released);
}

void DeferredDisposal::destroyAll() {
    destroy(m_released);
    destroy(m_kept);
}

} // namespace orvane
