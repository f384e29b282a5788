// Windows' own registry tools as the judge of the profile's .reg files: a tree made with `reg add`
// and exported by `regedit /e` comes back from an import into the profile and its export, through
// `regedit /s`, byte for byte; the profile's own export survives the same trip the other way; and
// a file with one bad line changes nothing.
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "HostRun.h"
#include "WindowsCommandLine.h"
#include "platform/Registry.h"

namespace host_test {
namespace {

namespace reg = plat::reg;

constexpr std::wstring_view kRoot = L"HKEY_CURRENT_USER\\";

std::string Bytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Runs a program of the system (found on its search path) to its end: its exit code, or -1.
int RunTool(const std::vector<std::wstring>& args) {
    std::wstring line;
    for (const auto& arg : args)
        line += (line.empty() ? L"" : L" ") + testsupport::QuoteArgument(arg);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info))
        return -1;
    CloseHandle(info.hThread);
    DWORD code = 0;
    const bool ended = WaitForSingleObject(info.hProcess, 120000) == WAIT_OBJECT_0 &&
                       GetExitCodeProcess(info.hProcess, &code);
    CloseHandle(info.hProcess);
    return ended ? static_cast<int>(code) : -1;
}

class RegeditTest : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        m_key = L"Software\\AmbrelRegedit-" + std::to_wstring(GetCurrentProcessId());
        RegDeleteTreeW(HKEY_CURRENT_USER, m_key.c_str());
    }
    void TearDown() override {
        RegDeleteTreeW(HKEY_CURRENT_USER, m_key.c_str());
        ForgetStore(Second());
        HostTest::TearDown();
    }

    std::string Second() const { return (Dir() / "second.db").string(); }
    std::filesystem::path File(const char* name) const { return Dir() / name; }

public:
    void RegAdd(const std::wstring& subkey, const std::wstring& name, const wchar_t* type,
                const std::wstring& data) {
        std::vector<std::wstring> args = {L"reg", L"add", std::wstring(kRoot) + m_key + subkey};
        if (name.empty())
            args.push_back(L"/ve");
        else
            args.insert(args.end(), {L"/v", name});
        args.insert(args.end(), {L"/t", type});
        if (!data.empty()) args.insert(args.end(), {L"/d", data});
        args.push_back(L"/f");
        ASSERT_EQ(RunTool(args), 0) << name;
    }

protected:
    // The key's tree as `regedit /e` writes it.
    std::string RegeditExport(const char* name) {
        const auto file = File(name);
        EXPECT_EQ(RunTool({L"regedit", L"/e", file.wstring(), std::wstring(kRoot) + m_key}), 0);
        return Bytes(file);
    }

    void RegeditImport(const std::filesystem::path& file) {
        EXPECT_EQ(RunTool({L"regedit", L"/s", file.wstring()}), 0);
    }

    // The whole profile at `store` as `ambrel-host --export-profile` writes it.
    std::string HostExport(const std::string& store, const char* name) {
        const HostRun run = RunRaw({"--profile", store, "--export-profile", File(name).string()});
        EXPECT_EQ(run.status, 0) << run.err;
        return Bytes(File(name));
    }

    HostRun HostImport(const std::string& store, const std::filesystem::path& file) {
        return RunRaw({"--profile", store, "--import-profile", file.string()});
    }

    std::wstring m_key;
};

// The values of every type `reg add` makes, with names and texts that need escaping or are not
// ASCII, a default value, a list long enough to wrap, and key names holding brackets.
void RegAddAwkwardTree(RegeditTest& test) {
    struct Row {
        const wchar_t* subkey;
        const wchar_t* name;
        const wchar_t* type;
        std::wstring data;
    };
    const Row rows[] = {
        {L"", L"", L"REG_SZ", L"default"},
        {L"", L"quote \" back\\slash", L"REG_SZ", L"C:\\new \"dir\"\\"},
        {L"", L"line\nend", L"REG_SZ", L"two\r\nlines"},
        {L"", L"caf\u00e9 \u65e5", L"REG_SZ", L"\u00e9t\u00e9 \u65e5\u672c \U0001F600"},
        {L"", L"expand", L"REG_EXPAND_SZ", L"%SystemRoot%\\x"},
        {L"", L"multi", L"REG_MULTI_SZ", L"one\\0two\\0\u00e9"},
        {L"", L"binary", L"REG_BINARY",
         L"000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f2021222324252627"},
        {L"", L"empty binary", L"REG_BINARY", L""},
        {L"", L"dword", L"REG_DWORD", L"4294967295"},
        {L"", L"big endian", L"REG_DWORD_BIG_ENDIAN", L"42"},
        {L"", L"qword", L"REG_QWORD", L"0x123456789abcdef0"},
        {L"", L"none", L"REG_NONE", L"abc"},
        {L"\\[brackets] a;b ]c", L"x", L"REG_SZ", L"]"},
        {L"\\Sub\\Deeper", L"@", L"REG_DWORD", L"0"},
    };
    for (const Row& row : rows) test.RegAdd(row.subkey, row.name, row.type, row.data);
}

