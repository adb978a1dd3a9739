// Choosing the files of a bundle.
#include "bundle_contents.h"

#include "package_location.h"

#include <QLibraryInfo>

#include <array>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <stdexcept>

namespace orvane {

namespace {

namespace fs = std::filesystem;

// Sonames starting with one of these are left to the desktop (see isDesktopLibrary).
constexpr std::array kDesktopPrefixes = {
    // the C library and the loader
    "libc.so.", "libm.so.", "libdl.so.", "libpthread.so.", "librt.so.", "libutil.so.",
    "libresolv.so.", "libanl.so.", "libmvec.so.", "ld-linux",
    // GL and EGL, bound to the graphics driver
    "libGL.so.", "libGLX.so.", "libGLdispatch.so.", "libOpenGL.so.", "libEGL.so.", "libGLES",
    "libgbm.so.", "libdrm.so.",
    // X11 and xcb client libraries
    "libX", "libxcb.so.", "libxcb-", "libICE.so.", "libSM.so.",
    // fontconfig, bound to the system's configuration files
    "libfontconfig.so."};

// xcb utility libraries, bundled although they start with "libxcb-".
constexpr std::array kBundledXcbPrefixes = {
    "libxcb-icccm.", "libxcb-image.",  "libxcb-keysyms.", "libxcb-render-util.",
    "libxcb-util.",  "libxcb-cursor.", "libxcb-ewmh."};

bool startsWithAny(std::string_view text, const auto& prefixes) {
    for (const std::string_view prefix : prefixes)
        if (text.starts_with(prefix))
            return true;
    return false;
}

std::string runLdd(const std::string& binary) {
    const std::string command = "ldd '" + binary + "' 2>&1";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
    if (!pipe)
        throw std::runtime_error("cannot run ldd");
    std::string out;
    std::array<char, 4096> buffer{};
    for (std::size_t n; (n = std::fread(buffer.data(), 1, buffer.size(), pipe.get())) > 0;)
        out.append(buffer.data(), n);
    if (::pclose(pipe.release()) != 0)
        throw std::runtime_error("ldd " + binary + ": " + out);
    return out;
}

// Qt's own files beside the engine: the xcb (X11) and offscreen (headless) platform plugins and
// the translations of Qt's standard texts.
std::vector<BundleItem> qtItems() {
    const fs::path plugins = QLibraryInfo::path(QLibraryInfo::PluginsPath).toStdString();
    std::vector<BundleItem> items;
    for (const char* plugin : {"libqxcb.so", "libqoffscreen.so"})
        items.push_back({std::string("plugins/platforms/") + plugin,
                         (plugins / "platforms" / plugin).string(), "", false});
    const fs::path translations = QLibraryInfo::path(QLibraryInfo::TranslationsPath).toStdString();
    std::set<std::string> catalogues; // sorted: the same inputs give the same bundle
    std::error_code error;
    for (const auto& file : fs::directory_iterator(translations, error)) {
        const std::string name = file.path().filename().string();
        if (name.starts_with("qtbase_") && name.ends_with(".qm"))
            catalogues.insert(name);
    }
    for (const std::string& name : catalogues)
        items.push_back({"translations/" + name, (translations / name).string(), "", false});
    items.push_back({"qt.conf", "",
                     "[Paths]\nPrefix = .\nLibraries = lib\nPlugins = plugins\n"
                     "Translations = translations\n",
                     false});
    return items;
}

} // namespace

bool isDesktopLibrary(std::string_view soname) {
    return startsWithAny(soname, kDesktopPrefixes) && !startsWithAny(soname, kBundledXcbPrefixes);
}

Libraries parseLdd(const std::string& binary, const std::string& output) {
    Libraries libraries;
    std::istringstream lines(output);
    // "\tSONAME => PATH (ADDRESS)" or "\tSONAME => not found"; the vDSO and the loader have no
    // "=>".
    for (std::string line; std::getline(lines, line);) {
        const std::size_t arrow = line.find(" => ");
        if (arrow == std::string::npos)
            continue;
        const std::size_t start = line.find_first_not_of(" \t");
        const std::string soname = line.substr(start, arrow - start);
        const std::string where = line.substr(arrow + 4);
        if (isDesktopLibrary(soname))
            continue;
        if (!where.starts_with("/"))
            throw std::runtime_error(binary + " needs " + soname + ", which is not found");
        libraries.emplace_back(soname, where.substr(0, where.rfind(" (")));
    }
    return libraries;
}

std::vector<BundleItem> bundleItems(const std::string& engine, const std::string& name,
                                    const std::string& package) {
    std::vector<BundleItem> items{{name, engine, "", true},
                                  {packagePathForExecutable(name), package, "", false}};
    std::vector<BundleItem> qt = qtItems();
    // The libraries of the engine and of the plugins, each once.
    std::map<std::string, std::string> libraries;
    for (const std::string& binary : {engine, qt[0].source, qt[1].source})
        for (auto& [soname, path] : parseLdd(binary, runLdd(binary)))
            libraries.emplace(soname, path);
    for (const auto& [soname, path] : libraries)
        items.push_back({"lib/" + soname, path, "", false});
    items.insert(items.end(), qt.begin(), qt.end());
    return items;
}

} // namespace orvane
