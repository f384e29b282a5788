// The registry tree on Windows: the real registry under HKEY_CURRENT_USER.
//
// The store calls choose which key stands for the root of the tree:
//  - until one is called, the root is HKEY_CURRENT_USER itself, as the host and plug-in expect;
//  - OpenStore(path) moves it to HKCU\Software\AmbrelTest\<path, '\' written as '/'>, so the same
//    path names the same tree in every process and the tree lasts as the registry does (a test's
//    store file becomes a key of its own, and the user's keys stay untouched);
//  - UseMemoryStore() moves it to a fresh volatile key HKCU\Software\AmbrelTest\Memory-<pid>-<n>,
//    private to the process, deleted when replaced or at exit (the system drops volatile keys at
//    logoff in any case).
// Status codes are the registry's own, passed through.
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <mutex>
#include <unordered_set>
#include <vector>

#include "RegBackend.h"
#include "RegData.h"
#include "RegText.h"
#include "platform/Registry.h"
#include "platform/Text.h"
#include "platform/TextRules.h"

namespace plat::reg {

struct KeyHandle {
    uint64_t store;  // generation of the store the key was opened in
    HKEY hkey;
    bool root;  // opened on the root itself
};

namespace {

constexpr const wchar_t* kStoresKey = L"Software\\AmbrelTest";
constexpr const wchar_t* kMemoryPrefix = L"Memory-";
constexpr size_t kMaxValueNameChars = 16383;

// The key that stands for the root of the tree, and how keys below it are made.
struct Store {
    Store(HKEY rootKey, bool ownsRoot, DWORD createOptions, std::string storePath,
          std::wstring memory, uint64_t gen)
        : root(rootKey),
          owned(ownsRoot),
          options(createOptions),
          path(std::move(storePath)),
          memoryKey(std::move(memory)),
          generation(gen) {}
    ~Store() {
        if (owned && root) RegCloseKey(root);
        if (!memoryKey.empty()) RegDeleteTreeW(HKEY_CURRENT_USER, memoryKey.c_str());
    }
    Store(const Store&) = delete;
    Store& operator=(const Store&) = delete;

