// PNG writing: the signature, then IHDR, IDAT and IEND chunks, each with its CRC.
#include "Picture.h"

#include <array>
#include <filesystem>
#include <fstream>

namespace host {

namespace {

constexpr std::size_t kMaxStoredBlock = 65535;

std::uint32_t Crc32(const std::string& bytes, std::size_t from) {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    std::uint32_t c = 0xFFFFFFFFu;
    for (std::size_t i = from; i < bytes.size(); ++i)
        c = table[(c ^ static_cast<std::uint8_t>(bytes[i])) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

void PutBigEndian(std::string& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<char>(value >> shift));
}

void PutChunk(std::string& out, const char* type, const std::string& data) {
    PutBigEndian(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t typeAt = out.size();
    out.append(type, 4);
    out.append(data);
    PutBigEndian(out, Crc32(out, typeAt));
}

// The zlib stream of `raw` in stored deflate blocks.
std::string Deflate(const std::string& raw) {
    std::string z;
    z.push_back(0x78);  // deflate, 32 KiB window
    z.push_back(0x01);  // no dictionary, fastest; (0x78 << 8 | 0x01) is a multiple of 31
    std::size_t at = 0;
    do {
        const std::size_t length = std::min(kMaxStoredBlock, raw.size() - at);
        const bool last = at + length == raw.size();
        z.push_back(last ? 1 : 0);
        z.push_back(static_cast<char>(length & 0xFF));
        z.push_back(static_cast<char>(length >> 8));
        z.push_back(static_cast<char>(~length & 0xFF));
        z.push_back(static_cast<char>((~length >> 8) & 0xFF));
        z.append(raw, at, length);
        at += length;
    } while (at < raw.size());
    std::uint32_t a = 1, b = 0;  // Adler-32 of the uncompressed data
    for (const char c : raw) {
        a = (a + static_cast<std::uint8_t>(c)) % 65521;
        b = (b + a) % 65521;
    }
    PutBigEndian(z, (b << 16) | a);
    return z;
}

}  // namespace

Picture Picture::Blank(int width, int height, std::uint8_t grey) {
    Picture picture;
    picture.width = width > 0 ? width : 0;
    picture.height = height > 0 ? height : 0;
    picture.rgb.assign(static_cast<std::size_t>(picture.width) * picture.height * 3, grey);
    return picture;
}

std::string EncodePng(const Picture& picture) {
    std::string png("\x89PNG\r\n\x1a\n", 8);
    std::string header;
    PutBigEndian(header, static_cast<std::uint32_t>(picture.width));
    PutBigEndian(header, static_cast<std::uint32_t>(picture.height));
    header +=
        std::string("\x08\x02\x00\x00\x00", 5);  // 8 bits, RGB, deflate, no filter, no interlace
    PutChunk(png, "IHDR", header);

    // Each row starts with its filter type, 0: the bytes as they are.
    const std::size_t stride = static_cast<std::size_t>(picture.width) * 3;
    std::string raw;
    raw.reserve((stride + 1) * picture.height);
    for (int y = 0; y < picture.height; ++y) {
        raw.push_back('\0');
        raw.append(reinterpret_cast<const char*>(picture.rgb.data()) + y * stride, stride);
    }
    PutChunk(png, "IDAT", Deflate(raw));
    PutChunk(png, "IEND", {});
    return png;
}

bool WritePng(const Picture& picture, const std::string& file, std::string* error) {
    const std::filesystem::path path(std::u8string(file.begin(), file.end()));
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    const std::string png = EncodePng(picture);
    out.write(png.data(), static_cast<std::streamsize>(png.size()));
    out.close();
    if (!out) {
        *error = "cannot write the picture " + file;
        return false;
    }
    return true;
}

}  // namespace host
