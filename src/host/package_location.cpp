// The package-name rule.
#include "package_location.h"

namespace orvane {

std::string packagePathForExecutable(const std::string& executablePath) {
    const std::size_t slash = executablePath.rfind('/');
    const std::string folder =
        slash == std::string::npos ? std::string() : executablePath.substr(0, slash + 1);
    const std::string name =
        slash == std::string::npos ? executablePath : executablePath.substr(slash + 1);
    const std::size_t dot = name.find('.');
    const std::string base = dot == std::string::npos ? name + "." : name.substr(0, dot + 1);
    return folder + base + "ovsp";
}

} // namespace orvane
