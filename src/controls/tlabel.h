// TLabel: static text of a script's window.
#pragma once

#include <QLabel>

namespace orvane {

// Plain text (never read as markup) from the top-left corner, no word wrap, no auto-size.
class TLabel : public QLabel {
    Q_OBJECT
  public:
    explicit TLabel(QWidget* parent = nullptr);
};

} // namespace orvane
