// The registry tree kept in an SQLite store: one database file shared by every process using it.
#include "platform/Registry.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "RegBackend.h"
#include "RegData.h"
#include "RegText.h"
#include "platform/TextRules.h"
#include "platform/Utf8.h"

namespace plat::reg {

struct KeyHandle {
    uint64_t store;  // generation of the store the key was opened in
    int64_t id;      // row of the key
};

namespace {

constexpr int64_t kRootId = 1;
constexpr int kSchemaVersion = 1;
// Marks a file as a store of ours ("Ambr"); stores made before the mark was set have none.
constexpr int64_t kApplicationId = 0x416D6272;
// Long enough for another process's write, fsync included, on a slow disk.
constexpr int kBusyTimeoutMs = 30000;
constexpr size_t kMaxValueNameChars = 16383;
constexpr const char* kMemoryStore = ":memory:";

// Key and value names are kept as written ("name") and ASCII upper-cased ("fold"), which is
// what uniqueness and the enumeration order go by, as the platform's registry compares names.
constexpr const char* kSchema = R"(
CREATE TABLE IF NOT EXISTS keys(
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    parent INTEGER NOT NULL,
    name TEXT NOT NULL,
    fold TEXT NOT NULL,
    UNIQUE(parent, fold));
CREATE TABLE IF NOT EXISTS vals(
    key INTEGER NOT NULL,
    name TEXT NOT NULL,
    fold TEXT NOT NULL,
    type INTEGER NOT NULL,
    data,
    PRIMARY KEY(key, fold)) WITHOUT ROWID;
INSERT OR IGNORE INTO keys(id, parent, name, fold) VALUES(1, 0, '', '');
)";
// The columns of our tables, in order; a file whose tables differ is not a store of ours.
constexpr const char* kKeysColumns = "id,parent,name,fold";
constexpr const char* kValsColumns = "key,name,fold,type,data";

std::string Utf8(std::wstring_view w) {
    std::string s;
    AppendUtf8(s, w, Surrogates::Keep);
    return s;
}

// Upper-cased after encoding: a byte of a longer UTF-8 sequence is never an ASCII letter, and a
// short name then needs no allocation at all (paths are folded name by name on every access).
std::string Fold(std::wstring_view w) {
    std::string s = Utf8(w);
    for (char& c : s) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) c = static_cast<char>(AsciiUpper(static_cast<wchar_t>(byte)));
    }
    return s;
}

class Store {
public:
    Store(sqlite3* db, std::string path, uint64_t generation)
        : m_db(db), m_path(std::move(path)), m_generation(generation) {}
    ~Store() {
        for (auto& [sql, stmt] : m_statements) sqlite3_finalize(stmt);
        sqlite3_close_v2(m_db);
    }
    Store(const Store&) = delete;
    Store& operator=(const Store&) = delete;

    sqlite3* db() const { return m_db; }
    const std::string& path() const { return m_path; }
    uint64_t generation() const { return m_generation; }

    // Statements are prepared once per store; null when the text does not prepare.
    sqlite3_stmt* Prepare(const char* sql) {
        auto it = m_statements.find(sql);
        if (it != m_statements.end()) return it->second;
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v3(m_db, sql, -1, SQLITE_PREPARE_PERSISTENT, &stmt, nullptr) !=
            SQLITE_OK)
            return nullptr;
        m_statements.emplace(sql, stmt);
        return stmt;
    }

    // The key a path opened last time, by the path's folded names. A key keeps its id and its
    // place while it exists (ids are never reused and keys never move), so a cached id that is
    // still alive is the key the path names; one that is gone is walked again.
    std::optional<int64_t> CachedKey(const std::string& foldedPath) const {
        const auto it = m_keysByPath.find(foldedPath);
        if (it == m_keysByPath.end()) return std::nullopt;
        return it->second;
    }
    void CacheKey(std::string foldedPath, int64_t id) {
        if (m_keysByPath.size() >= kMaxCachedPaths) m_keysByPath.clear();
        m_keysByPath.insert_or_assign(std::move(foldedPath), id);
    }

    bool Exec(const char* sql) {
        return sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
    }

    // Runs one statement of `sql` through the statement cache: every profile access begins and
    // ends a transaction, and parsing those each time cost more than the access itself.
    bool Run(const char* sql) {
        sqlite3_stmt* stmt = Prepare(sql);
        if (!stmt) return false;
        const int rc = sqlite3_step(stmt);
        sqlite3_reset(stmt);
        return rc == SQLITE_DONE;
    }