    HKEY root;
    bool owned;
    DWORD options;  // REG_OPTION_VOLATILE below a memory store: its keys may hold no other kind
    std::string path;
    std::wstring memoryKey;  // below HKEY_CURRENT_USER, for a memory store
    uint64_t generation;
};

// Never destroyed: keys may be closed from static destructors at exit.
struct Registry {
    std::mutex mutex;
    std::shared_ptr<Store> store;
    uint64_t generation = 0;
    std::unordered_set<KeyHandle*> handles;
    bool exitHookSet = false;
};

Registry& R() {
    static Registry* const registry = new Registry;
    return *registry;
}

// The current store, HKEY_CURRENT_USER on first use; the registry lock is held.
std::shared_ptr<Store> CurrentStoreLocked() {
    Registry& r = R();
    if (!r.store)
        r.store = std::make_shared<Store>(HKEY_CURRENT_USER, false, REG_OPTION_NON_VOLATILE,
                                          std::string(), std::wstring(), ++r.generation);
    return r.store;
}

std::shared_ptr<Store> CurrentStore() {
    std::lock_guard lock(R().mutex);
    return CurrentStoreLocked();
}

// The key's registry handle when the key is open in the current store.
Status CheckHandle(HKey key, HKEY* hkey) {
    std::lock_guard lock(R().mutex);
    if (!key || !R().handles.contains(key)) return kInvalidHandle;
    if (key->store != CurrentStoreLocked()->generation) return kInvalidHandle;
    *hkey = key->hkey;
    return kSuccess;
}

HKey NewHandle(const Store& store, HKEY hkey, bool root) {
    auto* handle = new KeyHandle{store.generation, hkey, root};
    std::lock_guard lock(R().mutex);
    R().handles.insert(handle);
    return handle;
}

// A checked path without its one allowed trailing backslash.
Status CleanPath(std::wstring_view path, std::wstring* clean, bool* root = nullptr) {
    std::vector<std::wstring_view> names;
    if (Status s = text::SplitPath(path, &names); s != kSuccess) return s;
    if (!path.empty() && path.back() == L'\\') path.remove_suffix(1);
    clean->assign(path);
    if (root) *root = names.empty();
    return kSuccess;
}

std::wstring Terminated(std::wstring_view text) {
    return std::wstring(text);
}

bool FoldLess(const std::wstring& a, const std::wstring& b) {
    return CompareAsciiNoCase(a, b) < 0;
}

std::wstring JoinNames(const std::vector<std::wstring_view>& names, size_t first, size_t count) {
    std::wstring path;
    for (size_t i = first; i < first + count; ++i) {
        if (i > first) path.push_back(L'\\');
        path.append(names[i]);
    }
    return path;
}

// The registry makes at most this many levels of keys in one call.
constexpr size_t kLevelsPerCreate = 32;

Status CreateBelow(const Store& store, HKEY parent, std::wstring_view path, HKEY* out) {
    std::vector<std::wstring_view> names;
    if (Status s = text::SplitPath(path, &names); s != kSuccess) return s;
    HKEY at = parent;
    size_t done = 0;
    do {
        const size_t step = std::min(kLevelsPerCreate, names.size() - done);
        HKEY next = nullptr;
        const Status s = RegCreateKeyExW(at, JoinNames(names, done, step).c_str(), 0, nullptr,
                                         store.options, KEY_ALL_ACCESS, nullptr, &next, nullptr);
        if (at != parent) RegCloseKey(at);
        if (s != kSuccess) return s;
        at = next;
        done += step;
    } while (done < names.size());
    *out = at;
    return kSuccess;
}

// A value as the registry holds it, whatever its type.
struct RawValue {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

Status ReadRaw(HKEY key, const std::wstring& name, RawValue* value) {
    DWORD size = 0;
    Status s = RegQueryValueExW(key, name.c_str(), nullptr, &value->type, nullptr, &size);
    // The value may grow between the calls: ask again with the size then given.
    for (int attempt = 0; s == kSuccess && attempt < 8; ++attempt) {
        value->data.resize(size);
        s = RegQueryValueExW(key, name.c_str(), nullptr, &value->type, value->data.data(), &size);
        if (s == kSuccess) {
            value->data.resize(size);
            return kSuccess;
        }
        if (s == kMoreData) s = kSuccess;
    }
    return s;
}

bool IsTextType(ValueType type) {
    return type == ValueType::String || type == ValueType::ExpandString ||
           type == ValueType::MultiString;
}

Status WriteRaw(HKEY key, std::wstring_view name, ValueType type, std::span<const uint8_t> data) {
    if (name.size() > kMaxValueNameChars || data.size() > MAXDWORD - 2) return kInvalidParameter;
    if (!IsTextType(type))
        return RegSetValueExW(key, Terminated(name).c_str(), 0, static_cast<DWORD>(type),
                              data.data(), static_cast<DWORD>(data.size()));
    // Given text data whose last character is not NUL, the registry reads the character after
    // the data and, when that is NUL, keeps it too. A character that is not NUL after the data
    // keeps the bytes as given, and the read inside our buffer.
    std::vector<uint8_t> guarded(data.begin(), data.end());
    guarded.insert(guarded.end(), {0xFF, 0xFF, 0xFF});
    return RegSetValueExW(key, Terminated(name).c_str(), 0, static_cast<DWORD>(type),
                          guarded.data(), static_cast<DWORD>(data.size()));
}

// Subkey names of an open key, in the registry's order.
Status SubkeyNames(HKEY key, std::vector<std::wstring>* names) {
    wchar_t name[kMaxKeyNameChars + 1];
    for (DWORD index = 0;; ++index) {
        DWORD chars = kMaxKeyNameChars + 1;
        const Status s =
            RegEnumKeyExW(key, index, name, &chars, nullptr, nullptr, nullptr, nullptr);
        if (s == kNoMoreItems) return kSuccess;
        if (s != kSuccess) return s;
        names->emplace_back(name, chars);
    }
}

// What an import changed, to be put back when a later change of the same text fails.
using UndoLog = std::vector<std::function<void()>>;

// Notes how to remove the first key along the path that does not exist yet. Looked for from the
// deepest up: an import's keys mostly come parents first, so the parent is there.
Status RememberNewKey(const std::wstring& path, UndoLog* undo) {
    std::vector<std::wstring_view> names;
    if (Status s = text::SplitPath(path, &names); s != kSuccess) return s;
    size_t existing = names.size();
    for (; existing > 0; --existing) {
        KeyGuard probe;
        const Status s = OpenKey(JoinNames(names, 0, existing), probe.out());
        if (s == kSuccess) break;
        if (s != kFileNotFound) return s;
    }
    if (existing == names.size()) return kSuccess;
    const std::wstring first = JoinNames(names, 0, existing + 1);
    undo->push_back([first] {
        KeyGuard root;
        if (OpenKey(L"", root.out()) == kSuccess) DeleteTree(root.get(), first);
    });
    return kSuccess;
}

// Notes how to put back the value as it is now (or its absence), whatever its type.
Status RememberValue(const Store& store, const std::wstring& keyPath, const std::wstring& name,
                     UndoLog* undo) {
    HKEY key = nullptr;
    Status s = RegOpenKeyExW(store.root, keyPath.c_str(), 0, KEY_QUERY_VALUE, &key);
    if (s == kFileNotFound) return kSuccess;  // the key's own removal undoes it
    if (s != kSuccess) return s;
    RawValue before;
    s = ReadRaw(key, name, &before);
    RegCloseKey(key);
    if (s != kSuccess && s != kFileNotFound) return s;
    const HKEY root = store.root;
    const bool existed = s == kSuccess;
    undo->push_back([root, keyPath, name, existed, before] {
        HKEY k = nullptr;
        if (RegOpenKeyExW(root, keyPath.c_str(), 0, KEY_SET_VALUE, &k) != kSuccess) return;
        if (existed)
            RegSetValueExW(k, name.c_str(), 0, before.type, before.data.data(),
                           static_cast<DWORD>(before.data.size()));
        else
            RegDeleteValueW(k, name.c_str());
        RegCloseKey(k);
    });
    return kSuccess;
}

// Notes how to bring back the tree at `path` before it is deleted.
Status RememberTree(const std::wstring& path, UndoLog* undo) {
    std::wstring before;
    Status status = kSuccess;
    if (!text::ExportText(path, &before, nullptr, &status))
        return status == kFileNotFound ? kSuccess : kStoreFailure;
    std::vector<text::Operation> ops;
    if (!text::Parse(before, &ops, nullptr)) return kStoreFailure;
    undo->push_back([ops] {
        for (const auto& op : ops) text::ApplyOperation(op);
    });
    return kSuccess;
}

// Notes what the change will change, to put it back.
Status Remember(const Store& store, const text::Operation& op, UndoLog* undo) {
    using Kind = text::Operation::Kind;
    if (op.kind == Kind::DeleteKey) return RememberTree(*op.path, undo);
    // A value's section came before it and noted its key.
    if (op.kind == Kind::CreateKey) return RememberNewKey(*op.path, undo);
    return RememberValue(store, *op.path, op.name, undo);
}

// The key below kStoresKey that a store path stands for: the path with '\' as '/', and when
// that is longer than a key name may be, its start and a hash of the whole.
std::wstring StoreKeyName(const std::string& path) {
    std::wstring name = NarrowToWide(path);
    std::replace(name.begin(), name.end(), L'\\', L'/');
    if (name.size() > kMaxKeyNameChars) {
        uint64_t hash = 14695981039346656037ull;  // FNV-1a
        for (const unsigned char c : path) hash = (hash ^ c) * 1099511628211ull;
        wchar_t hex[17];
        for (int i = 0; i < 16; ++i) hex[i] = L"0123456789abcdef"[(hash >> (60 - 4 * i)) & 0xF];
        hex[16] = L'\0';
        name = name.substr(0, kMaxKeyNameChars - 17) + L"~" + hex;
    }
    return name;
}

void Install(std::shared_ptr<Store> store) {
    std::shared_ptr<Store> old;
    std::lock_guard lock(R().mutex);
    old = std::move(R().store);
    R().store = std::move(store);
    // The old store (deleting a memory tree) goes when `old` does, after the lock is let go.
}

// At exit the process's memory tree goes with it, as the in-memory store would.
void DropMemoryStoreAtExit() {
    std::lock_guard lock(R().mutex);
    if (R().store && !R().store->memoryKey.empty()) {
        RegDeleteTreeW(HKEY_CURRENT_USER, R().store->memoryKey.c_str());
        R().store->memoryKey.clear();
    }
}

}  // namespace

Status OpenKeyPath(std::wstring_view path, bool create, HKey* out) {
    if (!out) return kInvalidParameter;
    std::wstring clean;
    bool root = false;
    if (Status s = CleanPath(path, &clean, &root); s != kSuccess) return s;
    const auto store = CurrentStore();
    if (!store->root) return kStoreFailure;
    HKEY hkey = nullptr;
    const Status found = create
                             ? CreateBelow(*store, store->root, clean, &hkey)
                             : RegOpenKeyExW(store->root, clean.c_str(), 0, KEY_ALL_ACCESS, &hkey);
    if (found != kSuccess) return found;
    *out = NewHandle(*store, hkey, root);
    return kSuccess;
}

Status OpenSubkey(HKey key, std::wstring_view path, HKey* out) {
    if (!out) return kInvalidParameter;
    std::wstring clean;
    if (Status s = CleanPath(path, &clean); s != kSuccess) return s;
    HKEY parent = nullptr;
    if (Status s = CheckHandle(key, &parent); s != kSuccess) return s;
    HKEY hkey = nullptr;
    if (Status s = RegOpenKeyExW(parent, clean.c_str(), 0, KEY_ALL_ACCESS, &hkey); s != kSuccess)
        return s;
    *out = NewHandle(*CurrentStore(), hkey, key->root && clean.empty());
    return kSuccess;
}

Status CloseKey(HKey key) {
    {
        std::lock_guard lock(R().mutex);
        if (!key || R().handles.erase(key) == 0) return kInvalidHandle;
    }
    RegCloseKey(key->hkey);
    delete key;
    return kSuccess;
}

Status EnumKey(HKey key, uint32_t index, wchar_t* name, uint32_t* nameChars) {
    if (!name || !nameChars) return kInvalidParameter;
    HKEY hkey = nullptr;
    if (Status s = CheckHandle(key, &hkey); s != kSuccess) return s;
    // Into a buffer of our own, so a name that does not fit the caller's leaves it untouched.
    wchar_t found[kMaxKeyNameChars + 1];
    DWORD chars = kMaxKeyNameChars + 1;
    const Status s = RegEnumKeyExW(hkey, index, found, &chars, nullptr, nullptr, nullptr, nullptr);
    if (s != kSuccess) return s;
    if (chars >= *nameChars) return kMoreData;
    std::copy(found, found + chars, name);
    name[chars] = L'\0';
    *nameChars = chars;
    return kSuccess;
}

Status EnumSubkeys(HKey key, std::vector<std::wstring>* names) {
    if (!names) return kInvalidParameter;
    names->clear();
    HKEY hkey = nullptr;
    if (Status s = CheckHandle(key, &hkey); s != kSuccess) return s;
    if (Status s = SubkeyNames(hkey, names); s != kSuccess) return s;
    std::sort(names->begin(), names->end(), FoldLess);
    return kSuccess;
}

Status EnumTypedValues(HKey key, std::vector<TypedValue>* values) {
    if (!values) return kInvalidParameter;
    values->clear();
    HKEY hkey = nullptr;
    if (Status s = CheckHandle(key, &hkey); s != kSuccess) return s;
    DWORD count = 0, maxName = 0;
    if (Status s = RegQueryInfoKeyW(hkey, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                    &count, &maxName, nullptr, nullptr, nullptr);
        s != kSuccess)
        return s;
    std::vector<wchar_t> nameBuffer(maxName + 1);
    for (DWORD index = 0; index < count; ++index) {
        DWORD chars = maxName + 1;
        const Status s = RegEnumValueW(hkey, index, nameBuffer.data(), &chars, nullptr, nullptr,
                                       nullptr, nullptr);
        if (s == kNoMoreItems) break;
        if (s != kSuccess) return s;
        TypedValue value;
        value.name.assign(nameBuffer.data(), chars);
        RawValue raw;
        if (Status r = ReadRaw(hkey, value.name, &raw); r != kSuccess) return r;
        value.type = static_cast<ValueType>(raw.type);
        value.data.assign(raw.data.begin(), raw.data.end());
        values->push_back(std::move(value));
    }
    std::sort(values->begin(), values->end(),
              [](const TypedValue& a, const TypedValue& b) { return FoldLess(a.name, b.name); });
    return kSuccess;
}

Status DeleteTree(HKey key, std::wstring_view subkey) {
    std::wstring clean;
    bool self = false;
    if (Status s = CleanPath(subkey, &clean, &self); s != kSuccess) return s;
    HKEY hkey = nullptr;
    if (Status s = CheckHandle(key, &hkey); s != kSuccess) return s;
    if (self) {
        // Emptying HKEY_CURRENT_USER itself is never what a caller of this tree means.
        if (key->root && !CurrentStore()->owned) return kAccessDenied;
        // A null subkey empties the key; an empty one would delete the key itself as well.
        return RegDeleteTreeW(hkey, nullptr);
    }
    return RegDeleteTreeW(hkey, clean.c_str());
}

Status DeleteKey(HKey key, std::wstring_view subkey) {
    std::wstring clean;
    bool self = false;
    if (Status s = CleanPath(subkey, &clean, &self); s != kSuccess) return s;
    HKEY hkey = nullptr;
    if (Status s = CheckHandle(key, &hkey); s != kSuccess) return s;
    if (self && key->root) return kAccessDenied;
    // The registry refuses (access denied) a key that still has subkeys.
    return RegDeleteKeyW(hkey, clean.c_str());
}

Status SetStringValue(HKey key, std::wstring_view name, std::wstring_view value) {
    HKEY hkey = nullptr;
    if (Status s = CheckHandle(key, &hkey); s != kSuccess) return s;
    return WriteRaw(hkey, name, ValueType::String, data::FromText(value));
}

Status SetDwordValue(HKey key, std::wstring_view name, uint32_t value) {
    HKEY hkey = nullptr;
    if (Status s = CheckHandle(key, &hkey); s != kSuccess) return s;
    return WriteRaw(hkey, name, ValueType::Dword, data::FromDword(value));
}

Status GetStringValue(HKey key, std::wstring_view name, std::wstring* value) {
    if (!value) return kInvalidParameter;
    HKEY hkey = nullptr;
    if (Status s = CheckHandle(key, &hkey); s != kSuccess) return s;
    RawValue raw;
    if (Status s = ReadRaw(hkey, Terminated(name), &raw); s != kSuccess) return s;
    if (raw.type != REG_SZ) return kInvalidParameter;
    *value = data::ToText(raw.data);
    return kSuccess;
}

Status GetDwordValue(HKey key, std::wstring_view name, uint32_t* value) {
    if (!value) return kInvalidParameter;
    HKEY hkey = nullptr;
    if (Status s = CheckHandle(key, &hkey); s != kSuccess) return s;
    RawValue raw;
    if (Status s = ReadRaw(hkey, Terminated(name), &raw); s != kSuccess) return s;
    if (raw.type != REG_DWORD) return kInvalidParameter;
    // A DWORD of another size was not written by us.
    return data::ToDword(raw.data, value) ? kSuccess : kStoreFailure;
}

Status SetValue(HKey key, std::wstring_view name, ValueType type, std::span<const uint8_t> data) {
    HKEY hkey = nullptr;
    if (Status s = CheckHandle(key, &hkey); s != kSuccess) return s;
    return WriteRaw(hkey, name, type, data);
}

Status GetValue(HKey key, std::wstring_view name, ValueType* type, std::vector<uint8_t>* data) {
    if (!type || !data) return kInvalidParameter;
    HKEY hkey = nullptr;
    if (Status s = CheckHandle(key, &hkey); s != kSuccess) return s;
    RawValue raw;
    if (Status s = ReadRaw(hkey, Terminated(name), &raw); s != kSuccess) return s;
    *type = static_cast<ValueType>(raw.type);
    data->assign(raw.data.begin(), raw.data.end());
    return kSuccess;
}

Status DeleteValue(HKey key, std::wstring_view name) {
    HKEY hkey = nullptr;
    if (Status s = CheckHandle(key, &hkey); s != kSuccess) return s;
    return RegDeleteValueW(hkey, Terminated(name).c_str());
}

bool OpenStore(const std::string& path, std::string* error, StoreAccess access) {
    std::string why;
    if (path.empty()) {
        why = "no store path given";
    } else {
        const std::wstring keyPath = std::wstring(kStoresKey) + L"\\" + StoreKeyName(path);
        HKEY root = nullptr;
        const Status s =
            access == StoreAccess::Existing
                ? RegOpenKeyExW(HKEY_CURRENT_USER, keyPath.c_str(), 0, KEY_ALL_ACCESS, &root)
                : RegCreateKeyExW(HKEY_CURRENT_USER, keyPath.c_str(), 0, nullptr,
                                  REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &root, nullptr);
        if (s == kSuccess) {
            uint64_t generation = 0;
            {
                std::lock_guard lock(R().mutex);
                generation = ++R().generation;
            }
            Install(std::make_shared<Store>(root, true, REG_OPTION_NON_VOLATILE, path,
                                            std::wstring(), generation));
            return true;
        }
        why = "the registry key for the store cannot be opened (error " + std::to_string(s) + ")";
    }
    if (error) *error = path + ": " + why;
    return false;
}

void UseMemoryStore() {
    uint64_t generation = 0;
    {
        std::lock_guard lock(R().mutex);
        generation = ++R().generation;
        if (!R().exitHookSet) {
            R().exitHookSet = true;
            std::atexit(DropMemoryStoreAtExit);
        }
    }
    const std::wstring memoryKey = std::wstring(kStoresKey) + L"\\" + kMemoryPrefix +
                                   std::to_wstring(GetCurrentProcessId()) + L"-" +
                                   std::to_wstring(generation);
    // The parent is an ordinary key, so that store files may live beside the volatile trees.
    HKEY parent = nullptr;
    HKEY root = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kStoresKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, &parent, nullptr) == kSuccess) {
        // A tree of an earlier process with the same id may still be there.
        RegDeleteTreeW(HKEY_CURRENT_USER, memoryKey.c_str());
        if (RegCreateKeyExW(HKEY_CURRENT_USER, memoryKey.c_str(), 0, nullptr, REG_OPTION_VOLATILE,
                            KEY_ALL_ACCESS, nullptr, &root, nullptr) != kSuccess)
            root = nullptr;
        RegCloseKey(parent);
    }
    // Without a key every call answers kStoreFailure, as a store that cannot be made does.
    Install(std::make_shared<Store>(root, true, REG_OPTION_VOLATILE, std::string(),
                                    root ? memoryKey : std::wstring(), generation));
}

std::string StorePath() {
    return CurrentStore()->path;
}

// The registry writes through on every call; closing leaves nothing to fold back.
void CloseStore() {
    UseMemoryStore();
}

// The store is a registry key, never a file.
bool IsStoreFile(const std::string&) {
    return false;
}

// All or nothing: should the registry refuse a change, the ones made before it are put back.
Status text::ApplyAll(const std::vector<Operation>& operations, size_t* failed) {
    *failed = operations.size();
    const auto store = CurrentStore();
    if (!store->root) return kStoreFailure;
    UndoLog undo;
    text::OpenSection open;
    for (size_t i = 0; i < operations.size(); ++i) {
        Status s = Remember(*store, operations[i], &undo);
        if (s == kSuccess) s = ApplyOperation(operations[i], &open);
        if (s != kSuccess) {
            open.Close();
            for (auto step = undo.rbegin(); step != undo.rend(); ++step) (*step)();
            *failed = i;
            return s;
        }
    }
    return kSuccess;
}

}  // namespace plat::reg
