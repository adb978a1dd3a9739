// TImage: a picture box of a script's window.
#pragma once

#include <QImage>
#include <QWidget>

namespace orvane {

// Shows its picture at the picture's own size from the top-left corner (never
// stretched); empty until a picture is set. A click is reported by clicked().
class TImage : public QWidget {
    Q_OBJECT
  public:
    explicit TImage(QWidget* parent = nullptr);

    void setPicture(const QImage& picture);
    const QImage& picture() const { return m_picture; }

  signals:
    void clicked();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    QImage m_picture;
    bool m_pressed = false;
};

} // namespace orvane
