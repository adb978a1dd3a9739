// TBevelLine: an etched line along the bottom edge of its rectangle, to set buttons apart.
#pragma once

#include <QWidget>

namespace orvane {

class TBevelLine : public QWidget {
    Q_OBJECT
  public:
    explicit TBevelLine(QWidget* parent = nullptr);

  protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace orvane
