// MD5 digest of a byte string, as 32 lower-case hexadecimal digits.
#pragma once

#include <string>
#include <string_view>

namespace orvane {

std::string md5Hex(std::string_view data);

} // namespace orvane
