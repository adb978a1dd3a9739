// An uninstall as a list of steps: what the installation recorded, in the order it is undone, and
// for each step what will happen (or happened) and why.
//
// Design. Planning reads the uninstall data and its manifest and orders the steps: shortcuts,
// files, registry values, registry keys created, folders created (innermost first), then the
// uninstall data and its manifest, and last the folders that held those two. Each step is judged
// against the disk and the registry (judgeStep) when planned, for the dry run, and again right
// before it is carried out, so the plan shown is what happens and a change made in between is
// still respected. The uninstall data goes last, so an uninstall cut short can simply be run again.
#pragma once

#include "install_manifest.h"
#include "registry_store.h"

#include <optional>
#include <string>
#include <vector>

namespace orvane {

enum class StepKind { Shortcut, File, RegistryValue, RegistryKey, Folder, UninstallData };

enum class Verdict {
    Remove,        // removed (or to be removed)
    RemoveLink,    // a symbolic link stands there; it is removed as a link, its target untouched
    RemoveIfEmpty, // a folder or key that is removed if nothing else is left in it
    Restore,       // a registry value that gets the value back that the installation replaced
    Keep,          // kept for the reason given
    Missing,       // already gone
    Refuse,        // a protected path, never touched
    Fail,          // could not be carried out; the reason is the system's
};

struct UninstallStep {
    StepKind kind = StepKind::File;
    std::string subject; // the path, or the registry path of the key or value
    Verdict verdict = Verdict::Remove;
    std::string reason;
    std::optional<ManifestFile> recorded; // a file's size and digest, when the manifest has them
    ManifestValue value;                  // RegistryValue
    ManifestKey key;                      // RegistryKey
};

// What planning and carrying out need from outside.
struct UninstallContext {
    RegistryStore& registry;
    std::vector<std::string> protectedFolders; // see protectedFolders()
};

struct UninstallPlan {
    std::string uninstallData; // absolute path of the uninstall data
    std::string manifestPath;
    bool hasManifest = false;
    std::vector<std::string> installedFolders; // every folder recorded as created
    std::vector<UninstallStep> steps;
};

// The plan for the uninstall data at `uninstallData`, each step judged; nullopt with `error`
// (German) when neither the data nor its manifest can be read, or the manifest is damaged.
std::optional<UninstallPlan> planUninstall(const std::string& uninstallData,
                                           UninstallContext& context, std::string& error);

// Judges the step against the disk and the registry as they are now (never for Fail steps).
void judgeStep(UninstallStep& step, const UninstallPlan& plan, UninstallContext& context);

// The registry path of a key, and of a value (the default value named "(Standard)").
std::string registryKeyText(Hive hive, std::string_view key);
std::string registryValueText(const ManifestValue& value);

} // namespace orvane
