// TRadioButton: radio button of a script's window.
#pragma once

#include <QRadioButton>

namespace orvane {

// Starts unchecked; radio buttons with the same parent exclude each other.
class TRadioButton : public QRadioButton {
    Q_OBJECT
  public:
    explicit TRadioButton(QWidget* parent = nullptr);

    // Sets the state; unlike setChecked, it can also uncheck the checked button of
    // its group (leaving none checked).
    void setState(bool checked);
};

} // namespace orvane
