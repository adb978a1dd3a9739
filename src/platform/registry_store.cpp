// The registry store on SQLite: schema, transactions and the key-tree operations.
#include "registry_store.h"

#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>
#include <limits>
#include <pwd.h>
#include <unistd.h>
#include <unordered_map>
#include <unordered_set>

namespace orvane {

namespace {

// How long a writer waits for another process's transaction before giving up. Transactions
// here last milliseconds, so reaching this means a stuck process, not ordinary contention.
constexpr int kBusyTimeoutMs = 30000;

// PRAGMA user_version of a store in the format written here; 0 means "not yet set up".
constexpr int kStoreFormat = 1;

constexpr sqlite3_int64 kRootKeyId = 1;

constexpr const char* kSchema = R"sql(
CREATE TABLE keys(
    id INTEGER PRIMARY KEY,
    parent INTEGER,
    name TEXT NOT NULL COLLATE NOCASE,
    UNIQUE(parent, name));
CREATE TABLE vals(
    key INTEGER NOT NULL,
    name TEXT NOT NULL COLLATE NOCASE,
    data TEXT NOT NULL,
    PRIMARY KEY(key, name));
INSERT INTO keys(id, parent, name) VALUES(1, NULL, '');
)sql";

// The names of a key path, without the empty ones.
std::vector<std::string_view> splitKeyPath(std::string_view path) {
    std::vector<std::string_view> names;
    while (!path.empty()) {
        const auto cut = path.find('\\');
        const auto name = path.substr(0, cut);
        if (!name.empty())
            names.push_back(name);
        if (cut == std::string_view::npos)
            break;
        path.remove_prefix(cut + 1);
    }
    return names;
}

std::string homeFolder() {
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0')
        return home;
    if (const passwd* entry = ::getpwuid(::geteuid()); entry != nullptr && entry->pw_dir != nullptr)
        return entry->pw_dir;
    return {};
}

std::string userDataFolder(const std::string& home) {
    // Relative values of XDG_DATA_HOME are to be ignored (XDG Base Directory rules).
    if (const char* data = std::getenv("XDG_DATA_HOME"); data != nullptr && data[0] == '/')
        return data;
    return home + "/.local/share";
}

// A prepared statement that finalizes itself. A statement that failed to prepare reports
// SQLITE_MISUSE from step(), so callers check failed() once after stepping.
class Statement {
  public:
    Statement(sqlite3* db, const std::string& sql) {
        m_rc = sqlite3_prepare_v2(db, sql.c_str(), -1, &m_stmt, nullptr);
    }
    ~Statement() { sqlite3_finalize(m_stmt); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    void bind(int index, sqlite3_int64 number) { sqlite3_bind_int64(m_stmt, index, number); }
    void bind(int index, std::string_view text) {
        sqlite3_bind_text64(m_stmt, index, text.data(), text.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
    }
    // SQLITE_ROW, SQLITE_DONE or an error code.
    int step() {
        if (m_stmt != nullptr)
            m_rc = sqlite3_step(m_stmt);
        return m_rc;
    }
    bool failed() const { return m_rc != SQLITE_ROW && m_rc != SQLITE_DONE; }
    sqlite3_int64 integer(int column) const { return sqlite3_column_int64(m_stmt, column); }
    std::string text(int column) const {
        const auto* bytes = static_cast<const char*>(sqlite3_column_blob(m_stmt, column));
        const int size = sqlite3_column_bytes(m_stmt, column);
        return bytes == nullptr ? std::string() : std::string(bytes, static_cast<size_t>(size));
    }

  private:
    sqlite3_stmt* m_stmt = nullptr;
    int m_rc = SQLITE_OK;
};

} // namespace

std::string_view hiveName(Hive hive) {
    return hive == Hive::LocalMachine ? "HKEY_LOCAL_MACHINE" : "HKEY_CURRENT_USER";
}

RegistryFiles registryFilesFromEnvironment() {
    const std::string home = homeFolder();
    const bool root = ::geteuid() == 0;
    RegistryFiles files;
    files.programFilesDir = root ? "/opt" : home + "/.local/opt";
    std::string userDir;
    std::string machineDir;
    if (const char* dir = std::getenv("ORVANE_REGISTRY_DIR"); dir != nullptr && *dir != '\0') {
        userDir = machineDir = dir;
    } else {
        userDir = userDataFolder(home) + "/orvane/registry";
        machineDir = root ? "/var/lib/orvane/registry" : userDir;
    }
    files.localMachine = machineDir + "/HKEY_LOCAL_MACHINE.db";
    files.currentUser = userDir + "/HKEY_CURRENT_USER.db";
    return files;
}

// One open hive file. Every method returns false with `m_error` set when SQLite refuses.
class RegistryStore::Database {
  public:
    explicit Database(std::string path) : m_path(std::move(path)) {}
    ~Database() { sqlite3_close_v2(m_db); }
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    bool open(std::string_view programFilesDir);
    const std::string& error() const { return m_error; }

