// TListBox: list box of a script's window.
#pragma once

#include <QListWidget>

namespace orvane {

// Starts empty; one item at a time can be selected.
class TListBox : public QListWidget {
    Q_OBJECT
  public:
    explicit TListBox(QWidget* parent = nullptr);

    // The selected row, or -1 when no item is selected.
    int selectedRow() const;

  signals:
    // A double-click anywhere in the list, on an item or not.
    void dblClicked();

  protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};

} // namespace orvane
