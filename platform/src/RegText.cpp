// Parsing and printing of the registry editor's text form.
#include "RegText.h"

#include <algorithm>
#include <type_traits>

#include "platform/Text.h"
#include "platform/TextRules.h"
#include "platform/Utf8.h"

namespace plat::reg::text {

namespace {

// Hex lists wrap once a line reaches this many UTF-16 units, as the registry editor wraps them.
constexpr size_t kWrapAt = 77;
constexpr wchar_t kHexDigits[] = L"0123456789abcdef";

// The registry editor's escapes in quoted text: backslash, quote, and the line ends, which
// would otherwise end the line.
void AppendQuoted(std::wstring& out, std::wstring_view s) {
    out.push_back(L'"');
    for (const wchar_t c : s) {
        if (c == L'\\' || c == L'"') {
            out.push_back(L'\\');
            out.push_back(c);
        } else if (c == L'\r' || c == L'\n') {
            out.push_back(L'\\');
            out.push_back(c == L'\r' ? L'r' : L'n');
        } else {
            out.push_back(c);
        }
    }
    out.push_back(L'"');
}

// A character beyond U+FFFF takes two UTF-16 units where wchar_t holds it whole.
template <class Char>
size_t ExtraUnits(Char c) {
    if constexpr (sizeof(Char) == 4)
        return static_cast<uint32_t>(c) > 0xFFFF ? 1 : 0;
    else
        return 0;
}

// The length in UTF-16 units, which the registry editor's line lengths count.
size_t Utf16Units(std::wstring_view s) {
    size_t units = s.size();
    for (const wchar_t c : s) units += ExtraUnits(c);
    return units;
}

void AppendHexByte(std::wstring& out, uint8_t byte) {
    out.push_back(kHexDigits[byte >> 4]);
    out.push_back(kHexDigits[byte & 0xF]);
}

void AppendHexNumber(std::wstring& out, uint32_t value, int minDigits) {
    int digits = 1;
    while (digits < 8 && (value >> (4 * digits)) != 0) ++digits;
    for (int i = std::max(digits, minDigits) - 1; i >= 0; --i)
        out.push_back(kHexDigits[(value >> (4 * i)) & 0xF]);
}

std::wstring NamePart(std::wstring_view name) {
    std::wstring out;
    if (name.empty())
        out = L"@";
    else
        AppendQuoted(out, name);
    out.push_back(L'=');
    return out;
}

int HexDigit(wchar_t c) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return -1;
}

class Parser {
public:
    explicit Parser(std::wstring_view t) : m_t(t) {}

    bool Run(std::vector<Operation>* ops) {
        if (!m_t.empty() && m_t[0] == L'\xFEFF') ++m_i;
        SkipBlank();
        const int headerLine = m_line;
        const std::wstring_view header = RestOfLine();
        if (header != kHeader && header != kHeaderVersion4) {
            m_line = headerLine;
            return Fail("the text does not start with \"" + Narrow(kHeader) + "\"");
        }
        m_version4 = header == kHeaderVersion4;
        bool inSection = false;
        std::shared_ptr<const std::wstring> section;
        while (true) {
            SkipSpaces();
            if (m_i >= m_t.size()) return true;
            const wchar_t c = m_t[m_i];
            if (c == L'\r' || c == L'\n') {
                SkipLineEnd();
            } else if (c == L';') {
                RestOfLine();
            } else if (c == L'[') {
                Operation op{};
                op.line = m_line;
                if (!ReadSection(&op)) return false;
                inSection = op.kind == Operation::Kind::CreateKey;
                section = op.path;
                ops->push_back(std::move(op));
            } else if (c == L'"' || c == L'@') {
                if (!inSection) return Fail("a value outside a key section");
                Operation op{};
                op.line = m_line;
                op.path = section;
                if (!ReadValue(&op)) return false;
                ops->push_back(std::move(op));
            } else {
                return Fail("unexpected text");
            }
        }
    }

    const std::string& error() const { return m_error; }

private:
    static std::string Narrow(std::wstring_view w) {
        std::string s;
        AppendUtf8(s, w);
        return s;
    }

