// TForm: a top-level window that a script builds.
#pragma once

#include <QWidget>

namespace orvane {

// A window with a fixed-size frame, a close and a minimize button and no maximize
// button. It never ends the application when closed. Unless it is asked to centre
// itself, the window system chooses where it first appears.
class TForm : public QWidget {
    Q_OBJECT
  public:
    explicit TForm(QWidget* parent = nullptr);

    // Whether the form moves to the centre of the screen each time it is shown.
    void setScreenCenter(bool center) { m_screenCenter = center; }
    bool screenCenter() const { return m_screenCenter; }

    void setVisible(bool visible) override;

    // Paints the form on screen now, without waiting for the event loop. A window shown
    // since the loop last ran is not exposed yet and would paint nothing, so pending
    // window-system events are taken first (user input is left waiting: nothing the
    // user does is handled here).
    void paintNow();

  signals:
    // The form was hidden by a program or closed by the user (not minimized).
    void hidden();

  protected:
    void hideEvent(QHideEvent* event) override;

  private:
    bool m_screenCenter = false;
};

} // namespace orvane
