// The emulated registry: two hives of keys and string values, each in its own SQLite file.
//
// Design. Each hive (HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER) is one database file holding two
// tables: `keys`, a tree of rows (id, parent, name) whose root row has the id 1 and an empty name,
// and `vals` (key, name, data) with the empty name standing for the key's default value. Names are
// compared without regard to ASCII case (SQLite's NOCASE collation, which folds only A-Z) and kept
// as first written. A key path is a text of names separated by "\"; a leading "\" is optional and
// empty names between separators are skipped, so "\Software\\Foo" and "Software\Foo" are one key.
//
// Durability. Every write is one IMMEDIATE transaction in rollback-journal mode with
// synchronous=FULL: a process killed at any moment leaves either the old or the new state, never a
// torn one, and a finished write is on disk. Writers from several processes queue on SQLite's
// busy timeout instead of failing.
//
// Failure is reported through the returned RegStatus / RegResult, never by throwing: a store that
// cannot be opened or written gives a result whose error names the file and SQLite's reason. A
// hive is opened on first use; an open that failed is tried again by the next operation.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

enum class Hive { LocalMachine, CurrentUser };

// "HKEY_LOCAL_MACHINE" or "HKEY_CURRENT_USER".
std::string_view hiveName(Hive hive);

// The outcome of an operation that returns nothing: ok, or the reason it failed.
struct RegStatus {
    bool ok = true;
    std::string error;

    static RegStatus failure(std::string reason) { return {false, std::move(reason)}; }
};

// The outcome of an operation that returns a value: the value, or the reason it failed.
template <typename T> struct RegResult {
    std::optional<T> value;
    std::string error;

    bool ok() const { return value.has_value(); }
    static RegResult failure(std::string reason) { return {std::nullopt, std::move(reason)}; }
};

struct RegValue {
    std::string name; // empty for the default value
    std::string data;
};

// One key's direct contents, each list ordered by name without regard to case.
struct RegKeyListing {
    std::vector<RegValue> values;
    std::vector<std::string> subKeys;
};

// One key of a hive export: its path from the root ("" for the root itself) and its values.
struct RegExportedKey {
    std::string path;      // names joined by "\", no leading "\"
    std::string name;      // the last of those names (a damaged file may hold one with a "\")
    std::size_t depth = 0; // the number of names: 0 for the root
    std::vector<RegValue> values;
};

// Where the two hive files live and what a new HKLM store is seeded with.
struct RegistryFiles {
    std::string localMachine;    // full path of HKEY_LOCAL_MACHINE.db
    std::string currentUser;     // full path of HKEY_CURRENT_USER.db
    std::string programFilesDir; // ProgramFilesDir written into a newly created HKLM store
};

// The files for this process: both in $ORVANE_REGISTRY_DIR when it is set (tests, headless
// runs); otherwise in $XDG_DATA_HOME/orvane/registry (default ~/.local/share), except that root's
// HKLM lives in /var/lib/orvane/registry. ProgramFilesDir is /opt for root, $HOME/.local/opt else.
RegistryFiles registryFilesFromEnvironment();

// The key under which a new HKLM store records the program-files folder, and the value's name.
inline constexpr std::string_view kCurrentVersionKey =
    "\\Software\\Microsoft\\Windows\\CurrentVersion";
inline constexpr std::string_view kProgramFilesDirValue = "ProgramFilesDir";

class RegistryStore {
  public:
    explicit RegistryStore(RegistryFiles files);
    ~RegistryStore();
    RegistryStore(const RegistryStore&) = delete;
    RegistryStore& operator=(const RegistryStore&) = delete;

    const RegistryFiles& files() const { return m_files; }

    RegResult<bool> keyExists(Hive hive, std::string_view keyPath);
    // Creates the key and any missing keys above it; the value says whether the key was new.
    // An existing key is opened, so this is also "open, creating if missing".
    RegResult<bool> createKey(Hive hive, std::string_view keyPath);
    // Writes a string value, creating the key if missing and replacing a value of that name.
    RegStatus writeString(Hive hive, std::string_view keyPath, std::string_view name,
                          std::string_view data);
    // The value's data; nullopt inside the result when the key or the value does not exist.
    RegResult<std::optional<std::string>> readString(Hive hive, std::string_view keyPath,
                                                     std::string_view name);
    // A key's values and sub-keys; an error when the key does not exist.
    RegResult<RegKeyListing> listKey(Hive hive, std::string_view keyPath);
    // Every key of the hive reachable from its root, parents before children, siblings by name;
    // each key once, even where a damaged file links keys into a cycle.
    RegResult<std::vector<RegExportedKey>> exportHive(Hive hive);
    // Removes a key with all keys and values below it; the root key cannot be removed.
    RegStatus deleteKeyTree(Hive hive, std::string_view keyPath);

    // For uninstalling, each in one transaction so that a change made meanwhile is never lost.
    // Reads the value; only when it holds exactly `expected` is it set to `replacement`, or
    // removed when that is nullopt. The value gives what was found (nullopt: no such value).
    RegResult<std::optional<std::string>>
    replaceStringIf(Hive hive, std::string_view keyPath, std::string_view name,
                    std::string_view expected, const std::optional<std::string>& replacement);
    // Removes the key only when it holds neither values nor sub-keys; the value says whether it
    // was removed. A missing key or the root is never removed.
    RegResult<bool> deleteKeyIfEmpty(Hive hive, std::string_view keyPath);

  private:
    class Database;
    Database* open(Hive hive, std::string& error);
    // Runs `body(Database&)` in one transaction; a false return or a failed commit rolls back.
    template <typename Body> RegStatus transact(Hive hive, bool forWriting, Body&& body);

    RegistryFiles m_files;
    std::unique_ptr<Database> m_localMachine;
    std::unique_ptr<Database> m_currentUser;
};

} // namespace orvane
