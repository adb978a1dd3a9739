// Records message boxes instead of showing them.
#include "recording_dialog.h"

namespace orvane {

MessageAnswer RecordingDialog::show(const std::string& text, const std::string& caption,
                                    int flags) {
    m_boxes.push_back({text, caption, flags});
    if (m_observer)
        m_observer(m_boxes.back());
    if (flags != mbYesNoQuestion)
        return idOk;
    if (m_answers.empty())
        return idNo;
    MessageAnswer answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

} // namespace orvane
