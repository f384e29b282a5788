// The registry tree's .reg text and files, written and read over the portable registry calls.
#include <fstream>
#include <iterator>

#include "RegText.h"
#include "platform/Registry.h"
#include "platform/Utf8.h"

namespace plat::reg {

namespace {

std::string StatusText(Status s) {
    std::string text = "error " + std::to_string(s);
    switch (s) {
        case kFileNotFound:
            return text + ": the key does not exist";
        case kStoreFailure:
            return text + ": the store failed or is corrupt";
        case kInvalidParameter:
            return text + ": a name or path the registry does not take";
        default:
            return text;
    }
}

}  // namespace

bool text::ExportText(std::wstring_view path, std::wstring* out, std::string* error,
                      Status* status) {
    out->assign(kHeader).append(kNewline).append(kNewline);
    bool refused = false;
    std::wstring refusedPath;
    const Status s = WalkTree(path, [&](const std::wstring& keyPath, const auto& values) {
        // The text has no way to write a line end in a key name.
        if (keyPath.find_first_of(L"\r\n") != std::wstring::npos) {
            refused = true;
            refusedPath = keyPath.substr(0, keyPath.find_first_of(L"\r\n"));
            return kInvalidParameter;
        }
        out->append(SectionLine(keyPath)).append(kNewline);
        for (const Value& value : values) {
            out->append(value.type == ValueType::String ? StringValueLine(value.name, value.text)
                                                        : DwordValueLine(value.name, value.dword));
            out->append(kNewline);
        }
        out->append(kNewline);
        return kSuccess;
    });
    if (status) *status = s;
    if (s == kSuccess) return true;
    if (error) {
        *error = refused ? "a key name holds a line end, which .reg text cannot hold: " +
                               ToUtf8(refusedPath) + "..."
                         : StatusText(s);
    }
    return false;
}

Status text::ApplyOperation(const Operation& op) {
    KeyGuard key;
    if (op.kind == Operation::Kind::DeleteKey) {
        if (Status s = OpenKey(L"", key.out()); s != kSuccess) return s;
        const Status s = DeleteTree(key.get(), op.path);
        return s == kFileNotFound ? kSuccess : s;
    }
    if (Status s = CreateKey(op.path, key.out()); s != kSuccess) return s;
    switch (op.kind) {
        case Operation::Kind::SetString:
            return SetStringValue(key.get(), op.name, op.text);
        case Operation::Kind::SetDword:
            return SetDwordValue(key.get(), op.name, op.dword);
        case Operation::Kind::DeleteValue: {
            const Status s = DeleteValue(key.get(), op.name);
            return s == kFileNotFound ? kSuccess : s;
        }
        default:
            return kSuccess;
    }
}

std::wstring ExportRegText(std::wstring_view path, std::string* error) {
    std::wstring out;
    Status status = kSuccess;
    if (text::ExportText(path, &out, error, &status)) return out;
    // A missing key has no sections, but is no failure of the text.
    if (status == kFileNotFound) return out;
    return {};
}

bool ImportRegText(std::wstring_view regText, std::string* error) {
    std::vector<text::Operation> ops;
    if (!text::Parse(regText, &ops, error)) return false;
    size_t failed = 0;
    const Status s = text::ApplyAll(ops, &failed);
    if (s != kSuccess && error) {
        *error = failed < ops.size() ? "line " + std::to_string(ops[failed].line) + ": " : "";
        *error += "the registry refused the change (" + StatusText(s) + ")";
    }
    return s == kSuccess;
}

bool ExportRegFile(const std::string& file, std::wstring_view path, std::string* error) {
    std::wstring regText;
    if (!text::ExportText(path, &regText, error)) return false;
    const std::string bytes = text::EncodeFile(regText);
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out && error) *error = "the file cannot be written";
    return static_cast<bool>(out);
}

bool ImportRegFile(const std::string& file, std::string* error) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        if (error) *error = "the file cannot be read";
        return false;
    }
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        if (error) *error = "the file cannot be read";
        return false;
    }
    std::wstring regText;
    if (!text::DecodeFile(bytes, &regText, error)) return false;
    return ImportRegText(regText, error);
}

}  // namespace plat::reg
