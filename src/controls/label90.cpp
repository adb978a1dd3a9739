// The rotated caption panel: properties, alignment and painting through the pixmap.
#include "label90.h"

#include <QEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace orvane {

namespace {

// Bands of at least 3 pixels, and never more than 64: a taller panel gets thicker bands.
constexpr int kMinBandHeight = 3;
constexpr int kMaxBands = 64;
// Screens of this depth or less (palette screens) get a plain background.
constexpr int kPaletteDepth = 8;
// The panel's size before it first paints.
constexpr int kInitialSize = 17;

// Rounds to the nearest integer, halves to even.
int roundEven(double value) {
    return static_cast<int>(std::nearbyint(value));
}

int channelStep(int from, int to, int band, int bands) {
    return roundEven(from + band * static_cast<double>(to - from) / bands);
}

// The number the font's size is given as: points, or pixels for a pixel-sized font.
int fontSizeNumber(const QFont& font) {
    return font.pointSize() > 0 ? font.pointSize() : font.pixelSize();
}

} // namespace

TLabel90::TLabel90(QWidget* parent)
    : QFrame(parent), m_fontColor(0xC0, 0xC0, 0xC0), m_bgColor(0x80, 0x80, 0x80),
      m_gradientEnd(Qt::black) {
    setFont(QFont("Arial", 24));
    resize(kInitialSize, kInitialSize);
    // The pixmap covers every pixel: no background erase before painting.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
}

void TLabel90::setFontColor(const QColor& color) {
    m_fontColor = color;
    update();
}

void TLabel90::setBgColor(const QColor& color) {
    m_bgColor = color;
    update();
}

void TLabel90::setStil(tstil stil) {
    m_stil = stil;
    update();
}

void TLabel90::setCaption(const QString& caption) {
    m_caption = caption;
    update();
}

void TLabel90::setAniniation(bool animation) {
    if (animation == m_animation)
        return;
    m_animation = animation;
    update();
}

void TLabel90::setAlign(TAlign align) {
    if (m_align == alNone && align != alNone && parentWidget() != nullptr)
        parentWidget()->installEventFilter(this);
    m_align = align;
    applyAlign();
}

bool TLabel90::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        applyAlign();
    return QFrame::eventFilter(watched, event);
}

// Places the panel along the parent's edge; the panel's own width or height is kept
// across that edge. Only this one control is aligned within the parent.
void TLabel90::applyAlign() {
    const QWidget* parent = parentWidget();
    if (parent == nullptr)
        return;
    const int pw = parent->width();
    const int ph = parent->height();
    switch (m_align) {
    case alNone:
        break;
    case alTop:
        setGeometry(0, 0, pw, height());
        break;
    case alBottom:
        setGeometry(0, ph - height(), pw, height());
        break;
    case alLeft:
        setGeometry(0, 0, width(), ph);
        break;
    case alRight:
        setGeometry(pw - width(), 0, width(), ph);
        break;
    case alClient:
        setGeometry(0, 0, pw, ph);
        break;
    }
}

int TLabel90::screenBitsPerPixel() const {
    const QScreen* shownOn = screen();
    return shownOn != nullptr ? shownOn->depth() : 32;
}

// The caption's font for one paint: the size as the pixel height of the character cell,
// weight 800 when bold and 200 otherwise, upright and plain, outline fonts preferred.
QFont TLabel90::rotatedFont() const {
    const int cell = std::max(1, fontSizeNumber(font()));
    QFont rotated(font().family());
    rotated.setWeight(font().bold() ? QFont::Weight(800) : QFont::Weight(200));
    rotated.setStyleStrategy(QFont::PreferOutline);
    rotated.setPixelSize(cell);
    // Qt's pixel size is the em height; the cell (ascent + descent) is taller. Scale the
    // em so that the cell has the promised height.
    const int measured = QFontMetrics(rotated).height();
    if (measured > 0 && measured != cell)
        rotated.setPixelSize(std::max(1, roundEven(cell * static_cast<double>(cell) / measured)));
    return rotated;
}

void TLabel90::fitWidthToText(const QFont& rotated) {
    const int textHeight = QFontMetrics(rotated).height();
    if (textHeight != width())
        resize(textHeight, height());
}

// Taking the width before the first paint keeps the first picture of the window (a
// screenshot taken at once, say) from showing the caption cut at the initial width.
void TLabel90::showEvent(QShowEvent* event) {
    QFrame::showEvent(event);
    fitWidthToText(rotatedFont());
}

void TLabel90::paintEvent(QPaintEvent* /*event*/) {
    if (m_caption.isEmpty())
        m_caption = objectName();
    const QFont rotated = rotatedFont();
    fitWidthToText(rotated);
    // Device pixels, so the caption stays sharp on screens that scale.
    const qreal ratio = devicePixelRatioF();
    m_bitmap = QPixmap(size() * ratio);
    if (m_bitmap.isNull())
        return;
    m_bitmap.setDevicePixelRatio(ratio);
    QPainter canvas(&m_bitmap);
    paintBackground(canvas);
    paintCaption(canvas, rotated);
    canvas.end();
    QPainter(this).drawPixmap(0, 0, m_bitmap);
}

void TLabel90::paintBackground(QPainter& canvas) const {
    const bool bands = height() / kMinBandHeight > 0;
    if (bands && m_animation && screenBitsPerPixel() > kPaletteDepth)
        paintGradient(canvas);
    else
        canvas.fillRect(rect(), m_bgColor);
}

// From BgColor at the top towards the end colour, which the last band does not reach.
void TLabel90::paintGradient(QPainter& canvas) const {
    const int h = height();
    const int bands = std::min(h / kMinBandHeight, kMaxBands);
    for (int e = 0; e < bands; ++e) {
        const QColor color(channelStep(m_bgColor.red(), m_gradientEnd.red(), e, bands),
                           channelStep(m_bgColor.green(), m_gradientEnd.green(), e, bands),
                           channelStep(m_bgColor.blue(), m_gradientEnd.blue(), e, bands));
        const int top = roundEven(e * static_cast<double>(h) / bands);
        const int bottom = roundEven((e + 1) * static_cast<double>(h) / bands);
        canvas.fillRect(0, top, width(), bottom - top, color);
    }
}

// Where the caption's first character begins; the text runs upward from there.
QPoint TLabel90::captionStart(int textWidth) const {
    switch (m_stil) {
    case Center:
        return {0, height() / 2 + textWidth / 2};
    case sTop:
        return {0, textWidth};
    case Bottom:
        break;
    }
    return {0, height()};
}

void TLabel90::paintCaption(QPainter& canvas, const QFont& rotated) const {
    const QFontMetrics metrics(rotated);
    canvas.setFont(rotated);
    canvas.setPen(m_fontColor);
    canvas.translate(captionStart(metrics.horizontalAdvance(m_caption)));
    // Turned counter-clockwise: the text runs up, its glyphs extend to the right.
    canvas.rotate(-90);
    canvas.drawText(0, metrics.ascent(), m_caption);
}

void TLabel90::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    QFrame::mouseReleaseEvent(event);
}

} // namespace orvane
