# Writes OUTPUT, a C++ source whose pfsim::DefaultModelText() answers the bytes of INPUT.
file(READ "${INPUT}" hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x..,){16})" "\\1\n    " bytes "${bytes}")
get_filename_component(name "${INPUT}" NAME)
file(WRITE "${OUTPUT}.tmp"
"// Generated at build time from ${name}; edit that file instead.
#include \"ModelFile.h\"

namespace pfsim {
namespace {
const unsigned char kText[] = {
    ${bytes}0x00};
}  // namespace

std::string_view DefaultModelText() {
    return {reinterpret_cast<const char*>(kText), sizeof kText - 1};
}

}  // namespace pfsim
")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
