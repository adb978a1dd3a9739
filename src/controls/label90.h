// TLabel90: a narrow panel whose caption is turned 90 degrees, on a colour gradient.
//
// The control paints only through its off-screen pixmap: every paint sizes the pixmap to
// the control, fills the background (gradient bands or a plain colour), draws the caption
// reading from bottom to top and copies the pixmap to the screen in one piece. The window
// system never erases the background first, so repaints do not flicker.
//
// Each paint also sets the control's width to the height of its text: a panel aligned to
// its parent's left edge is as wide as its caption is high once it has painted, whatever
// width it was given before.
#pragma once

#include <QColor>
#include <QFrame>
#include <QPixmap>
#include <QString>

namespace orvane {

class TLabel90 : public QFrame {
    Q_OBJECT
    Q_PROPERTY(QFont Font READ font WRITE setFont)
    Q_PROPERTY(QColor FontColor READ fontColor WRITE setFontColor)
    Q_PROPERTY(QColor BgColor READ bgColor WRITE setBgColor)
    Q_PROPERTY(tstil Style READ stil WRITE setStil)
    Q_PROPERTY(QString Caption READ caption WRITE setCaption)
    Q_PROPERTY(bool Aniniation READ aniniation WRITE setAniniation)
    Q_PROPERTY(TBevelCut bevelInner READ bevelInner WRITE setBevelInner)
    Q_PROPERTY(TBevelCut bevelOuter READ bevelOuter WRITE setBevelOuter)
    Q_PROPERTY(TAlign Align READ align WRITE setAlign)

  public:
    // Where the caption starts: centred, at the bottom edge, or ending at the top edge.
    enum tstil { Center = 0, Bottom = 1, sTop = 2 };
    Q_ENUM(tstil)
    // The panel's bevels. They are kept as properties but not drawn: the pixmap covers them.
    enum TBevelCut { bvNone, bvLowered, bvRaised };
    Q_ENUM(TBevelCut)
    // Placement inside the parent, kept up to date when the parent is resized.
    enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
    Q_ENUM(TAlign)

    explicit TLabel90(QWidget* parent = nullptr);

    // The caption's face, size and style come from the widget's font (QWidget::setFont,
    // which repaints). The size in points is painted as the pixel height of the character
    // cell; only bold of the style flags is used.
    QColor fontColor() const { return m_fontColor; }
    void setFontColor(const QColor& color);

    QColor bgColor() const { return m_bgColor; }
    void setBgColor(const QColor& color);

    tstil stil() const { return m_stil; }
    void setStil(tstil stil);

    QString caption() const { return m_caption; }
    void setCaption(const QString& caption);

    // Gradient background on (true) or plain BgColor (false).
    bool aniniation() const { return m_animation; }
    void setAniniation(bool animation);

    TBevelCut bevelInner() const { return m_bevelInner; }
    void setBevelInner(TBevelCut bevel) { m_bevelInner = bevel; }
    TBevelCut bevelOuter() const { return m_bevelOuter; }
    void setBevelOuter(TBevelCut bevel) { m_bevelOuter = bevel; }

    TAlign align() const { return m_align; }
    void setAlign(TAlign align);

    // The picture of the last paint, as it was copied to the screen.
    const QPixmap& bitmap() const { return m_bitmap; }

  signals:
    void clicked();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Bits per pixel of the screen the control is on; 8 or fewer get no gradient.
    virtual int screenBitsPerPixel() const;

  private:
    QFont rotatedFont() const;
    void fitWidthToText(const QFont& rotated);
    void paintBackground(QPainter& canvas) const;
    void paintGradient(QPainter& canvas) const;
    void paintCaption(QPainter& canvas, const QFont& rotated) const;
    QPoint captionStart(int textWidth) const;
    void applyAlign();

    QPixmap m_bitmap;
    QColor m_fontColor;
    QColor m_bgColor;
    QColor m_gradientEnd; // no property reaches it: the gradient always ends towards black
    tstil m_stil = Bottom;
    QString m_caption;
    bool m_animation = true;
    TBevelCut m_bevelInner = bvNone;
    TBevelCut m_bevelOuter = bvRaised;
    TAlign m_align = alNone;
};

} // namespace orvane
