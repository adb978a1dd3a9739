// Message boxes on real windows.
#pragma once

#include "message_dialog.h"

namespace orvane {

// Shows each box as an application-modal QMessageBox: buttons from the low four bits
// of the flags (0 OK, 4 Yes/No), the icon from the next four (16 error, 32 question,
// 48 warning, 64 information).
class QtMessageDialog : public MessageDialog {
  public:
    MessageAnswer show(const std::string& text, const std::string& caption, int flags) override;
};

// `text` with CR LF, lone CR and lone LF all turned into "\n", for display.
std::string withDisplayLineBreaks(const std::string& text);

} // namespace orvane
