// Helpers shared by the built-ins.
#include "allgemeines.h"

namespace orvane {

std::string nativePath(std::string_view path) {
    std::string native(path);
    for (char& c : native) {
        if (c == '\\')
            c = '/';
    }
    return native;
}

} // namespace orvane
