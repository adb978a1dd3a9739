// TCheckBox: check box of a script's window.
#pragma once

#include <QCheckBox>

namespace orvane {

// Starts unchecked.
class TCheckBox : public QCheckBox {
    Q_OBJECT
  public:
    explicit TCheckBox(QWidget* parent = nullptr);
};

} // namespace orvane