private:
    sqlite3* m_db;
    std::string m_path;
    uint64_t m_generation;
    std::unordered_map<const char*, sqlite3_stmt*> m_statements;
    static constexpr size_t kMaxCachedPaths = 256;
    std::unordered_map<std::string, int64_t> m_keysByPath;
};

// One use of a cached statement; reset when it goes, so the same text can run again (but not
// while this use is alive: callers collect rows before recursing).
class Query {
public:
    Query(Store& store, const char* sql) : m_stmt(store.Prepare(sql)) {}
    ~Query() {
        if (m_stmt) {
            sqlite3_reset(m_stmt);
            sqlite3_clear_bindings(m_stmt);
        }
    }
    Query(const Query&) = delete;
    Query& operator=(const Query&) = delete;

    Query& Bind(int index, int64_t v) {
        if (m_stmt) sqlite3_bind_int64(m_stmt, index, v);
        return *this;
    }
    Query& Bind(int index, const std::string& v) {
        if (m_stmt)
            sqlite3_bind_text(m_stmt, index, v.data(), static_cast<int>(v.size()),
                              SQLITE_TRANSIENT);
        return *this;
    }
    Query& Bind(int index, std::span<const uint8_t> v) {
        // A pointer even for no bytes: a null one would store NULL, not an empty blob.
        static constexpr uint8_t kNone = 0;
        if (m_stmt)
            sqlite3_bind_blob(m_stmt, index, v.empty() ? &kNone : v.data(),
                              static_cast<int>(v.size()), SQLITE_TRANSIENT);
        return *this;
    }
    // SQLITE_ROW, SQLITE_DONE or an error.
    int Step() { return m_stmt ? sqlite3_step(m_stmt) : SQLITE_ERROR; }
    bool Done() { return Step() == SQLITE_DONE; }

    int64_t Int(int col) const { return sqlite3_column_int64(m_stmt, col); }
    int Type(int col) const { return sqlite3_column_type(m_stmt, col); }
    std::wstring Text(int col) const {
        const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, col));
        const int n = sqlite3_column_bytes(m_stmt, col);
        return p ? FromUtf8(std::string_view(p, static_cast<size_t>(n)), Surrogates::Keep)
                 : std::wstring();
    }
    data::Bytes Blob(int col) const {
        const auto* p = static_cast<const uint8_t*>(sqlite3_column_blob(m_stmt, col));
        const int n = sqlite3_column_bytes(m_stmt, col);
        return p ? data::Bytes(p, p + n) : data::Bytes();
    }

private:
    sqlite3_stmt* m_stmt;
};

// A transaction; rolled back unless committed. Writers start IMMEDIATE so that a busy store is
// waited for at the start (by the busy timeout) instead of failing at the first write. Inside
// another (an import's, which makes its changes through the public calls) it joins that one.
class Transaction {
public:
    Transaction(Store& store, bool write)
        : m_store(store), m_joined(sqlite3_get_autocommit(store.db()) == 0) {
        m_open = !m_joined && store.Run(write ? "BEGIN IMMEDIATE" : "BEGIN");
    }
    ~Transaction() {
        if (m_open) m_store.Run("ROLLBACK");
    }
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    bool ok() const { return m_open || m_joined; }
    Status Commit() {
        if (m_joined) return kSuccess;
        if (!m_open) return kStoreFailure;
        if (!m_store.Run("COMMIT")) return kStoreFailure;
        m_open = false;
        return kSuccess;
    }

private:
    Store& m_store;
    bool m_joined;
    bool m_open;
};

// Never destroyed: keys may be closed from static destructors at exit.
// Recursive: an import holds it while it makes its changes through the public calls.
struct Registry {
    std::recursive_mutex mutex;
    std::unique_ptr<Store> store;
    uint64_t generation = 0;
    std::unordered_set<KeyHandle*> handles;
};

Registry& R() {
    static Registry* const registry = new Registry;
    return *registry;
}

