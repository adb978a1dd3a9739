// The install manifest's JSON form: writing it, and reading it back with every member checked.
#pragma once

#include "install_manifest.h"

#include <optional>
#include <string>
#include <string_view>

namespace orvane {

// The manifest as JSON text (UTF-8, one member per line, ending with a line break).
std::string manifestToJson(const InstallManifest& manifest);

// The manifest in `text`, or nullopt with `error` saying what is wrong (German).
std::optional<InstallManifest> manifestFromJson(std::string_view text, std::string& error);

// The manifest file that belongs to the uninstall data at `uninstallData`.
std::string manifestPathFor(std::string_view uninstallData);

// Writes the manifest to `path` in one step (old or new file, never half of one); false with the
// system's reason when it cannot be written.
bool writeManifestFile(const std::string& path, const InstallManifest& manifest,
                       std::string& reason);

} // namespace orvane
