// TEdit: single-line text field of a script's window.
#pragma once

#include <QLineEdit>

namespace orvane {

class TEdit : public QLineEdit {
    Q_OBJECT
  public:
    explicit TEdit(QWidget* parent = nullptr);

    // Shows every character as "*" (the real text stays readable through text()).
    void setPasswordEcho();
};

} // namespace orvane
