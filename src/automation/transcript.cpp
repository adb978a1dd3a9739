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

namespace {

std::string boolean(bool value) {
    return value ? "true" : "false";
}

std::string objectJson(const ObjectSnapshot& object) {
    std::string json =
        "{\"index\":" + std::to_string(object.index) + ",\"name\":" + jsonString(object.name) +
        ",\"kind\":\"" + object.kind + "\",\"handler\":" + jsonString(object.handler) +
        ",\"parent\":" + (object.parent ? jsonString(*object.parent) : "null") +
        ",\"x\":" + std::to_string(object.x) + ",\"y\":" + std::to_string(object.y) +
        ",\"width\":" + std::to_string(object.width) +
        ",\"height\":" + std::to_string(object.height) + ",\"visible\":" + boolean(object.visible) +
        ",\"enabled\":" + boolean(object.enabled) + ",\"caption\":" + jsonString(object.caption);
    if (object.checked)
        json += ",\"checked\":" + boolean(*object.checked);
    if (object.position)
        json += ",\"position\":" + std::to_string(*object.position);
    if (object.items) {
        json += ",\"items\":[";
        for (std::size_t k = 0; k < object.items->size(); ++k)
            json += (k == 0 ? "" : ",") + jsonString((*object.items)[k]);
        json += "],\"selected\":" + std::to_string(object.selected);
    }
    return json + "}";
}

} // namespace

std::string dumpEvent(const std::vector<ObjectSnapshot>& objects) {
    std::string json = "{\"event\":\"dump\",\"objects\":[";
    for (std::size_t k = 0; k < objects.size(); ++k)
        json += (k == 0 ? "" : ",") + objectJson(objects[k]);
    return json + "]}";
}

std::string openEvent(const std::string& target) {
    return "{\"event\":\"open\",\"target\":" + jsonString(target) + "}";
}

std::string exitEvent(int code) {
    return "{\"event\":\"exit\",\"code\":" + std::to_string(code) + "}";
}

} // namespace orvane::transcript
