// Docking.
#include "dock_layout.h"

#include <QEvent>
#include <QWidget>

#include <algorithm>

namespace orvane {

namespace {

constexpr const char* kEdgeProperty = "orvaneDockEdge";

// The space not yet taken, as edges (right and bottom exclusive).
struct Space {
    int left, top, right, bottom;
    int width() const { return std::max(0, right - left); }
    int height() const { return std::max(0, bottom - top); }
};

void place(QWidget* control, DockEdge edge, Space& space) {
    switch (edge) {
    case DockEdge::top: {
        const int h = control->height();
        control->setGeometry(space.left, space.top, space.width(), h);
        space.top += h;
        break;
    }
    case DockEdge::bottom: {
        const int h = control->height();
        control->setGeometry(space.left, space.bottom - h, space.width(), h);
        space.bottom -= h;
        break;
    }
    case DockEdge::left: {
        const int w = control->width();
        control->setGeometry(space.left, space.top, w, space.height());
        space.left += w;
        break;
    }
    case DockEdge::right: {
        const int w = control->width();
        control->setGeometry(space.right - w, space.top, w, space.height());
        space.right -= w;
        break;
    }
    case DockEdge::fill:
        control->setGeometry(space.left, space.top, space.width(), space.height());
        break;
    case DockEdge::none:
        break;
    }
}

} // namespace

DockLayout::DockLayout(QObject* parent) : QObject(parent) {}

DockLayout* DockLayout::layoutOf(QWidget* container) {
    if (auto* existing = container->findChild<DockLayout*>(QString(), Qt::FindDirectChildrenOnly))
        return existing;
    auto* layout = new DockLayout(container);
    container->installEventFilter(layout);
    return layout;
}

DockEdge DockLayout::edgeOf(const QWidget* control) {
    const QVariant edge = control->property(kEdgeProperty);
    return edge.isValid() ? static_cast<DockEdge>(edge.toInt()) : DockEdge::none;
}

void DockLayout::dock(QWidget* control, DockEdge edge) {
    QWidget* container = control->parentWidget();
    control->setProperty(kEdgeProperty, static_cast<int>(edge));
    if (container == nullptr)
        return;
    DockLayout* layout = layoutOf(container);
    control->removeEventFilter(layout);
    control->installEventFilter(layout);
    arrange(container);
}

void DockLayout::arrange(QWidget* container) {
    DockLayout* layout = layoutOf(container);
    if (layout->m_arranging)
        return;
    layout->m_arranging = true;
    const QRect area = container->contentsRect();
    Space space{area.left(), area.top(), area.left() + area.width(), area.top() + area.height()};
    for (DockEdge edge :
         {DockEdge::top, DockEdge::bottom, DockEdge::left, DockEdge::right, DockEdge::fill}) {
        for (QObject* child : container->children()) {
            auto* control = qobject_cast<QWidget*>(child);
            if (control != nullptr && !control->isWindow() && !control->isHidden() &&
                edgeOf(control) == edge)
                place(control, edge, space);
        }
    }
    layout->m_arranging = false;
}

bool DockLayout::eventFilter(QObject* watched, QEvent* event) {
    auto* widget = qobject_cast<QWidget*>(watched);
    const QEvent::Type type = event->type();
    const bool containerChanged = type == QEvent::Resize || type == QEvent::ChildRemoved ||
                                  type == QEvent::ContentsRectChange;
    const bool controlChanged =
        type == QEvent::Resize || type == QEvent::ShowToParent || type == QEvent::HideToParent;
    if (widget != nullptr && widget == parent() && containerChanged)
        arrange(widget);
    else if (widget != nullptr && widget->parentWidget() == parent() && controlChanged &&
             edgeOf(widget) != DockEdge::none)
        arrange(widget->parentWidget());
    return QObject::eventFilter(watched, event);
}

} // namespace orvane
