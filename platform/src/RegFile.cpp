// The registry tree's .reg files: the text form written to and read from a file.
#include <fstream>
#include <iterator>

#include "RegText.h"
#include "platform/Registry.h"

namespace plat::reg {

bool ExportRegFile(const std::string& file, std::wstring_view path) {
    std::wstring regText;
    if (!text::ExportText(path, &regText)) return false;
    const std::string bytes = text::EncodeFile(regText);
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return static_cast<bool>(out);
}

bool ImportRegFile(const std::string& file, std::string* error) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        if (error) *error = file + ": cannot be read";
        return false;
    }
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::wstring regText;
    if (!text::DecodeFile(bytes, &regText, error)) return false;
    return ImportRegText(regText, error);
}

}  // namespace plat::reg