// Every key has one parent, so walks down from the root meet no key twice unless the root itself
// hangs below a key (a row with parent 0, or a root whose parent is not 0): only a corrupt or
// hostile file holds that.
bool RootIsSound(Store& store, std::string* error) {
    Query q(store, R"(
        SELECT (SELECT count(*) FROM keys WHERE id = 1 AND parent = 0),
               (SELECT count(*) FROM keys WHERE id <= 0 OR parent = id))");
    if (q.Step() != SQLITE_ROW) {
        *error = sqlite3_errmsg(store.db());
        return false;
    }
    if (q.Int(0) == 1 && q.Int(1) == 0) return true;
    *error = "the store is corrupt: its keys do not form a tree below the root";
    return false;
}

// Lays out a new database (in memory, or a file not yet in place) as a store of ours.
bool InitSchema(Store& store, std::string* error) {
    Transaction txn(store, true);
    const std::string marks = "PRAGMA user_version=" + std::to_string(kSchemaVersion) +
                              "; PRAGMA application_id=" + std::to_string(kApplicationId);
    if (!txn.ok() || !store.Exec(kSchema) || !store.Exec(marks.c_str()) ||
        txn.Commit() != kSuccess) {
        *error = sqlite3_errmsg(store.db());
        return false;
    }
    return true;
}

