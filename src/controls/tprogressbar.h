// TProgressBar: progress bar of a script's window.
#pragma once

#include <QProgressBar>

namespace orvane {

// Range 0 to 100, position 0, no percentage text.
class TProgressBar : public QProgressBar {
    Q_OBJECT
  public:
    explicit TProgressBar(QWidget* parent = nullptr);

    // Sets the position, kept within the range (QProgressBar ignores values outside it).
    void setPosition(int position);
};

} // namespace orvane
