// Transcript lines.
#include "transcript.h"

#include "json_output.h"

namespace orvane::transcript {

std::string messageBoxEvent(const RecordedBox& box) {
    return "{\"event\":\"msgbox\",\"flags\":" + std::to_string(box.flags) +
           ",\"caption\":" + jsonString(box.caption) + ",\"text\":" + jsonString(box.text) + "}";
}

std::string registryEvent(std::string_view path, std::string_view value) {
    return "{\"event\":\"registry\",\"path\":" + jsonString(path) +
           ",\"value\":" + jsonString(value) + "}";
}

std::string fileEvent(std::string_view path, std::uint64_t bytes) {
    return "{\"event\":\"file\",\"path\":" + jsonString(path) +
           ",\"bytes\":" + std::to_string(bytes) + "}";
}

std::string linkEvent(std::string_view path, std::string_view target) {
    return "{\"event\":\"link\",\"path\":" + jsonString(path) +
           ",\"target\":" + jsonString(target) + "}";
}

std::string exitEvent(int code) {
    return "{\"event\":\"exit\",\"code\":" + std::to_string(code) + "}";
}

} // namespace orvane::transcript