    bool exec(const char* sql);
    bool begin(bool forWriting) { return exec(forWriting ? "BEGIN IMMEDIATE" : "BEGIN"); }
    bool commit() { return exec("COMMIT"); }
    void rollback() {
        if (sqlite3_get_autocommit(m_db) == 0)
            sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
    }

    // The key's id, 0 when it does not exist; nullopt on error.
    std::optional<sqlite3_int64> findKey(std::string_view path);
    // The key's id, created with every missing key above it; `created` tells whether it was new.
    std::optional<sqlite3_int64> ensureKey(std::string_view path, bool& created);
    bool writeValue(sqlite3_int64 key, std::string_view name, std::string_view data);
    bool readValue(sqlite3_int64 key, std::string_view name, std::optional<std::string>& data);
    bool readValues(sqlite3_int64 key, std::vector<RegValue>& values);
    bool readSubKeys(sqlite3_int64 key, std::vector<std::string>& names);
    bool readAllKeys(std::vector<RegExportedKey>& keys);
    bool deleteTree(sqlite3_int64 key);
    bool deleteValue(sqlite3_int64 key, std::string_view name);
    bool isEmpty(sqlite3_int64 key, bool& empty);

  private:
    bool fail(const std::string& reason);
    bool failed(const Statement& statement);
    bool setUp(std::string_view programFilesDir);
    std::optional<int> storeFormat();
    std::optional<sqlite3_int64> findChild(sqlite3_int64 parent, std::string_view name);
    std::optional<sqlite3_int64> insertChild(sqlite3_int64 parent, std::string_view name);