    bool Fail(const std::string& what) {
        m_error = "line " + std::to_string(m_line) + ": " + what;
        return false;
    }

    bool AtLineEnd() const { return m_i >= m_t.size() || m_t[m_i] == L'\r' || m_t[m_i] == L'\n'; }

    void SkipSpaces() {
        while (m_i < m_t.size() && (m_t[m_i] == L' ' || m_t[m_i] == L'\t')) ++m_i;
    }

    void SkipLineEnd() {
        if (m_i < m_t.size() && m_t[m_i] == L'\r') ++m_i;
        if (m_i < m_t.size() && m_t[m_i] == L'\n') ++m_i;
        ++m_line;
    }

    void SkipBlank() {
        while (true) {
            SkipSpaces();
            if (m_i >= m_t.size() || !AtLineEnd()) return;
            SkipLineEnd();
        }
    }

    // The rest of the line without trailing blanks; consumes the line end.
    std::wstring_view RestOfLine() {
        const size_t start = m_i;
        while (!AtLineEnd()) ++m_i;
        std::wstring_view line = m_t.substr(start, m_i - start);
        while (!line.empty() && (line.back() == L' ' || line.back() == L'\t'))
            line.remove_suffix(1);
        if (m_i < m_t.size()) SkipLineEnd();
        return line;
    }

    // Whether only blanks or a comment follow position `at` on its line.
    bool OnlyCommentFrom(size_t at) const {
        while (at < m_t.size() && (m_t[at] == L' ' || m_t[at] == L'\t')) ++at;
        return at >= m_t.size() || m_t[at] == L';' || m_t[at] == L'\r' || m_t[at] == L'\n';
    }

    // Only blanks or a comment may follow a section or a value on its line.
    bool EndOfEntry() {
        SkipSpaces();
        if (m_i < m_t.size() && m_t[m_i] == L';')
            while (!AtLineEnd()) ++m_i;
        if (!AtLineEnd()) return Fail("unexpected text after the entry");
        if (m_i < m_t.size()) SkipLineEnd();
        return true;
    }

    bool ReadSection(Operation* op) {
        ++m_i;  // '['
        op->kind = Operation::Kind::CreateKey;
        if (m_i < m_t.size() && m_t[m_i] == L'-') {
            op->kind = Operation::Kind::DeleteKey;
            ++m_i;
        }
        // The path runs to the first ']' that only blanks or a comment follow, so that key
        // names may hold one and a comment may too.
        const size_t start = m_i;
        size_t close = std::wstring_view::npos;
        for (; !AtLineEnd() && close == std::wstring_view::npos; ++m_i)
            if (m_t[m_i] == L']' && OnlyCommentFrom(m_i + 1)) close = m_i;
        if (close == std::wstring_view::npos) return Fail("a key section without ']'");
        const std::wstring_view name = m_t.substr(start, close - start);
        m_i = close + 1;
        if (!StartsWithAsciiNoCase(name, kRootName) ||
            (name.size() > kRootName.size() && name[kRootName.size()] != L'\\'))
            return Fail("a key outside HKEY_CURRENT_USER");
        const std::wstring_view path =
            name.size() > kRootName.size() ? name.substr(kRootName.size() + 1) : L"";
        std::vector<std::wstring_view> names;
        if (SplitPath(path, &names) != kSuccess)
            return Fail(std::count(path.begin(), path.end(), L'\\') >= kMaxKeyDepth
                            ? "a key path of more than " + std::to_string(kMaxKeyDepth) + " levels"
                            : "a malformed key path");
        if (op->kind == Operation::Kind::DeleteKey && names.empty())
            return Fail("the root key cannot be deleted");
        op->path = std::make_shared<const std::wstring>(path);
        return EndOfEntry();
    }

    bool ReadQuoted(std::wstring* out) {
        const int startLine = m_line;
        ++m_i;  // opening quote
        while (m_i < m_t.size()) {
            wchar_t c = m_t[m_i++];
            if (c == L'"') return true;
            if (c == L'\\' && m_i < m_t.size() && (m_t[m_i] == L'\\' || m_t[m_i] == L'"')) {
                c = m_t[m_i++];
            } else if (c == L'\\' && m_i < m_t.size() && (m_t[m_i] == L'r' || m_t[m_i] == L'n')) {
                c = m_t[m_i++] == L'r' ? L'\r' : L'\n';
            } else if (c == L'\n') {
                ++m_line;
            }
            out->push_back(c);
        }
        m_line = startLine;
        return Fail("a text without its closing quote");
    }

