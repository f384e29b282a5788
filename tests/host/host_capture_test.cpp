// Pictures of the host's main window: the PNG form read back by a reader of the format's own
// rules, and the capture action end to end.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "HostRun.h"
#include "Picture.h"

namespace host_test {
namespace {

struct Chunk {
    std::string type;
    std::string data;
};

std::uint32_t BigEndian(const std::string& bytes, size_t at) {
    std::uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i) value = (value << 8) | static_cast<std::uint8_t>(bytes[at + i]);
    return value;
}

// CRC-32 bit by bit, as the format defines it.
std::uint32_t Crc(const std::string& bytes) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (const char c : bytes) {
        crc ^= static_cast<std::uint8_t>(c);
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ ((crc & 1) ? 0xEDB88320u : 0);
    }
    return ~crc;
}

// The chunks after the signature, each checked against its CRC.
::testing::AssertionResult ReadChunks(const std::string& png, std::vector<Chunk>* chunks) {
    if (png.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0)
        return ::testing::AssertionFailure() << "no PNG signature";
    for (size_t at = 8; at < png.size();) {
        if (at + 12 > png.size()) return ::testing::AssertionFailure() << "cut chunk at " << at;
        const std::uint32_t length = BigEndian(png, at);
        if (at + 12 + length > png.size())
            return ::testing::AssertionFailure() << "chunk longer than the file at " << at;
        Chunk chunk{png.substr(at + 4, 4), png.substr(at + 8, length)};
        if (Crc(chunk.type + chunk.data) != BigEndian(png, at + 8 + length))
            return ::testing::AssertionFailure() << "bad CRC in " << chunk.type;
        chunks->push_back(std::move(chunk));
        at += 12 + length;
    }
    return ::testing::AssertionSuccess();
}

// The data of a zlib stream made of stored deflate blocks, checked against its Adler-32.
::testing::AssertionResult Inflate(const std::string& z, std::string* raw) {
    if (z.size() < 6 || (static_cast<std::uint8_t>(z[0]) & 0x0F) != 8 ||
        ((static_cast<std::uint8_t>(z[0]) << 8) | static_cast<std::uint8_t>(z[1])) % 31 != 0)
        return ::testing::AssertionFailure() << "bad zlib header";
    size_t at = 2;
    for (bool last = false; !last;) {
        if (at + 5 > z.size()) return ::testing::AssertionFailure() << "cut block at " << at;
        const auto header = static_cast<std::uint8_t>(z[at]);
        last = header & 1;
        if ((header >> 1) != 0) return ::testing::AssertionFailure() << "not a stored block";
        const unsigned length =
            static_cast<std::uint8_t>(z[at + 1]) | (static_cast<std::uint8_t>(z[at + 2]) << 8);
        const unsigned complement =
            static_cast<std::uint8_t>(z[at + 3]) | (static_cast<std::uint8_t>(z[at + 4]) << 8);
        if ((length ^ 0xFFFFu) != complement)
            return ::testing::AssertionFailure() << "LEN and NLEN disagree at " << at;
        raw->append(z, at + 5, length);
        at += 5 + length;
    }
    std::uint32_t a = 1, b = 0;
    for (const char c : *raw) {
        a = (a + static_cast<std::uint8_t>(c)) % 65521;
        b = (b + a) % 65521;
    }
    if (at + 4 != z.size() || BigEndian(z, at) != ((b << 16) | a))
        return ::testing::AssertionFailure() << "bad Adler-32 or data after it";
    return ::testing::AssertionSuccess();
}

struct Decoded {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::string raw;  // the rows with their filter bytes
};

::testing::AssertionResult Decode(const std::string& png, Decoded* decoded) {
    std::vector<Chunk> chunks;
    if (auto r = ReadChunks(png, &chunks); !r) return r;
    if (chunks.size() < 3 || chunks.front().type != "IHDR" || chunks.back().type != "IEND")
        return ::testing::AssertionFailure() << "IHDR must come first and IEND last";
    const std::string& header = chunks.front().data;
    if (header.size() != 13 || header.substr(8) != std::string("\x08\x02\x00\x00\x00", 5))
        return ::testing::AssertionFailure() << "not 8-bit RGB without interlace";
    decoded->width = BigEndian(header, 0);
    decoded->height = BigEndian(header, 4);
    std::string z;
    for (const Chunk& c : chunks)
        if (c.type == "IDAT") z += c.data;
    return Inflate(z, &decoded->raw);
}

std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

TEST(Png, EveryRowComesBackWhole) {
    // Big enough for several stored blocks, with a block boundary inside a row.
    host::Picture picture = host::Picture::Blank(301, 170, 0);
    for (size_t i = 0; i < picture.rgb.size(); ++i)
        picture.rgb[i] = static_cast<std::uint8_t>(i * 7 + i / 903);
    Decoded decoded;
    ASSERT_TRUE(Decode(host::EncodePng(picture), &decoded));
    EXPECT_EQ(decoded.width, 301u);
    EXPECT_EQ(decoded.height, 170u);
    std::string expected;
    for (int y = 0; y < 170; ++y) {
        expected.push_back('\0');  // filter type None
        expected.append(reinterpret_cast<const char*>(picture.rgb.data()) + y * 903, 903);
    }
    EXPECT_EQ(decoded.raw, expected);
}

TEST(Png, TinyPictureIsOneFinalBlock) {
    host::Picture picture = host::Picture::Blank(1, 1, 0x80);
    const std::string png = host::EncodePng(picture);
    Decoded decoded;
    ASSERT_TRUE(Decode(png, &decoded));
    EXPECT_EQ(decoded.raw, std::string("\0\x80\x80\x80", 4));
    // The end chunk's CRC is a constant of the format.
    EXPECT_EQ(png.substr(png.size() - 12), std::string("\0\0\0\0IEND\xae\x42\x60\x82", 12));
}

using CaptureTest = HostTest;

TEST_F(CaptureTest, WritesTheMainWindowOncePerLineAsShown) {
    const HostRun run =
        Run("select settings.16315 1\ncapture settings.png\ntab Exposure\n"
            "capture \"exposure view.png\"\ndump\n");
    ASSERT_EQ(run.status, 0) << run.err;
    // Nothing is printed for a picture, and the dialog is as it was.
    EXPECT_EQ(run.Count("dump"), 1);
    EXPECT_EQ(run.LastDump()["tabs"]["selected"], "Exposure");

    Decoded settings, exposure;
    ASSERT_TRUE(Decode(ReadAll(Dir() / "settings.png"), &settings));
    ASSERT_TRUE(Decode(ReadAll(Dir() / "exposure view.png"), &exposure));
    EXPECT_GT(settings.width, 100u);
    EXPECT_GT(settings.height, 100u);
    EXPECT_EQ(exposure.width, settings.width);
    EXPECT_EQ(exposure.height, settings.height);
#if !defined(_WIN32)
    // The headless dialog framework draws nothing: white.
    EXPECT_EQ(settings.raw.find_first_not_of(std::string("\0\xff", 2)), std::string::npos);
#endif
}

}  // namespace
}  // namespace host_test
