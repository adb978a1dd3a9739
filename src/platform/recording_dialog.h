// A message dialog that records every box and answers from a queue (for tests and headless runs).
#pragma once

#include "message_dialog.h"

#include <deque>
#include <functional>
#include <vector>

namespace orvane {

struct RecordedBox {
    std::string text;
    std::string caption;
    int flags = 0;
};

class RecordingDialog : public MessageDialog {
  public:
    MessageAnswer show(const std::string& text, const std::string& caption, int flags) override;

    // Answers for Yes/No boxes, taken in order; an empty queue answers "no".
    void queueAnswer(MessageAnswer answer) { m_answers.push_back(answer); }
    // Called for every box before it is answered (used to print transcripts live).
    void setObserver(std::function<void(const RecordedBox&)> observer) {
        m_observer = std::move(observer);
    }

    const std::vector<RecordedBox>& boxes() const { return m_boxes; }
    void clear() { m_boxes.clear(); }

  private:
    std::vector<RecordedBox> m_boxes;
    std::deque<MessageAnswer> m_answers;
    std::function<void(const RecordedBox&)> m_observer;
};

} // namespace orvane
