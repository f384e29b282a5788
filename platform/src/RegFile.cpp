// The registry tree's .reg text and files, written and read over the portable registry calls.
#include "Files.h"
#include "RegBackend.h"
#include "RegText.h"
#include "platform/Registry.h"
#include "platform/Utf8.h"

namespace plat::reg {

namespace {

// A profile is a few kilobytes; this leaves room for any tree a person would edit, and keeps a
// device that never ends (or a wrong file) from taking all memory.
constexpr size_t kMaxRegFileBytes = 64u << 20;

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

// Whether a ']' in the path is followed by blanks and a ';': a section line read back would end
// there, the rest taken for a comment.
bool HoldsCommentAfterBracket(std::wstring_view path) {
    for (size_t close = path.find(L']'); close != std::wstring_view::npos;
         close = path.find(L']', close + 1)) {
        const size_t next = path.find_first_not_of(L" \t", close + 1);
        if (next != std::wstring_view::npos && path[next] == L';') return true;
    }
    return false;
}

}  // namespace

bool text::ExportText(std::wstring_view path, std::wstring* out, std::string* error,
                      Status* status) {
    out->assign(kHeader).append(kNewline).append(kNewline);
    std::string refused;
    const Status s = WalkTypedTree(path, [&](const std::wstring& keyPath, const auto& values) {
        // The text has no way to write a line end in a key name.
        if (keyPath.find_first_of(L"\r\n") != std::wstring::npos) {
            refused = "a key name holds a line end, which .reg text cannot hold: " +
                      ToUtf8(keyPath.substr(0, keyPath.find_first_of(L"\r\n"))) + "...";
            return kInvalidParameter;
        }
        if (HoldsCommentAfterBracket(keyPath)) {
            refused = "a key name holds ']' before a ';', which .reg text reads as a comment: " +
                      ToUtf8(keyPath);
            return kInvalidParameter;
        }
        out->append(SectionLine(keyPath)).append(kNewline);
        for (const TypedValue& value : values) {
            out->append(ValueLine(value.name, value.type, value.data)).append(kNewline);
        }
        out->append(kNewline);
        return kSuccess;
    });
    if (status) *status = s;
    if (s == kSuccess) return true;
    if (error) {
        *error = !refused.empty() ? refused : StatusText(s);
    }
    return false;
}

Status text::ApplyOperation(const Operation& op, OpenSection* open) {
    KeyGuard own;
    if (op.kind == Operation::Kind::DeleteKey) {
        if (open) open->Close();  // the open key may be among what goes
        if (Status s = OpenKey(L"", own.out()); s != kSuccess) return s;
        const Status s = DeleteTree(own.get(), *op.path);
        return s == kFileNotFound ? kSuccess : s;
    }
    HKey key = nullptr;
    if (open && open->key && open->path == op.path.get()) {
        key = open->key;
    } else {
        if (Status s = CreateKey(*op.path, own.out()); s != kSuccess) return s;
        key = own.get();
        if (open) {
            open->Close();
            std::swap(open->key, *own.out());
            open->path = op.path.get();
        }
    }
    switch (op.kind) {
        case Operation::Kind::SetValue:
            return SetValue(key, op.name, op.type, op.data);
        case Operation::Kind::DeleteValue: {
            const Status s = DeleteValue(key, op.name);
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
    std::string why;
    if (IsStoreFile(file)) {
        if (error) *error = "the file is the profile's own store, which the export would destroy";
        return false;
    }
    std::wstring regText;
    if (!text::ExportText(path, &regText, error)) return false;
    if (files::WriteWhole(file, text::EncodeFile(regText), &why)) return true;
    if (error) *error = why;
    return false;
}

bool ImportRegFile(const std::string& file, std::string* error) {
    std::string bytes;
    std::string why;
    if (!files::ReadBounded(file, kMaxRegFileBytes, &bytes, &why)) {
        if (error) *error = why;
        return false;
    }
    std::wstring regText;
    if (!text::DecodeFile(bytes, &regText, error)) return false;
    return ImportRegText(regText, error);
}

}  // namespace plat::reg
