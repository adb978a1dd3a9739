// Writing engine texts as JSON string literals (the tools' outputs, the install manifest).
#pragma once

#include <string>
#include <string_view>

namespace orvane {

// `text` as a quoted JSON string; control characters are escaped ("\r" stays "\r"),
// bytes that are not valid UTF-8 become U+FFFD so the output is always valid JSON.
std::string jsonString(std::string_view text);

} // namespace orvane