// Switching a file to WAL needs the file to itself; another process opening it at the same
// moment may answer busy without waiting, so try again for a while.
bool UseWal(Store& store, std::string* error) {
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(kBusyTimeoutMs);
    while (true) {
        sqlite3_stmt* stmt = nullptr;
        int rc = sqlite3_prepare_v2(store.db(), "PRAGMA journal_mode=WAL", -1, &stmt, nullptr);
        std::string mode;
        if (rc == SQLITE_OK) {
            rc = sqlite3_step(stmt);
            if (rc == SQLITE_ROW) {
                const auto* text = sqlite3_column_text(stmt, 0);
                mode = text ? reinterpret_cast<const char*>(text) : "";
            }
        }
        sqlite3_finalize(stmt);
        if (rc == SQLITE_ROW) {
            if (mode == "wal") return true;
            *error = "the store cannot use write-ahead logging (mode " + mode + ")";
            return false;
        }
        if ((rc != SQLITE_BUSY && rc != SQLITE_LOCKED) ||
            std::chrono::steady_clock::now() > deadline) {
            *error = sqlite3_errmsg(store.db());
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

// A single-value answer of `sql` as text; false, with SQLite's message, when it fails.
bool QueryText(Store& store, const char* sql, std::string* text, std::string* error) {
    Query q(store, sql);
    if (q.Step() != SQLITE_ROW) {
        *error = sqlite3_errmsg(store.db());
        return false;
    }
    *text = ToUtf8(q.Text(0));
    return true;
}

// The columns of `table`, comma-separated, as the file declares them.
bool ColumnsOf(Store& store, const std::string& table, std::string* columns, std::string* error) {
    Query q(store, "SELECT group_concat(name) FROM pragma_table_info(?1)");
    if (q.Bind(1, table).Step() != SQLITE_ROW) {
        *error = sqlite3_errmsg(store.db());
        return false;
    }
    *columns = ToUtf8(q.Text(0));
    return true;
}

// Whether the file holds a store of ours, read before anything is written to it: our mark (or
// none, from before it was set), our layout's version, our two tables (with SQLite's own helper
// table and indexes) and nothing else, so that no view or trigger of the file runs on our reads
// and writes.
bool IsOurs(Store& store, std::string* error) {
    Transaction txn(store, false);
    std::string id, version;
    if (!txn.ok() || !QueryText(store, "PRAGMA application_id", &id, error) ||
        !QueryText(store, "PRAGMA user_version", &version, error))
        return false;
    if (id != std::to_string(kApplicationId) && id != "0") {
        *error = "the file is not a profile store (it belongs to another program)";
        return false;
    }
    if (version != std::to_string(kSchemaVersion)) {
        *error = version == "0" ? "the file is not a profile store"
                                : "the store has an unknown layout (version " + version + ")";
        return false;
    }
    Query q(store, "SELECT type, name FROM sqlite_schema ORDER BY name");
    int rc;
    while ((rc = q.Step()) == SQLITE_ROW) {
        const std::string type = ToUtf8(q.Text(0)), name = ToUtf8(q.Text(1));
        const bool ours =
            (type == "table" && (name == "keys" || name == "vals" || name == "sqlite_sequence")) ||
            (type == "index" && name.starts_with("sqlite_autoindex_"));
        if (!ours) {
            *error = "the file is not a profile store (it holds the " + type + " " + name + ")";
            return false;
        }
    }
    if (rc != SQLITE_DONE) {
        *error = sqlite3_errmsg(store.db());
        return false;
    }
    std::string keys, vals;
    if (!ColumnsOf(store, "keys", &keys, error) || !ColumnsOf(store, "vals", &vals, error))
        return false;
    if (keys != kKeysColumns || vals != kValsColumns) {
        *error = "the file is not a profile store (its tables are not the store's)";
        return false;
    }
    return RootIsSound(store, error);
}

std::unique_ptr<Store> OpenDatabase(const std::string& name, int flags, uint64_t generation,
                                    std::string* error) {
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(name.c_str(), &db, flags | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        *error = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
        sqlite3_close_v2(db);
        return nullptr;
    }
    auto store = std::make_unique<Store>(db, name == kMemoryStore ? "" : name, generation);
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    // What a file's schema declares runs only as far as it is plain data.
    if (!store->Exec("PRAGMA trusted_schema=OFF")) {
        *error = sqlite3_errmsg(db);
        return nullptr;
    }
    return store;
}

// Durable once the folder holding the name is synced.
void SyncFolderOf(const std::string& path) {
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

// A new store is made whole in a file beside `path` and linked into place, so that no process
// ever finds it half made; when another process put one there first, that one is used.
bool CreateStoreFile(const std::string& path, std::string* error) {
    static std::atomic<unsigned> counter{0};
    const std::string scratch =
        path + ".new-" + std::to_string(::getpid()) + "-" + std::to_string(++counter);
    bool made = false;
    {
        auto store = OpenDatabase(scratch, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, 0, error);
        made = store && store->Exec("PRAGMA journal_mode=WAL") &&
               store->Exec("PRAGMA synchronous=FULL") && InitSchema(*store, error);
        if (store && !made && error->empty()) *error = sqlite3_errmsg(store->db());
    }
    bool placed = false;
    if (made) {
        placed = ::link(scratch.c_str(), path.c_str()) == 0 || errno == EEXIST;
        if (!placed) *error = std::string("the store cannot be made: ") + std::strerror(errno);
    }
    for (const char* suffix : {"", "-wal", "-shm"}) ::unlink((scratch + suffix).c_str());
    if (placed) SyncFolderOf(path);
    return placed;
}

std::unique_ptr<Store> MakeStore(const std::string& path, StoreAccess access, uint64_t generation,
                                 std::string* error) {
    if (path.empty()) {
        auto store = OpenDatabase(kMemoryStore, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                                  generation, error);
        return store && InitSchema(*store, error) ? std::move(store) : nullptr;
    }
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        if (errno != ENOENT) {
            *error = std::strerror(errno);
            return nullptr;
        }
        if (access == StoreAccess::Existing) {
            *error = "there is no store there";
            return nullptr;
        }
        if (!CreateStoreFile(path, error)) return nullptr;
    } else if (S_ISDIR(st.st_mode)) {
        *error = "it is a folder";
        return nullptr;
    } else if (st.st_size == 0) {
        *error = "the file is empty (0 bytes), not a profile store";
        return nullptr;
    }
    auto store = OpenDatabase(path, SQLITE_OPEN_READWRITE, generation, error);
    if (!store || !IsOurs(*store, error)) return nullptr;
    std::string mode;
    if (!QueryText(*store, "PRAGMA journal_mode", &mode, error)) return nullptr;
    if (mode != "wal" && !UseWal(*store, error)) return nullptr;
    // FULL: each commit is synced to the log before the call returns.
    if (!store->Exec("PRAGMA synchronous=FULL")) {
        *error = sqlite3_errmsg(store->db());
        return nullptr;
    }
    return store;
}

// The current store, made in memory on first use; the registry lock is held.
Store* CurrentStore() {
    Registry& r = R();
    if (!r.store) {
        std::string error;
        r.store = MakeStore({}, StoreAccess::OpenOrCreate, ++r.generation, &error);
    }
    return r.store.get();
}

Status CheckHandle(HKey key, Store** store) {
    Registry& r = R();
    if (!key || !r.handles.contains(key)) return kInvalidHandle;
    *store = CurrentStore();
    if (!*store || key->store != (*store)->generation()) return kInvalidHandle;
    return kSuccess;
}

// Inside a transaction: whether the key still exists.
Status KeyAlive(Store& store, int64_t id) {
    Query q(store, "SELECT 1 FROM keys WHERE id=?1");
    const int rc = q.Bind(1, id).Step();
    if (rc == SQLITE_ROW) return kSuccess;
    return rc == SQLITE_DONE ? kKeyDeleted : kStoreFailure;
}

// The child of `parent` with the name, 0 when there is none, -1 on a store failure.
int64_t FindChild(Store& store, int64_t parent, std::wstring_view name) {
    Query q(store, "SELECT id FROM keys WHERE parent=?1 AND fold=?2");
    const int rc = q.Bind(1, parent).Bind(2, Fold(name)).Step();
    if (rc == SQLITE_ROW) return q.Int(0);
    return rc == SQLITE_DONE ? 0 : -1;
}

// Walks the names below `from`; kFileNotFound when one is missing.
Status Walk(Store& store, int64_t from, const std::vector<std::wstring_view>& names, int64_t* id) {
    int64_t cur = from;
    for (const auto name : names) {
        cur = FindChild(store, cur, name);
        if (cur < 0) return kStoreFailure;
        if (cur == 0) return kFileNotFound;
    }
    *id = cur;
    return kSuccess;
}

Status CreatePath(Store& store, const std::vector<std::wstring_view>& names, int64_t* id) {
    int64_t cur = kRootId;
    for (const auto name : names) {
        int64_t child = FindChild(store, cur, name);
        if (child < 0) return kStoreFailure;
        if (child == 0) {
            Query q(store, "INSERT INTO keys(parent, name, fold) VALUES(?1, ?2, ?3)");
            if (!q.Bind(1, cur).Bind(2, Utf8(name)).Bind(3, Fold(name)).Done())
                return kStoreFailure;
            child = sqlite3_last_insert_rowid(store.db());
        }
        cur = child;
    }
    *id = cur;
    return kSuccess;
}

Status HasSubkeys(Store& store, int64_t id, bool* has) {
    Query q(store, "SELECT 1 FROM keys WHERE parent=?1 LIMIT 1");
    const int rc = q.Bind(1, id).Step();
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) return kStoreFailure;
    *has = rc == SQLITE_ROW;
    return kSuccess;
}

// Removes the values and subkeys of `id`, and the key itself with `withKey`. UNION, not UNION ALL:
// a cycle of key rows ends the walk instead of running it forever.
Status DeleteBelow(Store& store, int64_t id, bool withKey) {
    bool subkeys = false;
    if (Status s = HasSubkeys(store, id, &subkeys); s != kSuccess) return s;
    // A key without subkeys, as most are, needs no walk: the walk's work tables cost far more
    // than the deletion itself.
    if (!subkeys) {
        if (!Query(store, "DELETE FROM vals WHERE key=?1").Bind(1, id).Done()) return kStoreFailure;
        if (withKey && !Query(store, "DELETE FROM keys WHERE id=?1").Bind(1, id).Done())
            return kStoreFailure;
        return kSuccess;
    }
    static constexpr const char* kDeleteValues = R"(
        WITH RECURSIVE sub(id) AS (
            SELECT ?1 UNION SELECT keys.id FROM keys JOIN sub ON keys.parent = sub.id)
        DELETE FROM vals WHERE key IN (SELECT id FROM sub))";
    static constexpr const char* kDeleteSubkeys = R"(
        WITH RECURSIVE sub(id) AS (
            SELECT id FROM keys WHERE parent = ?1
            UNION SELECT keys.id FROM keys JOIN sub ON keys.parent = sub.id)
        DELETE FROM keys WHERE id IN (SELECT id FROM sub))";
    if (!Query(store, kDeleteValues).Bind(1, id).Done()) return kStoreFailure;
    if (!Query(store, kDeleteSubkeys).Bind(1, id).Done()) return kStoreFailure;
    if (withKey && !Query(store, "DELETE FROM keys WHERE id=?1").Bind(1, id).Done())
        return kStoreFailure;
    return kSuccess;
}

