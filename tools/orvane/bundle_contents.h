// What goes into a bundle: the engine, the libraries a desktop may lack, Qt's platform plugins and
// translations, qt.conf and the package.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orvane {

struct BundleItem {
    std::string path;   // inside the bundle
    std::string source; // the file it is copied from; empty for `text`
    std::string text;
    bool executable = false;
};

// Libraries every Linux desktop has and that must come from the system: the C library and the
// dynamic loader, GL/EGL (bound to the graphics driver), the X11 and xcb client libraries and
// fontconfig (bound to the system's configuration). The xcb utility libraries are bundled: many
// desktops without Qt programs lack them.
bool isDesktopLibrary(std::string_view soname);

using Libraries = std::vector<std::pair<std::string, std::string>>; // soname and path

// The libraries in `output`, the text `ldd binary` printed (the dynamic loader's view of what the
// binary loads), minus the desktop's own. Throws std::runtime_error for one that was not found.
Libraries parseLdd(const std::string& binary, const std::string& output);

// Everything a bundle of `engine` named `name` holds, the package from `package`.
std::vector<BundleItem> bundleItems(const std::string& engine, const std::string& name,
                                    const std::string& package);

} // namespace orvane
