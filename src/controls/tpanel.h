// TPanel: a panel of a script's window, with its own background and a centred caption.
#pragma once

#include <QFrame>
#include <QString>

namespace orvane {

// Paints its own background (never the colour of the panel around it) and a raised
// one-pixel bevel; the caption is drawn in the
// middle, below any controls placed on the panel.
class TPanel : public QFrame {
    Q_OBJECT
  public:
    explicit TPanel(QWidget* parent = nullptr);

    void setCaption(const QString& caption);
    const QString& caption() const { return m_caption; }

    // Takes both bevels away: the panel has no frame.
    void removeBevels();

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QString m_caption;
};

} // namespace orvane