// A String whose bytes are plain text is kept as text and a four-byte Dword as a number, so a
// person reading the file with SQLite's tools sees them; every other value as its bytes.
Status PutValue(Store& store, int64_t key, std::wstring_view name, ValueType type,
                std::span<const uint8_t> bytes) {
    Query q(store, R"(
        INSERT INTO vals(key, name, fold, type, data) VALUES(?1, ?2, ?3, ?4, ?5)
        ON CONFLICT(key, fold) DO UPDATE SET type = excluded.type, data = excluded.data)");
    q.Bind(1, key).Bind(2, Utf8(name)).Bind(3, Fold(name)).Bind(4, static_cast<int64_t>(type));
    std::wstring text;
    uint32_t dword = 0;
    if (type == ValueType::String && data::IsPlainText(bytes, &text))
        q.Bind(5, Utf8(text));
    else if (type == ValueType::Dword && data::ToDword(bytes, &dword))
        q.Bind(5, static_cast<int64_t>(dword));
    else
        q.Bind(5, bytes);
    return q.Done() ? kSuccess : kStoreFailure;
}

HKey NewHandle(const Store& store, int64_t id) {
    auto* handle = new KeyHandle{store.generation(), id};
    R().handles.insert(handle);
    return handle;
}

// The registry lock, the handle's store, a transaction and the key's existence, for every
// operation on an open key.
template <class Body>
Status OnKey(HKey key, bool write, Body body) {
    std::lock_guard lock(R().mutex);
    Store* store = nullptr;
    if (Status s = CheckHandle(key, &store); s != kSuccess) return s;
    Transaction txn(*store, write);
    if (!txn.ok()) return kStoreFailure;
    if (Status s = KeyAlive(*store, key->id); s != kSuccess) return s;
    if (Status s = body(*store); s != kSuccess) return s;
    return txn.Commit();
}