std::vector<uint8_t> Utf16(std::wstring_view text) {
    std::vector<uint8_t> out;
    for (const wchar_t c : text) out.insert(out.end(), {uint8_t(c & 0xFF), uint8_t(c >> 8)});
    return out;
}

TEST_F(RegeditTest, RegeditExportComesBackByteForByteThroughTheProfile) {
    RegAddAwkwardTree(*this);
    // `reg add` makes no type of a number of its own; the registry call does.
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, m_key.c_str(), 0, KEY_SET_VALUE, &key), 0);
    const BYTE odd[] = {1, 2, 3};
    EXPECT_EQ(RegSetValueExW(key, L"numbered", 0, 0x1234abcd, odd, sizeof odd), 0);
    RegCloseKey(key);

    const std::string first = RegeditExport("first.reg");
    ASSERT_GT(first.size(), 200u);
    const HostRun imported = HostImport(Profile(), File("first.reg"));
    ASSERT_EQ(imported.status, 0) << imported.err;
    HostExport(Profile(), "profile.reg");
    ASSERT_EQ(RegDeleteTreeW(HKEY_CURRENT_USER, m_key.c_str()), 0);
    RegeditImport(File("profile.reg"));
    EXPECT_EQ(RegeditExport("again.reg"), first);
}

TEST_F(RegeditTest, ProfileExportComesBackByteForByteThroughRegedit) {
    using T = reg::ValueType;
    struct Row {
        const wchar_t* subkey;
        const wchar_t* name;
        T type;
        std::vector<uint8_t> data;
    };
    const Row rows[] = {
        {L"", L"", T::String, Utf16({L"default\0", 8})},
        {L"", L"quote \" back\\slash", T::String, Utf16({L"C:\\new \"dir\"\\\0", 14})},
        {L"", L"line\r\nend", T::String, Utf16({L"two\nlines\r\0", 11})},
        {L"", L"caf\u00e9", T::String, Utf16({L"\u65e5 \U0001F600\0", 5})},
        {L"", L"expand", T::ExpandString, Utf16({L"%TEMP%\0", 7})},
        {L"", L"multi", T::MultiString, Utf16({L"a\0\u00e9\0\0", 5})},
        {L"", L"binary", T::Binary, std::vector<uint8_t>(100, 0xa5)},
        {L"", L"empty", T::Binary, {}},
        {L"", L"dword", T::Dword, {0xff, 0xff, 0xff, 0xff}},
        {L"", L"big endian", T::DwordBigEndian, {0, 0, 0, 42}},
        {L"", L"qword", T::Qword, {1, 2, 3, 4, 5, 6, 7, 8}},
        {L"", L"none", T::None, {0}},
        {L"", L"numbered", static_cast<T>(0xfedc), {9, 8, 7}},
        {L"\\[x]y; z\\]", L"@", T::String, Utf16({L"]\0", 2})},
    };
    ASSERT_TRUE(reg::OpenStore(Profile()));
    for (const Row& row : rows) {
        reg::KeyGuard key;
        ASSERT_EQ(reg::CreateKey(m_key + row.subkey, key.out()), reg::kSuccess);
        ASSERT_EQ(reg::SetValue(key.get(), row.name, row.type, row.data), reg::kSuccess);
    }
    reg::UseMemoryStore();

    const std::string first = HostExport(Profile(), "first.reg");
    RegeditImport(File("first.reg"));
    RegeditExport("regedit.reg");
    const HostRun imported = HostImport(Second(), File("regedit.reg"));
    ASSERT_EQ(imported.status, 0) << imported.err;
    EXPECT_EQ(HostExport(Second(), "again.reg"), first);
}

TEST_F(RegeditTest, AFileWithOneBadLineChangesNothing) {
    RegAddAwkwardTree(*this);
    RegeditExport("first.reg");
    ASSERT_EQ(HostImport(Profile(), File("first.reg")).status, 0);
    const std::string before = HostExport(Profile(), "before.reg");
    // Valid changes, then one line that is not: UTF-16LE, as the rest of the file.
    const std::string tail = "\r\n[HKEY_CURRENT_USER\\New]\r\n\"x\"=dword:1\r\n\"y\"=hex:zz\r\n";
    std::string bad = Bytes(File("first.reg"));
    size_t badLine = 4;
    for (size_t i = 0; i + 1 < bad.size(); i += 2) badLine += bad[i] == '\n' && bad[i + 1] == 0;
    for (const char c : tail) bad.append({c, '\0'});
    std::ofstream(File("bad.reg"), std::ios::binary) << bad;
    const HostRun refused = HostImport(Profile(), File("bad.reg"));
    EXPECT_NE(refused.status, 0);
    EXPECT_NE(refused.err.find("line " + std::to_string(badLine) + ":"), std::string::npos)
        << refused.err;
    EXPECT_EQ(HostExport(Profile(), "after.reg"), before);
}

}  // namespace
}  // namespace host_test
