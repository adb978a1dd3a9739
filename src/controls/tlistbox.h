// TListBox: list box of a script's window.
#pragma once

#include <QListWidget>

namespace orvane {

// Starts empty; one item at a time can be selected. Once an item is selected, the user can
// select another one but cannot take the selection away: a click beside the items, a drag
// off them and a control-click on the selected item leave it as it is.
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
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;
};

} // namespace orvane
