// TButton: push button of a script's window.
#pragma once

#include <QPushButton>

namespace orvane {

class TButton : public QPushButton {
    Q_OBJECT
  public:
    explicit TButton(QWidget* parent = nullptr);
};

} // namespace orvane
