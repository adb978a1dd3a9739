// The one way the engine shows a message box: text, caption and Windows-style flags.
#pragma once

#include <string>

namespace orvane {

// Flag values the engine uses (Windows MB_* layout).
enum MessageFlags : int {
    mbOk = 0,            // OK button, no icon
    mbIconError = 16,    // OK button, error icon
    mbYesNoQuestion = 36 // Yes and No buttons, question icon
};

// Answers as Windows reports them (IDOK, IDYES, IDNO).
enum MessageAnswer : int { idOk = 1, idYes = 6, idNo = 7 };

// Shows a modal message box and returns the button the user pressed. The engine
// implements it with real windows; tools and tests record the boxes instead.
class MessageDialog {
  public:
    virtual ~MessageDialog() = default;
    virtual MessageAnswer show(const std::string& text, const std::string& caption, int flags) = 0;
};

} // namespace orvane
