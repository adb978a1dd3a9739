// AnswerRecorder: writes down, as scenario lines, the answers a user gives to a run with
// windows, so that the run can be replayed as an answer file.
//
// Design. Everything a user does arrives as spontaneous input events, so an application-wide
// event filter sees it before the widgets do: mouse clicks on registered controls become
// `click`, `select` and `dblclick`, the close button of a form `close`. Typing is written down
// per field once the user turns elsewhere: the text typed since the field was last written down,
// as `type` (after `clear` when the old text did not stay). Message boxes and the folder dialog
// report their answers directly: the recorder wraps the run's message dialog, and the folder
// dialog tells when it closed. What was typed into a field whose name contains "pass" (or that
// hides its text) becomes the placeholder `secret NAME`, which a replay refuses.
#pragma once

#include "message_dialog.h"

#include <QObject>
#include <QPointer>

#include <map>
#include <string>
#include <vector>

class QLineEdit;

namespace orvane {

class ScriptObject;
class ScriptWindows;
class TOrvaneOrdnerDialog;

class AnswerRecorder : public QObject, public MessageDialog {
  public:
    // Boxes are shown by `dialog`; the recorder notes the Yes/No answers.
    explicit AnswerRecorder(MessageDialog& dialog);
    ~AnswerRecorder() override;

    // Starts watching the user's input to `windows` and the choices in `folderDialog`.
    void attach(ScriptWindows& windows, TOrvaneOrdnerDialog& folderDialog);

    // MessageDialog: the session shows its boxes through the recorder.
    MessageAnswer show(const std::string& text, const std::string& caption, int flags) override;

    // The answer file so far (pending typing included).
    std::string text();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct Typing {
        QPointer<QLineEdit> field;
        QString before; // the field's text when it was last written down
    };

    void add(std::string line);
    void flushTyping();
    void noteKey(QLineEdit& field, const std::string& name);
    void noteClick(QWidget& widget, QEvent& event);
    // The registered object `widget` belongs to (itself or its container within its window).
    const ScriptObject* objectOf(QWidget* widget, std::string& name,
                                 std::string* handler = nullptr) const;

    MessageDialog& m_dialog;
    ScriptWindows* m_windows = nullptr;
    std::vector<std::string> m_lines;
    std::map<std::string, Typing> m_typing; // by field name, in the order of the names
    bool m_skipRelease = false;             // the release that ends a double-click (no press since)
};

} // namespace orvane
