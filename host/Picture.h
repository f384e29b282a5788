// A picture of a window, and writing it as a PNG file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace host {

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;  // 8-bit red, green, blue per pixel, rows top to bottom

    // A picture of one colour.
    static Picture Blank(int width, int height, std::uint8_t grey);
};

// The picture as PNG bytes: 8-bit RGB, not interlaced, deflate with stored blocks only (it is
// written once and read by people, so size matters less than having no compressor to trust).
std::string EncodePng(const Picture& picture);
// Writes the PNG to `file` (UTF-8); false, with the reason, when it cannot be written.
bool WritePng(const Picture& picture, const std::string& file, std::string* error);

}  // namespace host