// Collects one item per row of `sql`, with the key's id bound, through `row`.
template <class Item, class Row>
Status ListRows(HKey key, const char* sql, std::vector<Item>* items, Row row) {
    if (!items) return kInvalidParameter;
    items->clear();
    return OnKey(key, false, [&](Store& store) {
        Query q(store, sql);
        q.Bind(1, key->id);
        int rc;
        while ((rc = q.Step()) == SQLITE_ROW) {
            Item item;
            if (Status s = row(q, &item); s != kSuccess) return s;
            items->push_back(std::move(item));
        }
        return rc == SQLITE_DONE ? kSuccess : kStoreFailure;
    });
}

// The type and bytes of the row's value from its columns `col` (type) and `col` + 1 (data);
// false for what PutValue does not write.
bool ReadTyped(const Query& q, int col, ValueType* type, data::Bytes* bytes) {
    const int64_t number = q.Int(col);
    if (number < 0 || number > UINT32_MAX) return false;
    *type = static_cast<ValueType>(number);
    switch (q.Type(col + 1)) {
        case SQLITE_TEXT:
            if (*type != ValueType::String) return false;
            *bytes = data::FromText(q.Text(col + 1));
            return true;
        case SQLITE_INTEGER:
            if (*type != ValueType::Dword || q.Int(col + 1) < 0 || q.Int(col + 1) > UINT32_MAX)
                return false;
            *bytes = data::FromDword(static_cast<uint32_t>(q.Int(col + 1)));
            return true;
        case SQLITE_BLOB:
            *bytes = q.Blob(col + 1);
            return true;
        default:
            return false;
    }
}

// Reads the value's type and bytes; kFileNotFound when it is missing.
Status ReadValue(HKey key, std::wstring_view name, ValueType* type, data::Bytes* bytes) {
    return OnKey(key, false, [&](Store& store) {
        Query q(store, "SELECT type, data FROM vals WHERE key=?1 AND fold=?2");
        const int rc = q.Bind(1, key->id).Bind(2, Fold(name)).Step();
        if (rc == SQLITE_DONE) return kFileNotFound;
        if (rc != SQLITE_ROW) return kStoreFailure;
        // Anything else here was not written by us.
        return ReadTyped(q, 0, type, bytes) ? kSuccess : kStoreFailure;
    });
}

}  // namespace