    std::string m_path;
    sqlite3* m_db = nullptr;
    std::string m_error;
};

bool RegistryStore::Database::fail(const std::string& reason) {
    m_error = m_path + ": " + reason;
    return false;
}

bool RegistryStore::Database::failed(const Statement& statement) {
    if (!statement.failed())
        return false;
    fail(sqlite3_errmsg(m_db));
    return true;
}

bool RegistryStore::Database::exec(const char* sql) {
    char* message = nullptr;
    if (sqlite3_exec(m_db, sql, nullptr, nullptr, &message) == SQLITE_OK)
        return true;
    fail(message != nullptr ? message : sqlite3_errmsg(m_db));
    sqlite3_free(message);
    return false;
}

bool RegistryStore::Database::open(std::string_view programFilesDir) {
    std::error_code ec;
    const auto folder = std::filesystem::path(m_path).parent_path();
    if (!folder.empty() && !std::filesystem::is_directory(folder, ec)) {
        std::filesystem::create_directories(folder, ec);
        if (ec)
            return fail("cannot create folder " + folder.string() + ": " + ec.message());
    }
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
    if (sqlite3_open_v2(m_path.c_str(), &m_db, flags, nullptr) != SQLITE_OK)
        return fail(m_db != nullptr ? sqlite3_errmsg(m_db) : "out of memory");
    sqlite3_busy_timeout(m_db, kBusyTimeoutMs);
    // A rollback journal: an interrupted transaction is rolled back by the next opener, and
    // unlike WAL it needs no shared-memory file, so it also works on network home folders.
    // FULL syncs the journal and the file before COMMIT returns. (EXTRA would also sync the
    // folder after deleting the journal, so that a power cut right after a commit could not undo
    // it; it makes every write about ten times slower, and the file stays sound either way.)
    if (!exec("PRAGMA journal_mode=DELETE; PRAGMA synchronous=FULL"))
        return false;
    return setUp(programFilesDir);
}

std::optional<int> RegistryStore::Database::storeFormat() {
    Statement statement(m_db, "PRAGMA user_version");
    statement.step();
    if (failed(statement))
        return std::nullopt;
    return static_cast<int>(statement.integer(0));
}

// Creates the tables (and seeds a machine hive) in a new file; several processes may race here,
// so the check is repeated inside the write transaction.
bool RegistryStore::Database::setUp(std::string_view programFilesDir) {
    auto format = storeFormat();
    if (format && *format == kStoreFormat)
        return true;
    if (!format || !begin(true))
        return false;
    format = storeFormat();
    bool ok = format.has_value();
    if (ok && *format == 0) {
        ok = exec(kSchema) && exec("PRAGMA user_version=1");
        bool created = false;
        if (ok && !programFilesDir.empty()) {
            const auto key = ensureKey(kCurrentVersionKey, created);
            ok = key && writeValue(*key, kProgramFilesDirValue, programFilesDir);
        }
    } else if (ok && *format != kStoreFormat) {
        ok = fail("unknown store format " + std::to_string(*format));
    }
    if (ok && commit())
        return true;
    rollback();
    return false;
}

std::optional<sqlite3_int64> RegistryStore::Database::findChild(sqlite3_int64 parent,
                                                                std::string_view name) {
    Statement statement(m_db, "SELECT id FROM keys WHERE parent = ?1 AND name = ?2");
    statement.bind(1, parent);
    statement.bind(2, name);
    const int rc = statement.step();
    if (failed(statement))
        return std::nullopt;
    return rc == SQLITE_ROW ? statement.integer(0) : 0;
}

std::optional<sqlite3_int64> RegistryStore::Database::insertChild(sqlite3_int64 parent,
                                                                  std::string_view name) {
    Statement statement(m_db, "INSERT INTO keys(parent, name) VALUES(?1, ?2)");
    statement.bind(1, parent);
    statement.bind(2, name);
    statement.step();
    if (failed(statement))
        return std::nullopt;
    return sqlite3_last_insert_rowid(m_db);
}

std::optional<sqlite3_int64> RegistryStore::Database::findKey(std::string_view path) {
    sqlite3_int64 id = kRootKeyId;
    for (const auto name : splitKeyPath(path)) {
        const auto child = findChild(id, name);
        if (!child || *child == 0)
            return child;
        id = *child;
    }
    return id;
}

std::optional<sqlite3_int64> RegistryStore::Database::ensureKey(std::string_view path,
                                                                bool& created) {
    created = false;
    sqlite3_int64 id = kRootKeyId;
    for (const auto name : splitKeyPath(path)) {
        auto child = findChild(id, name);
        created = child && *child == 0;
        if (created)
            child = insertChild(id, name);
        if (!child)
            return std::nullopt;
        id = *child;
    }
    return id;
}

bool RegistryStore::Database::writeValue(sqlite3_int64 key, std::string_view name,
                                         std::string_view data) {
    // ON CONFLICT keeps the stored name, so a value keeps the case it was first written with.
    Statement statement(m_db, "INSERT INTO vals(key, name, data) VALUES(?1, ?2, ?3) "
                              "ON CONFLICT(key, name) DO UPDATE SET data = excluded.data");
    statement.bind(1, key);
    statement.bind(2, name);
    statement.bind(3, data);
    statement.step();
    return !failed(statement);
}

bool RegistryStore::Database::readValue(sqlite3_int64 key, std::string_view name,
                                        std::optional<std::string>& data) {
    Statement statement(m_db, "SELECT data FROM vals WHERE key = ?1 AND name = ?2");
    statement.bind(1, key);
    statement.bind(2, name);
    const int rc = statement.step();
    if (failed(statement))
        return false;
    if (rc == SQLITE_ROW)
        data = statement.text(0);
    return true;
}

bool RegistryStore::Database::readValues(sqlite3_int64 key, std::vector<RegValue>& values) {
    Statement statement(m_db, "SELECT name, data FROM vals WHERE key = ?1 ORDER BY name");
    statement.bind(1, key);
    while (statement.step() == SQLITE_ROW)
        values.push_back({statement.text(0), statement.text(1)});
    return !failed(statement);
}

bool RegistryStore::Database::readSubKeys(sqlite3_int64 key, std::vector<std::string>& names) {
    Statement statement(m_db, "SELECT name FROM keys WHERE parent = ?1 ORDER BY name");
    statement.bind(1, key);
    while (statement.step() == SQLITE_ROW)
        names.push_back(statement.text(0));
    return !failed(statement);
}

// Loads the whole tree in two queries and orders it depth-first in memory, with an explicit
// stack, so neither SQLite's nor our own recursion limits a deep tree.
bool RegistryStore::Database::readAllKeys(std::vector<RegExportedKey>& keys) {
    std::unordered_map<sqlite3_int64, std::vector<std::pair<sqlite3_int64, std::string>>> children;
    Statement keyRows(m_db, "SELECT id, parent, name FROM keys WHERE parent IS NOT NULL "
                            "ORDER BY name DESC");
    while (keyRows.step() == SQLITE_ROW)
        children[keyRows.integer(1)].emplace_back(keyRows.integer(0), keyRows.text(2));
    if (failed(keyRows))
        return false;
    std::unordered_map<sqlite3_int64, std::vector<RegValue>> values;
    Statement valueRows(m_db, "SELECT key, name, data FROM vals ORDER BY name");
    while (valueRows.step() == SQLITE_ROW)
        values[valueRows.integer(0)].push_back({valueRows.text(1), valueRows.text(2)});
    if (failed(valueRows))
        return false;
    // Children were read in descending order, so pushing them in that order pops them ascending.
    // Each pending key names the exported entry of its parent (kNoParent for the root). A damaged
    // file may make the root some key's child: a key already visited is not walked again.
    constexpr std::size_t kNoParent = std::numeric_limits<std::size_t>::max();
    struct Pending {
        sqlite3_int64 id;
        std::size_t parent;
        std::string name;
    };
    std::vector<Pending> pending{{kRootKeyId, kNoParent, std::string()}};
    std::unordered_set<sqlite3_int64> visited;
    while (!pending.empty()) {
        Pending key = std::move(pending.back());
        pending.pop_back();
        if (!visited.insert(key.id).second)
            continue;
        for (const auto& [childId, name] : children[key.id])
            pending.push_back({childId, keys.size(), name});
        RegExportedKey exported{{}, std::move(key.name), 0, std::move(values[key.id])};
        if (key.parent != kNoParent) {
            const RegExportedKey& parent = keys[key.parent];
            exported.path =
                parent.path.empty() ? exported.name : parent.path + '\\' + exported.name;
            exported.depth = parent.depth + 1;
        }
        keys.push_back(std::move(exported));
    }
    return true;
}

bool RegistryStore::Database::deleteTree(sqlite3_int64 key) {
    // UNION (not UNION ALL) ends the walk even if a damaged file held a cycle.
    constexpr const char* kTree = "WITH RECURSIVE tree(id) AS (SELECT ?1 UNION "
                                  "SELECT keys.id FROM keys JOIN tree ON keys.parent = tree.id) ";
    Statement values(m_db,
                     std::string(kTree) + "DELETE FROM vals WHERE key IN (SELECT id FROM tree)");
    values.bind(1, key);
    values.step();
    if (failed(values))
        return false;
    Statement keys(m_db, std::string(kTree) + "DELETE FROM keys WHERE id IN (SELECT id FROM tree)");
    keys.bind(1, key);
    keys.step();
    return !failed(keys);
}

bool RegistryStore::Database::deleteValue(sqlite3_int64 key, std::string_view name) {
    Statement statement(m_db, "DELETE FROM vals WHERE key = ?1 AND name = ?2");
    statement.bind(1, key);
    statement.bind(2, name);
    statement.step();
    return !failed(statement);
}

bool RegistryStore::Database::isEmpty(sqlite3_int64 key, bool& empty) {
    Statement statement(m_db, "SELECT 1 FROM vals WHERE key = ?1 UNION ALL "
                              "SELECT 1 FROM keys WHERE parent = ?1 LIMIT 1");
    statement.bind(1, key);
    empty = statement.step() != SQLITE_ROW;
    return !failed(statement);
}

RegistryStore::RegistryStore(RegistryFiles files) : m_files(std::move(files)) {}

RegistryStore::~RegistryStore() = default;

RegistryStore::Database* RegistryStore::open(Hive hive, std::string& error) {
    const bool machine = hive == Hive::LocalMachine;
    auto& database = machine ? m_localMachine : m_currentUser;
    if (database)
        return database.get();
    auto opened = std::make_unique<Database>(machine ? m_files.localMachine : m_files.currentUser);
    if (!opened->open(machine ? std::string_view(m_files.programFilesDir) : std::string_view())) {
        error = opened->error();
        return nullptr;
    }
    database = std::move(opened);
    return database.get();
}

template <typename Body>
RegStatus RegistryStore::transact(Hive hive, bool forWriting, Body&& body) {
    std::string error;
    Database* db = open(hive, error);
    if (db == nullptr)
        return RegStatus::failure(error);
    if (db->begin(forWriting) && body(*db) && db->commit())
        return {};
    error = db->error();
    db->rollback();
    return RegStatus::failure(error);
}

namespace {

template <typename T> RegResult<T> withValue(RegStatus status, T value) {
    if (!status.ok)
        return RegResult<T>::failure(std::move(status.error));
    return {std::move(value), {}};
}

} // namespace

RegResult<bool> RegistryStore::keyExists(Hive hive, std::string_view keyPath) {
    bool exists = false;
    auto status = transact(hive, false, [&](Database& db) {
        const auto id = db.findKey(keyPath);
        exists = id && *id != 0;
        return id.has_value();
    });
    return withValue(std::move(status), exists);
}

RegResult<bool> RegistryStore::createKey(Hive hive, std::string_view keyPath) {
    bool created = false;
    auto status = transact(
        hive, true, [&](Database& db) { return db.ensureKey(keyPath, created).has_value(); });
    return withValue(std::move(status), created);
}

RegStatus RegistryStore::writeString(Hive hive, std::string_view keyPath, std::string_view name,
                                     std::string_view data) {
    return transact(hive, true, [&](Database& db) {
        bool created = false;
        const auto key = db.ensureKey(keyPath, created);
        return key && db.writeValue(*key, name, data);
    });
}

RegResult<std::optional<std::string>> RegistryStore::readString(Hive hive, std::string_view keyPath,
                                                                std::string_view name) {
    std::optional<std::string> data;
    auto status = transact(hive, false, [&](Database& db) {
        const auto key = db.findKey(keyPath);
        return key && (*key == 0 || db.readValue(*key, name, data));
    });
    return withValue(std::move(status), std::move(data));
}

RegResult<RegKeyListing> RegistryStore::listKey(Hive hive, std::string_view keyPath) {
    RegKeyListing listing;
    bool missing = false;
    auto status = transact(hive, false, [&](Database& db) {
        const auto key = db.findKey(keyPath);
        missing = key && *key == 0;
        return key && (missing || (db.readValues(*key, listing.values) &&
                                   db.readSubKeys(*key, listing.subKeys)));
    });
    if (status.ok && missing)
        return RegResult<RegKeyListing>::failure("key not found");
    return withValue(std::move(status), std::move(listing));
}

RegResult<std::vector<RegExportedKey>> RegistryStore::exportHive(Hive hive) {
    std::vector<RegExportedKey> keys;
    auto status = transact(hive, false, [&](Database& db) { return db.readAllKeys(keys); });
    return withValue(std::move(status), std::move(keys));
}

RegStatus RegistryStore::deleteKeyTree(Hive hive, std::string_view keyPath) {
    if (splitKeyPath(keyPath).empty())
        return RegStatus::failure("the root key cannot be deleted");
    bool missing = false;
    auto status = transact(hive, true, [&](Database& db) {
        const auto key = db.findKey(keyPath);
        missing = key && *key == 0;
        return key && (missing || db.deleteTree(*key));
    });
    if (status.ok && missing)
        return RegStatus::failure("key not found");
    return status;
}

RegResult<std::optional<std::string>>
RegistryStore::replaceStringIf(Hive hive, std::string_view keyPath, std::string_view name,
                               std::string_view expected,
                               const std::optional<std::string>& replacement) {
    std::optional<std::string> found;
    auto status = transact(hive, true, [&](Database& db) {
        const auto key = db.findKey(keyPath);
        if (!key || *key == 0)
            return key.has_value();
        if (!db.readValue(*key, name, found))
            return false;
        if (found != expected)
            return true;
        return replacement ? db.writeValue(*key, name, *replacement) : db.deleteValue(*key, name);
    });
    return withValue(std::move(status), std::move(found));
}

RegResult<bool> RegistryStore::deleteKeyIfEmpty(Hive hive, std::string_view keyPath) {
    bool removed = false;
    auto status = transact(hive, true, [&](Database& db) {
        const auto key = db.findKey(keyPath);
        if (!key || *key == 0 || *key == kRootKeyId)
            return key.has_value();
        bool empty = false;
        if (!db.isEmpty(*key, empty))
            return false;
        removed = empty;
        return !empty || db.deleteTree(*key);
    });
    return withValue(std::move(status), removed);
}

} // namespace orvane
