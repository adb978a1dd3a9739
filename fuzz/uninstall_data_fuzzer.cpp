// Arbitrary bytes as the files an installation leaves behind: the uninstall data and its manifest.
// Both readers must end in data or in their ordinary error; a manifest that was read must be
// written back into a text that reads back to the same manifest, and every listed path must get
// a clear verdict from the uninstaller's path check.
#include "manifest_json.h"
#include "path_safety.h"
#include "uninstall_data.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

using namespace orvane;

void fail(const char* what) {
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

void checkPaths(const UninstallData& data) {
    static const std::vector<std::string> kProtected = {"/home/user", "/usr"};
    for (const auto* list : {&data.folders, &data.files}) {
        for (const std::string& path : *list) {
            if (path.empty() || path.find('\n') != std::string::npos)
                fail("an empty entry or one holding a line break was listed");
            refusalReason(path, kProtected);
        }
    }
}

void checkManifestRoundTrip(std::string_view text) {
    std::string error;
    const auto manifest = manifestFromJson(text, error);
    if (!manifest) {
        if (error.empty())
            fail("a manifest was refused without a reason");
        return;
    }
    const std::string written = manifestToJson(*manifest);
    const auto reread = manifestFromJson(written, error);
    if (!reread)
        fail("a manifest written back could not be read again");
    if (manifestToJson(*reread) != written)
        fail("a manifest read back differs from the one written");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    checkPaths(parseUninstallData(text));
    checkManifestRoundTrip(text);
    return 0;
}
