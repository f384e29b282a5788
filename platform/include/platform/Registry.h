// The HKEY_CURRENT_USER registry tree: keys, subkeys, and values of every registry type.
// On Windows it is the real registry; elsewhere it is kept in one SQLite store file shared by every
// process using it.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace plat::reg {

// Answers as the platform's registry calls give them.
using Status = long;
inline constexpr Status kSuccess = 0;
inline constexpr Status kFileNotFound = 2;  // key or value missing
inline constexpr Status kAccessDenied = 5;
inline constexpr Status kInvalidHandle = 6;
inline constexpr Status kInvalidParameter = 87;
inline constexpr Status kMoreData = 234;       // the name does not fit the caller's buffer
inline constexpr Status kNoMoreItems = 259;    // enumeration index past the last subkey
inline constexpr Status kKeyDeleted = 1018;    // the open key was deleted meanwhile
inline constexpr Status kStoreFailure = 1009;  // the store could not be read or written

// Key names hold at most this many characters (the enumeration buffer holds one more).
inline constexpr uint32_t kMaxKeyNameChars = 255;
// Keys lie at most this many levels below the root, as in the platform's registry.
inline constexpr uint32_t kMaxKeyDepth = 512;

// The registry's value types. Any other number is a type of its own, kept as it is.
enum class ValueType : uint32_t {
    None = 0,
    String = 1,
    ExpandString = 2,
    Binary = 3,
    Dword = 4,
    DwordBigEndian = 5,
    Link = 6,
    MultiString = 7,
    Qword = 11,
};

// One String or Dword value of a key: `text` holds a String's data, `dword` a Dword's. Modules
// built against earlier versions hold this layout: it stays as it is.
struct Value {
    std::wstring name;
    ValueType type = ValueType::String;
    std::wstring text;
    uint32_t dword = 0;
};

// One value of any type: its type and `data`, the bytes the registry keeps (a String's: its text
// in UTF-16LE with the terminating NUL, a Dword's: four bytes, least significant first).
struct TypedValue {
    std::wstring name;
    ValueType type = ValueType::None;
    std::vector<uint8_t> data;
};

struct KeyHandle;
using HKey = KeyHandle*;

// Paths are relative to HKEY_CURRENT_USER and separated by backslashes; key names compare
// without regard to letter case (ASCII), and keep the case they were created with.
// Subkeys enumerate in case-insensitive name order.

// A path of more than kMaxKeyDepth names is an invalid parameter.

// Opens the key, creating it and every missing parent; full access.
Status CreateKey(std::wstring_view path, HKey* out);
// Opens an existing key; kFileNotFound when it does not exist.
Status OpenKey(std::wstring_view path, HKey* out);
// Opens an existing key below `key` (`key` itself again for an empty path).
Status OpenSubkey(HKey key, std::wstring_view path, HKey* out);
// Frees the handle (also one from a replaced store); kInvalidHandle for one not open.
Status CloseKey(HKey key);

// Name of subkey number `index` into `name`; `*nameChars` holds the buffer size in characters
// on entry (terminator included) and the name's length on success. kNoMoreItems past the last
// subkey; kMoreData, with nothing written, when the name and its terminator do not fit.
Status EnumKey(HKey key, uint32_t index, wchar_t* name, uint32_t* nameChars);
// Every subkey's name, and every String and four-byte Dword value (values of other types are left
// out), each in case-insensitive name order, in one call; EnumTypedValues lists every value.
Status EnumSubkeys(HKey key, std::vector<std::wstring>* names);
Status EnumValues(HKey key, std::vector<Value>* values);
Status EnumTypedValues(HKey key, std::vector<TypedValue>* values);

// Calls `visit` with the path (each name as stored) and the values of the key at `path` and of
// every key below it, parents first, siblings in case-insensitive name order; stops at the first
// visit that does not answer kSuccess and answers that. kFileNotFound when the key does not
// exist; kStoreFailure for a tree deeper than kMaxKeyDepth, which only a corrupt store holds.
using TreeVisitor =
    std::function<Status(const std::wstring& path, const std::vector<Value>& values)>;
Status WalkTree(std::wstring_view path, const TreeVisitor& visit);
// The same walk with every value of every type.
using TypedTreeVisitor =
    std::function<Status(const std::wstring& path, const std::vector<TypedValue>& values)>;
