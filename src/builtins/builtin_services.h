// What the built-ins reach outside the interpreter: dialogs, the package, text fields.
#pragma once

#include "message_dialog.h"
#include "script_error.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace orvane {

// The decoded bytes of an embedded file, read piece by piece so that the file is never held whole.
class ByteSource {
  public:
    // The smallest buffer read() takes.
    static constexpr std::size_t kMinCapacity = 64;

    virtual ~ByteSource() = default;
    // Fills `out` (at least kMinCapacity bytes) with the next bytes and returns how many; 0 once
    // all were read.
    virtual std::size_t read(char* out, std::size_t capacity) = 0;
    // The SHA-256 of every byte read, as 64 lower-case hex digits; set once read() returned 0.
    virtual std::string sha256() const = 0;
};

// Read access to the install package for the built-ins. Lookups raise ScriptError
// with the package's German messages.
class PackageAccess {
  public:
    virtual ~PackageAccess() = default;
    // Number of elements of the array at `path`.
    virtual std::int32_t arrayLength(std::string_view path) const = 0;
    // The value at `path` as text.
    virtual std::string text(std::string_view path) const = 0;
    // The bytes of the Base64 text at `path`. The lookup happens here, so a lookup error raises
    // before any byte is handed out. A package without embedded files finds none.
    virtual std::unique_ptr<ByteSource> bytes(std::string_view path) const {
        throw ScriptError("Wert '" + std::string(path) + "' nicht gefunden");
    }
    // The number of bytes the Base64 text at `path` decodes to.
    virtual std::uint64_t byteCount(std::string_view path) const {
        throw ScriptError("Wert '" + std::string(path) + "' nicht gefunden");
    }
    // The decoded bytes of the first element of "binfiles" whose "id" is exactly `id`;
    // nullopt when no element has it.
    virtual std::optional<std::string> findEmbeddedFile(std::string_view id) const = 0;
};

// Multi-line text fields of the script's windows, for `print`.
class TextFieldSink {
  public:
    virtual ~TextFieldSink() = default;
    // Appends `line` to the multi-line text field registered as `name`; raises
    // "Ungültige Typumwandlung" when that object is of another kind.
    virtual void appendLine(std::string_view name, std::string_view line) = 0;
};

// Told about every lasting change a built-in made, so a headless run can report it.
class InstallObserver {
  public:
    virtual ~InstallObserver() = default;
    virtual void registryWritten(std::string_view /*path*/, std::string_view /*value*/) {}
    // A file was written whole: installFile.
    virtual void fileInstalled(std::string_view /*path*/, std::uint64_t /*bytes*/) {}
    // A shortcut file was written: createLink.
    virtual void linkCreated(std::string_view /*path*/, std::string_view /*target*/) {}
};

// Called between the pieces of a long write (installFile) so that the engine can repaint its
// windows meanwhile. It may process paint events only: no script handler may run in between.
using PaintBetweenChunks = std::function<void()>;

class RegistryStore;
class Shell;
class UninstallList;

struct BuiltinServices {
    MessageDialog& dialog;
    const PackageAccess* package = nullptr;
    TextFieldSink* textFields = nullptr;
    UninstallList* uninstall = nullptr;
    RegistryStore* registry = nullptr;
    InstallObserver* observer = nullptr;
    Shell* shell = nullptr;
    PaintBetweenChunks paintBetweenChunks = nullptr;
    // The exit status when main returns normally (setExitCode).
    std::int32_t exitCode = 0;
};

} // namespace orvane
