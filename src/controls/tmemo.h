// TMemo: multi-line text field of a script's window.
#pragma once

#include <QPlainTextEdit>

namespace orvane {

// Starts empty, with a vertical scroll bar that is always shown.
class TMemo : public QPlainTextEdit {
    Q_OBJECT
  public:
    explicit TMemo(QWidget* parent = nullptr);
};

} // namespace orvane