Status OpenKeyPath(std::wstring_view path, bool create, HKey* out) {
    if (!out) return kInvalidParameter;
    std::vector<std::wstring_view> names;
    if (Status s = text::SplitPath(path, &names); s != kSuccess) return s;
    std::lock_guard lock(R().mutex);
    Store* store = CurrentStore();
    if (!store) return kStoreFailure;
    Transaction txn(*store, create);
    if (!txn.ok()) return kStoreFailure;
    // A profile access opens its section's whole path every time: walked, that is a query for
    // every level.
    std::string folded;
    for (const auto name : names) folded.append(Fold(name)).push_back('\\');
    int64_t id = 0;
    const std::optional<int64_t> cached = store->CachedKey(folded);
    const bool hit = cached && KeyAlive(*store, *cached) == kSuccess;
    if (hit) {
        id = *cached;
    } else if (const Status found =
                   create ? CreatePath(*store, names, &id) : Walk(*store, kRootId, names, &id);
               found != kSuccess) {
        return found;
    }
    if (Status s = txn.Commit(); s != kSuccess) return s;
    // Only once committed: a rolled-back insert's id can be given to another key.
    if (!hit) store->CacheKey(std::move(folded), id);
    *out = NewHandle(*store, id);
    return kSuccess;
}

Status OpenSubkey(HKey key, std::wstring_view path, HKey* out) {
    if (!out) return kInvalidParameter;
    std::vector<std::wstring_view> names;
    if (Status s = text::SplitPath(path, &names); s != kSuccess) return s;
    return OnKey(key, false, [&](Store& store) {
        int64_t id = 0;
        if (Status s = Walk(store, key->id, names, &id); s != kSuccess) return s;
        *out = NewHandle(store, id);
        return kSuccess;
    });
}

Status CloseKey(HKey key) {
    std::lock_guard lock(R().mutex);
    if (!key || R().handles.erase(key) == 0) return kInvalidHandle;
    delete key;
    return kSuccess;
}

Status EnumKey(HKey key, uint32_t index, wchar_t* name, uint32_t* nameChars) {
    if (!name || !nameChars) return kInvalidParameter;
    return OnKey(key, false, [&](Store& store) {
        Query q(store, "SELECT name FROM keys WHERE parent=?1 ORDER BY fold LIMIT 1 OFFSET ?2");
        const int rc = q.Bind(1, key->id).Bind(2, static_cast<int64_t>(index)).Step();
        if (rc == SQLITE_DONE) return kNoMoreItems;
        if (rc != SQLITE_ROW) return kStoreFailure;
        const std::wstring found = q.Text(0);
        if (found.size() >= *nameChars) return kMoreData;
        found.copy(name, found.size());
        name[found.size()] = L'\0';
        *nameChars = static_cast<uint32_t>(found.size());
        return kSuccess;
    });
}

Status EnumSubkeys(HKey key, std::vector<std::wstring>* names) {
    return ListRows(key, "SELECT name FROM keys WHERE parent=?1 ORDER BY fold", names,
                    [](const Query& q, std::wstring* name) {
                        *name = q.Text(0);
                        return kSuccess;
                    });
}

Status EnumTypedValues(HKey key, std::vector<TypedValue>* values) {
    return ListRows(key, "SELECT name, type, data FROM vals WHERE key=?1 ORDER BY fold", values,
                    [](const Query& q, TypedValue* value) {
                        value->name = q.Text(0);
                        return ReadTyped(q, 1, &value->type, &value->data) ? kSuccess
                                                                           : kStoreFailure;
                    });
}

Status DeleteTree(HKey key, std::wstring_view subkey) {
    std::vector<std::wstring_view> names;
    if (Status s = text::SplitPath(subkey, &names); s != kSuccess) return s;
    return OnKey(key, true, [&](Store& store) {
        int64_t id = 0;
        if (Status s = Walk(store, key->id, names, &id); s != kSuccess) return s;
        return DeleteBelow(store, id, !names.empty());
    });
}

Status DeleteKey(HKey key, std::wstring_view subkey) {
    std::vector<std::wstring_view> names;
    if (Status s = text::SplitPath(subkey, &names); s != kSuccess) return s;
    return OnKey(key, true, [&](Store& store) {
        int64_t id = 0;
        if (Status s = Walk(store, key->id, names, &id); s != kSuccess) return s;
        if (id == kRootId) return kAccessDenied;
        bool subkeys = false;
        if (Status s = HasSubkeys(store, id, &subkeys); s != kSuccess) return s;
        if (subkeys) return kAccessDenied;
        return DeleteBelow(store, id, true);
    });
}

Status SetValue(HKey key, std::wstring_view name, ValueType type, std::span<const uint8_t> bytes) {
    // SQLite takes at most INT_MAX bytes at once.
    if (name.size() > kMaxValueNameChars || bytes.size() > INT32_MAX) return kInvalidParameter;
    return OnKey(key, true,
                 [&](Store& store) { return PutValue(store, key->id, name, type, bytes); });
}

