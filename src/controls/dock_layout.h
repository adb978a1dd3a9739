// DockLayout: controls docked to the edges of their container, in the order of creation.
//
// Design. Docked controls are arranged the way classic dock layouts do it: first every
// control docked to the top, then the bottom, left and right ones, each group in the
// order the controls were placed in the container; each takes its edge of the space the
// earlier ones left, keeping its own height (top, bottom) or width (left, right) and
// stretching along the edge. Controls docked to fill all get the space that is left.
// Hidden controls take no space. The layout follows the container's size and frame and the
// appearance, disappearance and resizing of docked controls.
#pragma once

#include <QObject>

class QWidget;

namespace orvane {

enum class DockEdge { none, top, bottom, left, right, fill };

class DockLayout : public QObject {
    Q_OBJECT
  public:
    // Docks `control` to `edge` of its parent (none undocks it) and arranges the parent.
    static void dock(QWidget* control, DockEdge edge);
    // The edge `control` is docked to.
    static DockEdge edgeOf(const QWidget* control);
    // Places every docked control of `container`.
    static void arrange(QWidget* container);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    explicit DockLayout(QObject* parent = nullptr);
    static DockLayout* layoutOf(QWidget* container);
    bool m_arranging = false;
};

} // namespace orvane