    bool ReadValue(Operation* op) {
        if (m_t[m_i] == L'@') {
            ++m_i;
        } else if (!ReadQuoted(&op->name)) {
            return false;
        }
        SkipSpaces();
        if (m_i >= m_t.size() || m_t[m_i] != L'=') return Fail("a value without '='");
        ++m_i;
        SkipSpaces();
        const std::wstring_view rest = m_t.substr(m_i);
        if (!rest.empty() && rest[0] == L'"') {
            op->kind = Operation::Kind::SetValue;
            op->type = ValueType::String;
            const int startLine = m_line;
            std::wstring text;
            if (!ReadQuoted(&text)) return false;
            // A text may hold line ends, but one that runs on and then goes wrong most likely
            // lost its closing quote where it began.
            if (m_line != startLine && !OnlyCommentFrom(m_i)) {
                m_line = startLine;
                return Fail("a text without its closing quote on its line");
            }
            op->data = data::FromText(text);
        } else if (!rest.empty() && rest[0] == L'-') {
            op->kind = Operation::Kind::DeleteValue;
            ++m_i;
        } else if (StartsWithAsciiNoCase(rest, L"dword:")) {
            op->kind = Operation::Kind::SetValue;
            op->type = ValueType::Dword;
            m_i += 6;
            uint32_t value = 0;
            if (!ReadHexNumber("a dword", &value)) return false;
            op->data = data::FromDword(value);
        } else if (StartsWithAsciiNoCase(rest, L"hex")) {
            op->kind = Operation::Kind::SetValue;
            if (!ReadHexType(&op->type) || !ReadHexList(&op->data)) return false;
            if (m_version4 && !WidenVersion4Text(op)) return false;
        } else {
            return Fail("a value that is not \"text\", dword:, hex: or hex(N):");
        }
        return EndOfEntry();
    }

    // Up to 8 hex digits at the position, as a number.
    bool ReadHexNumber(const char* what, uint32_t* value) {
        size_t digits = 0;
        *value = 0;
        for (int d; m_i < m_t.size() && (d = HexDigit(m_t[m_i])) >= 0; ++m_i, ++digits) {
            if (digits == 8) return Fail(std::string(what) + " of more than 8 hex digits");
            *value = *value << 4 | static_cast<uint32_t>(d);
        }
        if (digits == 0) return Fail(std::string(what) + " without hex digits");
        return true;
    }

    // "hex:" (Binary) or "hex(N):", N the type's number in hex.
    bool ReadHexType(ValueType* type) {
        m_i += 3;
        *type = ValueType::Binary;
        if (m_i < m_t.size() && m_t[m_i] == L'(') {
            ++m_i;
            uint32_t number = 0;
            if (!ReadHexNumber("a value type", &number)) return false;
            if (m_i >= m_t.size() || m_t[m_i] != L')') return Fail("a value type without ')'");
            ++m_i;
            *type = static_cast<ValueType>(number);
        }
        if (m_i >= m_t.size() || m_t[m_i] != L':') return Fail("a hex value without ':'");
        ++m_i;
        return true;
    }

    // Whether a '\\' at the position ends its line (blanks may follow it): the list goes on.
    bool AtContinuation() const {
        if (m_i >= m_t.size() || m_t[m_i] != L'\\') return false;
        size_t at = m_i + 1;
        while (at < m_t.size() && (m_t[at] == L' ' || m_t[at] == L'\t')) ++at;
        return at >= m_t.size() || m_t[at] == L'\r' || m_t[at] == L'\n';
    }

