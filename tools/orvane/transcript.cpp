// Transcript lines.
#include "transcript.h"

#include "json_output.h"

namespace orvane::transcript {

std::string messageBoxEvent(const RecordedBox& box) {
    return "{\"event\":\"msgbox\",\"flags\":" + std::to_string(box.flags) +
           ",\"caption\":" + jsonString(box.caption) + ",\"text\":" + jsonString(box.text) + "}";
}

std::string exitEvent(int code) {
    return "{\"event\":\"exit\",\"code\":" + std::to_string(code) + "}";
}

} // namespace orvane::transcript
