// libFuzzer target: arbitrary .reg file bytes (UTF-16, UTF-8, or REGEDIT4 text in the code page)
// with values of every type, hex lists over several lines and escaped line ends, imported into a
// small tree. Bytes that do not decode, and a refused file, change nothing and say
// which line; an accepted one leaves a tree whose export imports again, into an empty tree, to the
// same text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "RegText.h"
#include "platform/Registry.h"

namespace reg = plat::reg;

namespace {

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

// Something for a file to change and delete.
constexpr std::wstring_view kStart =
    L"Windows Registry Editor Version 5.00\r\n\r\n"
    L"[HKEY_CURRENT_USER\\Software\\Talverd\\Keltaro5\\Setups\\Default\\Ambrel Control]\r\n"
    L"\"Port\"=dword:00000001\r\n"
    L"[HKEY_CURRENT_USER\\Software\\Talverd\\Keltaro5\\Variables\\Gain]\r\n"
    L"\"Type\"=\"CVarUINT\"\r\n\"Value\"=dword:0000002a\r\n"
    L"\"Raw\"=hex(b):01,02,03,04,05,06,07,08\r\n";

// Empties the tree: cheaper than a new store for every input.
void Empty() {
    reg::KeyGuard root;
    Check(reg::OpenKey(L"", root.out()) == reg::kSuccess);
    Check(reg::DeleteTree(root.get(), L"") == reg::kSuccess);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::wstring text;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::string decodeError;
    if (!reg::text::DecodeFile(bytes, &text, &decodeError)) {
        // Bytes that do not decode are named by their line; only UTF-16 has no lines to name.
        Check(decodeError.rfind("line ", 0) == 0 || decodeError.rfind("a UTF-16 file", 0) == 0);
        return 0;
    }

    Empty();
    Check(reg::ImportRegText(kStart));
    const std::wstring before = reg::ExportRegText();
    std::string error;
    if (!reg::ImportRegText(text, &error)) {
        Check(error.rfind("line ", 0) == 0);
        Check(reg::ExportRegText() == before);
        return 0;
    }
    // Imported key names hold no line end, so every tree an import makes can be written.
    const std::wstring after = reg::ExportRegText({}, &error);
    Check(!after.empty());
    Empty();
    Check(reg::ImportRegText(after, &error));
    Check(reg::ExportRegText() == after);
    return 0;
}