    // Bytes of one or two hex digits, separated by commas; after a comma, "\\" at the end of
    // a line continues the list on the next.
    bool ReadHexList(data::Bytes* out) {
        SkipSpaces();
        if (AtLineEnd() || m_t[m_i] == L';') return true;  // no bytes
        while (true) {
            SkipSpaces();
            int high = m_i < m_t.size() ? HexDigit(m_t[m_i]) : -1;
            if (high < 0) return Fail("a hex byte that is not one or two hex digits");
            ++m_i;
            const int low = m_i < m_t.size() ? HexDigit(m_t[m_i]) : -1;
            if (low >= 0) {
                high = high << 4 | low;
                ++m_i;
            }
            out->push_back(static_cast<uint8_t>(high));
            SkipSpaces();
            if (m_i >= m_t.size() || m_t[m_i] != L',') return true;
            ++m_i;
            SkipSpaces();
            if (AtContinuation()) {
                while (!AtLineEnd()) ++m_i;
                if (m_i >= m_t.size()) return Fail("a hex list that ends in '\\'");
                SkipLineEnd();
            }
        }
    }

    // The older editor wrote hex(2) and hex(7) data as text in the system's code page.
    bool WidenVersion4Text(Operation* op) {
        if (op->type != ValueType::ExpandString && op->type != ValueType::MultiString) return true;
        std::wstring wide;
        size_t bad = 0;
        const std::string narrow(op->data.begin(), op->data.end());
        if (!NarrowToWideExact(narrow, &wide, &bad))
            return Fail("hex data that is not text in the system's code page");
        op->data = data::FromText(wide);
        op->data.resize(op->data.size() - 2);  // the text's own NULs were converted with it
        return true;
    }

    std::wstring_view m_t;
    bool m_version4 = false;
    size_t m_i = 0;
    int m_line = 1;
    std::string m_error;
};

// The offset of the first byte that does not belong to a UTF-8 sequence (surrogates taken as
// they are kept), or the text's size.
size_t FirstNonUtf8(std::string_view bytes) {
    auto at = [&](size_t i) { return static_cast<uint8_t>(bytes[i]); };
    size_t i = 0;
    while (i < bytes.size()) {
        const uint8_t lead = at(i);
        size_t length = 1;
        uint8_t low = 0x80, high = 0xBF;  // what the byte after the lead may be
        if (lead < 0x80) {
            ++i;
            continue;
        }
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            if (lead == 0xE0) low = 0xA0;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            if (lead == 0xF0) low = 0x90;
            if (lead == 0xF4) high = 0x8F;
        } else {
            return i;
        }
        if (i + length > bytes.size()) return i;
        if (at(i + 1) < low || at(i + 1) > high) return i;
        for (size_t k = 2; k < length; ++k)
            if ((at(i + k) & 0xC0) != 0x80) return i;
        i += length;
    }
    return i;
}

bool Undecodable(std::string_view bytes, size_t bad, const char* what, std::string* error) {
    if (error) {
        static constexpr char kHex[] = "0123456789abcdef";
        const auto byte = static_cast<uint8_t>(bytes[bad]);
        const auto line =
            std::count(bytes.begin(), bytes.begin() + static_cast<ptrdiff_t>(bad), '\n') + 1;
        *error = "line " + std::to_string(line) + ": a byte that is not " + what + " (0x" +
                 kHex[byte >> 4] + kHex[byte & 0xF] + ")";
    }
    return false;
}

bool StartsVersion4(std::string_view bytes) {
    const size_t first = bytes.find_first_not_of(" \t\r\n");
    return first != std::string_view::npos && bytes.substr(first, 8) == "REGEDIT4";
}

}  // namespace

Status SplitPath(std::wstring_view path, std::vector<std::wstring_view>* names) {
    names->clear();
    if (path.empty()) return kSuccess;
    if (path.front() == L'\\') return kInvalidParameter;
    if (path.back() == L'\\') path.remove_suffix(1);
    while (true) {
        const size_t sep = path.find(L'\\');
        const std::wstring_view name = path.substr(0, sep);
        if (name.empty() || name.size() > kMaxKeyNameChars ||
            name.find(L'\0') != std::wstring_view::npos)
            return kInvalidParameter;
        if (names->size() == kMaxKeyDepth) return kInvalidParameter;
        names->push_back(name);
        if (sep == std::wstring_view::npos) return kSuccess;
        path.remove_prefix(sep + 1);
    }
}

