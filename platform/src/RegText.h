// The registry editor's text form: parsing into operations, quoting, and the file encoding.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "RegData.h"
#include "platform/Registry.h"

namespace plat::reg::text {

inline constexpr std::wstring_view kHeader = L"Windows Registry Editor Version 5.00";
inline constexpr std::wstring_view kHeaderVersion4 = L"REGEDIT4";
inline constexpr std::wstring_view kRootName = L"HKEY_CURRENT_USER";
inline constexpr std::wstring_view kNewline = L"\r\n";

// One change a text asks for; `path` is relative to the root. The changes of one section share
// its path, so a deep key's values cost no copy of it each.
struct Operation {
    enum class Kind { CreateKey, DeleteKey, SetValue, DeleteValue };
    Kind kind;
    std::shared_ptr<const std::wstring> path;
    std::wstring name;
    ValueType type = ValueType::None;
    data::Bytes data;
    int line = 0;  // where the text asks for it
};

// Splits a key path (relative to the root, backslash-separated, at most one trailing backslash)
// into at most kMaxKeyDepth key names of 1..kMaxKeyNameChars characters; kInvalidParameter when
// it is malformed. An empty path is the root itself.
Status SplitPath(std::wstring_view path, std::vector<std::wstring_view>* names);

// Parses the whole text; on failure nothing is returned but the error, with its line number.
bool Parse(std::wstring_view text, std::vector<Operation>* operations, std::string* error);

// "[HKEY_CURRENT_USER\path]" for a path relative to the root (empty for the root itself).
std::wstring SectionLine(std::wstring_view path);
// A value as the registry editor writes it: `"name"="text"` (`@=` for the default value) for
// String data that is plain text without a NUL, `"name"=dword:0000002a` for a four-byte Dword,
// `"name"=hex:01,02` for Binary data and `"name"=hex(N):01,02` for any other, a long list
// wrapped with "\" and CRLF before the line reaches 80 characters. Names and text escape '\',
// '"', CR (as \r) and LF (as \n).
std::wstring ValueLine(std::wstring_view name, ValueType type, std::span<const uint8_t> data);

// The text of the tree below `path` (header, then each key's section with its values, keys and
// values in case-insensitive name order); false, with the reason, when the key does not exist
// (kFileNotFound in `status`), when a key name cannot be written or the tree cannot be read.
bool ExportText(std::wstring_view path, std::wstring* text, std::string* error,
                Status* status = nullptr);

// Makes one change through the registry calls; a deletion of what is missing succeeds. With an
// `open` key, a change of the section it was opened for uses it instead of opening the key
// again; it is left open for the next change.
class OpenSection {
public:
    OpenSection() = default;
    ~OpenSection() { Close(); }
    OpenSection(const OpenSection&) = delete;
    OpenSection& operator=(const OpenSection&) = delete;
    void Close() {
        if (key) CloseKey(key);
        key = nullptr;
        path = nullptr;
    }
    const std::wstring* path = nullptr;
    HKey key = nullptr;
};
Status ApplyOperation(const Operation& operation, OpenSection* open = nullptr);
// Provided by the registry backend: the changes of a whole text, all or nothing; on failure
// `failed` is the index of the operation that failed (the size when the commit failed).
Status ApplyAll(const std::vector<Operation>& operations, size_t* failed);

// Files are UTF-16LE with a byte-order mark, as the registry editor writes them; reading also
// takes UTF-16BE and UTF-8, with or without a mark, and "REGEDIT4" text in the system's code
// page (as that editor wrote it, hex(2) and hex(7) data included). Bytes that do not decode fail
// the file, naming their line.
std::string EncodeFile(std::wstring_view text);
bool DecodeFile(std::string_view bytes, std::wstring* text, std::string* error);

}  // namespace plat::reg::text