Status GetValue(HKey key, std::wstring_view name, ValueType* type, std::vector<uint8_t>* bytes) {
    if (!type || !bytes) return kInvalidParameter;
    return ReadValue(key, name, type, bytes);
}

Status SetStringValue(HKey key, std::wstring_view name, std::wstring_view value) {
    return SetValue(key, name, ValueType::String, data::FromText(value));
}

Status SetDwordValue(HKey key, std::wstring_view name, uint32_t value) {
    return SetValue(key, name, ValueType::Dword, data::FromDword(value));
}

Status GetStringValue(HKey key, std::wstring_view name, std::wstring* value) {
    if (!value) return kInvalidParameter;
    ValueType type{};
    data::Bytes bytes;
    if (Status s = ReadValue(key, name, &type, &bytes); s != kSuccess) return s;
    if (type != ValueType::String) return kInvalidParameter;
    *value = data::ToText(bytes);
    return kSuccess;
}

Status GetDwordValue(HKey key, std::wstring_view name, uint32_t* value) {
    if (!value) return kInvalidParameter;
    ValueType type{};
    data::Bytes bytes;
    if (Status s = ReadValue(key, name, &type, &bytes); s != kSuccess) return s;
    if (type != ValueType::Dword) return kInvalidParameter;
    // A Dword of another size was not written by us.
    return data::ToDword(bytes, value) ? kSuccess : kStoreFailure;
}

Status DeleteValue(HKey key, std::wstring_view name) {
    return OnKey(key, true, [&](Store& store) {
        Query q(store, "DELETE FROM vals WHERE key=?1 AND fold=?2");
        if (!q.Bind(1, key->id).Bind(2, Fold(name)).Done()) return kStoreFailure;
        return sqlite3_changes(store.db()) == 0 ? kFileNotFound : kSuccess;
    });
}

bool OpenStore(const std::string& path, std::string* error, StoreAccess access) {
    std::string why;
    if (path.empty()) {
        why = "no store path given";
    } else {
        uint64_t generation = 0;
        {
            std::lock_guard lock(R().mutex);
            generation = ++R().generation;
        }
        // Opened outside the lock: another process may hold the file for a while.
        auto store = MakeStore(path, access, generation, &why);
        if (store) {
            std::unique_ptr<Store> old;
            std::lock_guard lock(R().mutex);
            old = std::move(R().store);
            R().store = std::move(store);
            return true;
        }
    }
    if (error) *error = path + ": " + why;
    return false;
}

void UseMemoryStore() {
    std::lock_guard lock(R().mutex);
    Registry& r = R();
    std::string error;
    r.store = MakeStore({}, StoreAccess::OpenOrCreate, ++r.generation, &error);
}

void CloseStore() {
    std::unique_ptr<Store> old;
    std::lock_guard lock(R().mutex);
    old = std::move(R().store);
    ++R().generation;  // keys of the closed store answer kInvalidHandle
}

bool IsStoreFile(const std::string& file) {
    const std::string store = StorePath();
    if (store.empty()) return false;
    std::error_code ec;
    const auto target = std::filesystem::weakly_canonical(file, ec);
    for (const char* suffix : {"", "-wal", "-shm", "-journal"}) {
        const std::string companion = store + suffix;
        if (std::filesystem::equivalent(file, companion, ec) ||
            (!target.empty() && target == std::filesystem::weakly_canonical(companion, ec)))
            return true;
    }
    return false;
}

std::string StorePath() {
    std::lock_guard lock(R().mutex);
    return R().store ? R().store->path() : std::string();
}

Status text::ApplyAll(const std::vector<Operation>& operations, size_t* failed) {
    // The changes go through the public calls, whose transactions join this one.
    std::lock_guard lock(R().mutex);
    *failed = operations.size();
    Store* store = CurrentStore();
    if (!store) return kStoreFailure;
    Transaction txn(*store, true);
    if (!txn.ok()) return kStoreFailure;
    OpenSection open;
    for (size_t i = 0; i < operations.size(); ++i) {
        if (Status s = ApplyOperation(operations[i], &open); s != kSuccess) {
            *failed = i;
            return s;
        }
    }
    return txn.Commit();
}

}  // namespace plat::reg