bool Parse(std::wstring_view t, std::vector<Operation>* operations, std::string* error) {
    std::vector<Operation> ops;
    Parser parser(t);
    if (!parser.Run(&ops)) {
        if (error) *error = parser.error();
        return false;
    }
    *operations = std::move(ops);
    return true;
}

std::wstring SectionLine(std::wstring_view path) {
    std::wstring out = L"[";
    out.append(kRootName);
    if (!path.empty()) out.append(L"\\").append(path);
    out.push_back(L']');
    return out;
}

std::wstring ValueLine(std::wstring_view name, ValueType type, std::span<const uint8_t> bytes) {
    std::wstring out = NamePart(name);
    std::wstring text;
    uint32_t dword = 0;
    if (type == ValueType::String && data::IsPlainText(bytes, &text) &&
        text.find(L'\0') == std::wstring::npos) {
        AppendQuoted(out, text);
        return out;
    }
    if (type == ValueType::Dword && data::ToDword(bytes, &dword)) {
        out.append(L"dword:");
        AppendHexNumber(out, dword, 8);
        return out;
    }
    out.append(L"hex");
    if (type != ValueType::Binary) {
        out.push_back(L'(');
        AppendHexNumber(out, static_cast<uint32_t>(type), 1);
        out.push_back(L')');
    }
    out.push_back(L':');
    size_t lineUnits = Utf16Units(out);
    for (size_t i = 0; i < bytes.size(); ++i) {
        AppendHexByte(out, bytes[i]);
        if (i + 1 == bytes.size()) break;
        out.push_back(L',');
        lineUnits += 3;
        if (lineUnits >= kWrapAt) {
            out.append(L"\\").append(kNewline).append(L"  ");
            lineUnits = 2;
        }
    }
    return out;
}

std::string EncodeFile(std::wstring_view t) {
    const data::Bytes units = data::FromText(t);
    std::string out = "\xFF\xFE";
    // Without the terminating NUL that registry data carries.
    out.append(units.begin(), units.end() - 2);
    return out;
}

bool DecodeFile(std::string_view bytes, std::wstring* t, std::string* error) {
    auto byteAt = [&](size_t i) { return static_cast<uint32_t>(static_cast<uint8_t>(bytes[i])); };
    const bool le = bytes.size() >= 2 && byteAt(0) == 0xFF && byteAt(1) == 0xFE;
    const bool be = bytes.size() >= 2 && byteAt(0) == 0xFE && byteAt(1) == 0xFF;
    if (!le && !be) {
        size_t bad = 0;
        if (bytes.substr(0, 3) != "\xEF\xBB\xBF" && StartsVersion4(bytes))
            return NarrowToWideExact(bytes, t, &bad) ||
                   Undecodable(bytes, bad, "text in the system's code page", error);
        if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
        if (bad = FirstNonUtf8(bytes); bad < bytes.size())
            return Undecodable(bytes, bad, "UTF-8", error);
        *t = FromUtf8(bytes, Surrogates::Keep);
        return true;
    }
    if (bytes.size() % 2 != 0) {
        if (error) *error = "a UTF-16 file of an odd number of bytes";
        return false;
    }
    std::wstring out;
    out.reserve(bytes.size() / 2);
    for (size_t i = 2; i < bytes.size(); i += 2) {
        uint32_t c = le ? byteAt(i) | byteAt(i + 1) << 8 : byteAt(i) << 8 | byteAt(i + 1);
        if constexpr (sizeof(wchar_t) == 4) {
            // Pairs become one character; a lone surrogate is kept as it is.
            if (c >= 0xD800 && c <= 0xDBFF && i + 3 < bytes.size()) {
                const uint32_t low =
                    le ? byteAt(i + 2) | byteAt(i + 3) << 8 : byteAt(i + 2) << 8 | byteAt(i + 3);
                if (low >= 0xDC00 && low <= 0xDFFF) {
                    c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                    i += 2;
                }
            }
        }
        out.push_back(static_cast<wchar_t>(c));
    }
    *t = std::move(out);
    return true;
}

}  // namespace plat::reg::text