Status WalkTypedTree(std::wstring_view path, const TypedTreeVisitor& visit);

// Deletes `subkey` of `key` with everything below it; kFileNotFound when it does not exist.
// An empty `subkey` empties `key` of its values and subkeys and keeps the key itself.
Status DeleteTree(HKey key, std::wstring_view subkey);
// Deletes `subkey` of `key` (the key itself for an empty one) with its values, only when it has
// no subkeys: kAccessDenied when it has, or when it is the root.
Status DeleteKey(HKey key, std::wstring_view subkey);

Status SetStringValue(HKey key, std::wstring_view name, std::wstring_view value);
Status SetDwordValue(HKey key, std::wstring_view name, uint32_t value);
// kFileNotFound when missing; kInvalidParameter when the value has the other type.
Status GetStringValue(HKey key, std::wstring_view name, std::wstring* value);
Status GetDwordValue(HKey key, std::wstring_view name, uint32_t* value);
// A value of any type, its bytes kept exactly; GetStringValue reads String data that does not
// end in a NUL whole, and GetDwordValue answers kStoreFailure for Dword data not four bytes long.
Status SetValue(HKey key, std::wstring_view name, ValueType type, std::span<const uint8_t> data);
Status GetValue(HKey key, std::wstring_view name, ValueType* type, std::vector<uint8_t>* data);
Status DeleteValue(HKey key, std::wstring_view name);

// The store behind the tree. Until a store is opened the process uses a private in-memory one.
// Opening replaces the current store; keys opened before then answer kInvalidHandle.
// On Windows the real registry serves: HKEY_CURRENT_USER itself until a store call is made;
// OpenStore(path) moves the tree's root to the key HKCU\Software\AmbrelTest\<path, with '/' for
// '\'>, shared by every process naming the same path; UseMemoryStore() to a fresh volatile key
// private to the process.
// A store file is made when missing (unless `access` is Existing); an existing file is used only
// when it is a store of ours, and is left untouched otherwise: an empty file, another program's
// database, or one whose schema holds more than the store's tables is refused with the reason.
// Opening takes no write lock: reading a store never waits for another process writing it.
enum class StoreAccess { OpenOrCreate, Existing };
bool OpenStore(const std::string& path, std::string* error = nullptr,
               StoreAccess access = StoreAccess::OpenOrCreate);
void UseMemoryStore();
// Closes the current store, so that a file's log is folded back into it and no companion file
// stays behind; the process goes on with a private in-memory store.
void CloseStore();
std::string StorePath();  // empty for the in-memory store
// Whether `file` is the current store's file or one of the files kept beside it (its log), which
// writing would destroy. Never on Windows, where the store is a registry key.
bool IsStoreFile(const std::string& file);

// The tree below `path` (or the whole tree for an empty path) as Windows registry-editor text
// ("Windows Registry Editor Version 5.00", [HKEY_CURRENT_USER\...] sections, "name"="text",
// "name"=dword:0000002a and "name"=hex(N):xx,... lines as the registry editor writes them for
// each type, long ones wrapped, @ for the default value). Import merges such text into the store,
// all or nothing; it also takes [-key] and "name"=- deletions. A section's key path runs to the
// last ']' on its line, so key names may hold ']'; a key name holding a line end cannot be
// written, and its export fails naming the key.
// Files are UTF-16LE with a byte-order mark, as the registry editor writes them; import also
// reads UTF-8. The text export of a missing key is the header alone; the file export fails. A
// failed text export gives empty text.
std::wstring ExportRegText(std::wstring_view path = {}, std::string* error = nullptr);
bool ImportRegText(std::wstring_view text, std::string* error = nullptr);
bool ExportRegFile(const std::string& file, std::wstring_view path = {},
                   std::string* error = nullptr);
bool ImportRegFile(const std::string& file, std::string* error = nullptr);

// Closes the key on scope exit.
class KeyGuard {
public:
    explicit KeyGuard(HKey key = nullptr) : m_key(key) {}
    ~KeyGuard() {
        if (m_key) CloseKey(m_key);
    }
    KeyGuard(const KeyGuard&) = delete;
    KeyGuard& operator=(const KeyGuard&) = delete;
    HKey* out() { return &m_key; }
    HKey get() const { return m_key; }

private:
    HKey m_key;
};

}  // namespace plat::reg
