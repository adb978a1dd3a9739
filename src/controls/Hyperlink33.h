// THyperLink: a text label that behaves like a link in a web page.
#pragma once

#include "desktop_opener.h"
#include "tlabel.h"

#include <QString>

#include <functional>

namespace orvane {

// Blue, bold and underlined text under a pointing-hand cursor, italic while the mouse is
// over it. A click opens the target (URL) with the desktop's default handler and reports
// when nothing could open it (once the handler says so; the window is not blocked
// meanwhile). Without a target, a click goes to whatever is connected to clicked(), or
// reports that no target was given.
class THyperLink : public TLabel {
    Q_OBJECT
  public:
    // Opens a target and tells `done`, now or later, whether anything could open it.
    using Opener = std::function<void(const QString& target, const OpenResult& done)>;
    // Reports a failed click with a message text and caption.
    using Notice = std::function<void(const QString& text, const QString& caption)>;

    explicit THyperLink(QWidget* parent = nullptr);

    const QString& URL() const { return m_furl; }
    void setURL(const QString& url) { m_furl = url; }

    // Replace how targets are opened and failures shown (by default the desktop's
    // handler and an application-modal error box).
    void setOpener(Opener opener) { m_opener = std::move(opener); }
    void setNotice(Notice notice) { m_notice = std::move(notice); }

  signals:
    void clicked();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    // The click: opens the target, or without one calls clicked() or complains.
    void Click();

  private:
    void setItalic(bool italic);

    QString m_furl;
    Opener m_opener;
    Notice m_notice;
    bool m_pressed = false;
};

} // namespace orvane
