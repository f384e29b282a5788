// Tests of the registry tree's semantics and its text form, on the in-memory store.
#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#if defined(_WIN32)
#include <windows.h>
#else
#include <sys/resource.h>

#include <csignal>
#endif

#include "child_process.h"
#include "platform/Registry.h"

namespace reg = plat::reg;

namespace {

bool UnderWine() {
#if defined(_WIN32)
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
#else
    return false;
#endif
}

[[maybe_unused]] std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class Registry : public ::testing::Test {
protected:
    void SetUp() override { reg::UseMemoryStore(); }

    static std::wstring Enum(reg::HKey key, uint32_t index) {
        wchar_t name[reg::kMaxKeyNameChars + 1];
        uint32_t chars = reg::kMaxKeyNameChars + 1;
        const reg::Status s = reg::EnumKey(key, index, name, &chars);
        return s == reg::kSuccess ? std::wstring(name, chars) : L"#" + std::to_wstring(s);
    }

    static std::vector<std::wstring> Subkeys(std::wstring_view path) {
        reg::KeyGuard key;
        std::vector<std::wstring> names;
        if (reg::OpenKey(path, key.out()) != reg::kSuccess) return {L"#missing"};
        for (uint32_t i = 0;; ++i) {
            std::wstring name = Enum(key.get(), i);
            if (name == L"#" + std::to_wstring(reg::kNoMoreItems)) return names;
            names.push_back(name);
        }
    }

    static bool Exists(std::wstring_view path) {
        reg::KeyGuard key;
        return reg::OpenKey(path, key.out()) == reg::kSuccess;
    }
};

TEST_F(Registry, CreateMakesParentsAndNamesIgnoreCase) {
    reg::KeyGuard key;
    ASSERT_EQ(reg::CreateKey(L"Software\\Talverd\\Keltaro5", key.out()), reg::kSuccess);
    EXPECT_TRUE(Exists(L"Software"));
    EXPECT_TRUE(Exists(L"SOFTWARE\\talverd"));
    EXPECT_TRUE(Exists(L"software\\TALVERD\\keltaro5\\"));  // one trailing backslash is fine
    reg::KeyGuard again;
    ASSERT_EQ(reg::CreateKey(L"SOFTWARE\\TALVERD", again.out()), reg::kSuccess);
    EXPECT_EQ(Subkeys(L"Software"), std::vector<std::wstring>{L"Talverd"});  // case kept
    EXPECT_EQ(Subkeys(L""), std::vector<std::wstring>{L"Software"});
    reg::KeyGuard missing;
    EXPECT_EQ(reg::OpenKey(L"Software\\Other", missing.out()), reg::kFileNotFound);
    EXPECT_EQ(missing.get(), nullptr);
}

TEST_F(Registry, MalformedPathsAreRefused) {
    reg::HKey key = nullptr;
    EXPECT_EQ(reg::CreateKey(L"\\Software", &key), reg::kInvalidParameter);
    EXPECT_EQ(reg::CreateKey(L"Software\\\\Talverd", &key), reg::kInvalidParameter);
    EXPECT_EQ(reg::CreateKey(L"a\\" + std::wstring(256, L'x'), &key), reg::kInvalidParameter);
    EXPECT_EQ(reg::CreateKey(std::wstring(L"a\0b", 3), &key), reg::kInvalidParameter);
    EXPECT_EQ(reg::CreateKey(L"Software", nullptr), reg::kInvalidParameter);
    EXPECT_EQ(key, nullptr);
    EXPECT_FALSE(Exists(L"a"));  // nothing of a refused path was created
    reg::KeyGuard longest;
    EXPECT_EQ(reg::CreateKey(std::wstring(255, L'y'), longest.out()), reg::kSuccess);
}

TEST_F(Registry, EnumerationIsInCaseInsensitiveOrder) {
    for (const wchar_t* name : {L"b", L"A", L"c", L"_x", L"Z", L"a1"}) {
        reg::KeyGuard k;
        ASSERT_EQ(reg::CreateKey(std::wstring(L"Root\\") + name, k.out()), reg::kSuccess);
    }
    // Letters compare as upper case, so '_' sorts after 'Z', as the platform's registry does.
    std::vector<std::wstring> expected{L"A", L"a1", L"b", L"c", L"Z", L"_x"};
    // Wine's registry, which the tests run on there, compares in lower case: '_' comes first.
    if (UnderWine()) std::rotate(expected.begin(), expected.end() - 1, expected.end());
    EXPECT_EQ(Subkeys(L"Root"), expected);
    reg::KeyGuard root;
    ASSERT_EQ(reg::OpenKey(L"Root", root.out()), reg::kSuccess);
    EXPECT_EQ(Enum(root.get(), 6), L"#259");
    EXPECT_EQ(Enum(root.get(), 4000000000u), L"#259");
}

TEST_F(Registry, SubkeysAndValuesListInNameOrderInOneCall) {
    reg::KeyGuard parent, child;
    for (const wchar_t* name : {L"b", L"A", L"c"}) {
        reg::KeyGuard k;
        ASSERT_EQ(reg::CreateKey(std::wstring(L"P\\") + name, k.out()), reg::kSuccess);
    }
    ASSERT_EQ(reg::OpenKey(L"P", parent.out()), reg::kSuccess);
    ASSERT_EQ(reg::SetStringValue(parent.get(), L"zeta", L"z"), reg::kSuccess);
    ASSERT_EQ(reg::SetDwordValue(parent.get(), L"Alpha", 0xFFFFFFFFu), reg::kSuccess);
    ASSERT_EQ(reg::SetStringValue(parent.get(), L"", L"default"), reg::kSuccess);
    std::vector<std::wstring> names{L"stale"};
    ASSERT_EQ(reg::EnumSubkeys(parent.get(), &names), reg::kSuccess);
    EXPECT_EQ(names, (std::vector<std::wstring>{L"A", L"b", L"c"}));
    std::vector<reg::Value> values;
    ASSERT_EQ(reg::EnumValues(parent.get(), &values), reg::kSuccess);
    ASSERT_EQ(values.size(), 3u);
    EXPECT_EQ(values[0].name, L"");
    EXPECT_EQ(values[0].text, L"default");
    EXPECT_EQ(values[1].name, L"Alpha");
    EXPECT_EQ(values[1].type, reg::ValueType::Dword);
    EXPECT_EQ(values[1].dword, 0xFFFFFFFFu);
    EXPECT_EQ(values[2].type, reg::ValueType::String);
    ASSERT_EQ(reg::OpenSubkey(parent.get(), L"B", child.out()), reg::kSuccess);
    ASSERT_EQ(reg::EnumSubkeys(child.get(), &names), reg::kSuccess);
    EXPECT_TRUE(names.empty());
    reg::KeyGuard missing;
    EXPECT_EQ(reg::OpenSubkey(parent.get(), L"d", missing.out()), reg::kFileNotFound);
    EXPECT_EQ(reg::EnumValues(nullptr, &values), reg::kInvalidHandle);
}

TEST_F(Registry, EnumerationIntoTooSmallBufferWritesNothing) {
    reg::KeyGuard key, child;
    ASSERT_EQ(reg::CreateKey(L"Software\\Talverd", child.out()), reg::kSuccess);
    ASSERT_EQ(reg::OpenKey(L"Software", key.out()), reg::kSuccess);
    wchar_t buf[8] = {L'#', L'#', L'#', L'#', L'#', L'#', L'#', L'#'};
    uint32_t chars = 7;  // "Talverd" needs 8 with its terminator
    EXPECT_EQ(reg::EnumKey(key.get(), 0, buf, &chars), reg::kMoreData);
    EXPECT_EQ(chars, 7u);
    EXPECT_EQ(buf[0], L'#');
    chars = 0;
    EXPECT_EQ(reg::EnumKey(key.get(), 0, buf, &chars), reg::kMoreData);
    chars = 8;
    EXPECT_EQ(reg::EnumKey(key.get(), 0, buf, &chars), reg::kSuccess);
    EXPECT_EQ(chars, 7u);
    EXPECT_STREQ(buf, L"Talverd");
    EXPECT_EQ(reg::EnumKey(key.get(), 0, nullptr, &chars), reg::kInvalidParameter);
    EXPECT_EQ(reg::EnumKey(key.get(), 0, buf, nullptr), reg::kInvalidParameter);
}

TEST_F(Registry, DeleteTreeRemovesEverythingBelow) {
    {
        reg::KeyGuard a, b, sibling;
        ASSERT_EQ(reg::CreateKey(L"T\\Vars\\X\\Deep", a.out()), reg::kSuccess);
        ASSERT_EQ(reg::SetDwordValue(a.get(), L"Value", 1), reg::kSuccess);
        ASSERT_EQ(reg::CreateKey(L"T\\Vars\\Y", b.out()), reg::kSuccess);
        ASSERT_EQ(reg::SetStringValue(b.get(), L"Type", L"CVarUINT"), reg::kSuccess);
        ASSERT_EQ(reg::CreateKey(L"T\\Variables2", sibling.out()), reg::kSuccess);
    }
    reg::KeyGuard t;
    ASSERT_EQ(reg::OpenKey(L"T", t.out()), reg::kSuccess);
    EXPECT_EQ(reg::DeleteTree(t.get(), L"VARS"), reg::kSuccess);
    EXPECT_FALSE(Exists(L"T\\Vars"));
    EXPECT_TRUE(Exists(L"T\\Variables2"));
    EXPECT_EQ(reg::DeleteTree(t.get(), L"Vars"), reg::kFileNotFound);
    // Recreated, the old values do not come back.
    reg::KeyGuard again;
    ASSERT_EQ(reg::CreateKey(L"T\\Vars\\Y", again.out()), reg::kSuccess);
    std::wstring text;
    EXPECT_EQ(reg::GetStringValue(again.get(), L"Type", &text), reg::kFileNotFound);
}

TEST_F(Registry, DeleteTreeWithoutSubkeyEmptiesTheKey) {
    reg::KeyGuard t, c;
    ASSERT_EQ(reg::CreateKey(L"T", t.out()), reg::kSuccess);
    ASSERT_EQ(reg::CreateKey(L"T\\C", c.out()), reg::kSuccess);
    ASSERT_EQ(reg::SetDwordValue(t.get(), L"v", 3), reg::kSuccess);
    EXPECT_EQ(reg::DeleteTree(t.get(), L""), reg::kSuccess);
    EXPECT_TRUE(Exists(L"T"));
    EXPECT_FALSE(Exists(L"T\\C"));
    uint32_t v = 0;
    EXPECT_EQ(reg::GetDwordValue(t.get(), L"v", &v), reg::kFileNotFound);
}

TEST_F(Registry, DeleteKeyRefusesKeysWithSubkeys) {
    reg::KeyGuard t, leaf;
    ASSERT_EQ(reg::CreateKey(L"T\\Sec\\Sub", leaf.out()), reg::kSuccess);
    ASSERT_EQ(reg::OpenKey(L"T", t.out()), reg::kSuccess);
    EXPECT_EQ(reg::DeleteKey(t.get(), L"Sec"), reg::kAccessDenied);
    EXPECT_EQ(reg::DeleteKey(t.get(), L"Sec\\Sub"), reg::kSuccess);
    EXPECT_EQ(reg::DeleteKey(t.get(), L"Sec"), reg::kSuccess);
    EXPECT_EQ(reg::DeleteKey(t.get(), L"Sec"), reg::kFileNotFound);
    reg::KeyGuard root;
    ASSERT_EQ(reg::OpenKey(L"", root.out()), reg::kSuccess);
    EXPECT_EQ(reg::DeleteKey(root.get(), L""), reg::kAccessDenied);
}

TEST_F(Registry, KeyDeletedMeanwhileAnswersKeyDeleted) {
    reg::KeyGuard parent, stale;
    ASSERT_EQ(reg::CreateKey(L"P\\Child", stale.out()), reg::kSuccess);
    ASSERT_EQ(reg::OpenKey(L"P", parent.out()), reg::kSuccess);
    ASSERT_EQ(reg::DeleteTree(parent.get(), L"Child"), reg::kSuccess);
    // Even once a key of the same name exists again, the old handle stays on the deleted one.
    reg::KeyGuard fresh;
    ASSERT_EQ(reg::CreateKey(L"P\\Child", fresh.out()), reg::kSuccess);
    std::wstring text;
    uint32_t dword = 0;
    wchar_t name[16];
    uint32_t chars = 16;
    EXPECT_EQ(reg::SetStringValue(stale.get(), L"a", L"b"), reg::kKeyDeleted);
    EXPECT_EQ(reg::SetDwordValue(stale.get(), L"a", 1), reg::kKeyDeleted);
    EXPECT_EQ(reg::GetStringValue(stale.get(), L"a", &text), reg::kKeyDeleted);
    EXPECT_EQ(reg::GetDwordValue(stale.get(), L"a", &dword), reg::kKeyDeleted);
    EXPECT_EQ(reg::DeleteValue(stale.get(), L"a"), reg::kKeyDeleted);
    EXPECT_EQ(reg::EnumKey(stale.get(), 0, name, &chars), reg::kKeyDeleted);
    EXPECT_EQ(reg::DeleteTree(stale.get(), L""), reg::kKeyDeleted);
    EXPECT_EQ(reg::SetDwordValue(fresh.get(), L"a", 1), reg::kSuccess);
}

TEST_F(Registry, ValuesKeepTheirTypeAndIgnoreNameCase) {
    reg::KeyGuard key;
    ASSERT_EQ(reg::CreateKey(L"Software\\Talverd\\Keltaro5\\Setups\\S\\M", key.out()),
              reg::kSuccess);
    ASSERT_EQ(reg::SetDwordValue(key.get(), L"Port", 4294967295u), reg::kSuccess);
    ASSERT_EQ(reg::SetStringValue(key.get(), L"Type", L"CVarBool"), reg::kSuccess);
    ASSERT_EQ(reg::SetStringValue(key.get(), L"", L"default"), reg::kSuccess);
    uint32_t dword = 0;
    std::wstring text;
    EXPECT_EQ(reg::GetDwordValue(key.get(), L"PORT", &dword), reg::kSuccess);
    EXPECT_EQ(dword, 4294967295u);
    EXPECT_EQ(reg::GetStringValue(key.get(), L"type", &text), reg::kSuccess);
    EXPECT_EQ(text, L"CVarBool");
    EXPECT_EQ(reg::GetStringValue(key.get(), L"", &text), reg::kSuccess);
    EXPECT_EQ(text, L"default");
    // The other type is an invalid parameter, not a missing value.
    EXPECT_EQ(reg::GetStringValue(key.get(), L"Port", &text), reg::kInvalidParameter);
    EXPECT_EQ(reg::GetDwordValue(key.get(), L"Type", &dword), reg::kInvalidParameter);
    EXPECT_EQ(reg::GetDwordValue(key.get(), L"Missing", &dword), reg::kFileNotFound);
    EXPECT_EQ(reg::GetDwordValue(key.get(), L"Port", nullptr), reg::kInvalidParameter);
    // Writing the other type replaces the value.
    ASSERT_EQ(reg::SetStringValue(key.get(), L"port", L"COM3"), reg::kSuccess);
    EXPECT_EQ(reg::GetStringValue(key.get(), L"Port", &text), reg::kSuccess);
    EXPECT_EQ(text, L"COM3");
    EXPECT_EQ(reg::DeleteValue(key.get(), L"PoRt"), reg::kSuccess);
    EXPECT_EQ(reg::DeleteValue(key.get(), L"Port"), reg::kFileNotFound);
    EXPECT_EQ(reg::SetDwordValue(key.get(), std::wstring(16384, L'n'), 1), reg::kInvalidParameter);
}

// Values of every type, as the registry keeps them, and the line the registry editor writes for
// each.
struct TypedSample {
    reg::ValueType type;
    std::vector<uint8_t> data;
    std::wstring line;  // after `"v"=`
};

const std::vector<uint8_t> kSixteen = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};

std::vector<TypedSample> TypedSamples() {
    using T = reg::ValueType;
    return {
        {T::String, {'h', 0, 'i', 0, 0, 0}, L"\"hi\""},
        {T::String, {'h', 0, 'i', 0}, L"hex(1):68,00,69,00"},  // no terminator
        {T::String, {'a', 0, 0, 0, 'b', 0, 0, 0}, L"hex(1):61,00,00,00,62,00,00,00"},
        {T::String, {'x', 0, 0}, L"hex(1):78,00,00"},  // an odd byte
        {T::String, {}, L"hex(1):"},
        {T::ExpandString, {'%', 0, 'P', 0, '%', 0, 0, 0}, L"hex(2):25,00,50,00,25,00,00,00"},
        {T::Binary, {0x00, 0xff, 0x7f}, L"hex:00,ff,7f"},
        {T::Binary, {}, L"hex:"},
        {T::Dword, {0x2a, 0, 0, 0}, L"dword:0000002a"},
        {T::Dword, {1, 2, 3}, L"hex(4):01,02,03"},
        {T::DwordBigEndian, {0, 0, 0, 5}, L"hex(5):00,00,00,05"},
        {T::Link, {'x', 0}, L"hex(6):78,00"},
        {T::MultiString,
         {'a', 0, 0, 0, 'b', 0, 0, 0, 0, 0},
         L"hex(7):61,00,00,00,62,00,00,00,00,00"},
        {T::Qword, {0x89, 0x67, 0x45, 0x23, 1, 0, 0, 0}, L"hex(b):89,67,45,23,01,00,00,00"},
        {T::None, {0xab}, L"hex(0):ab"},
        {static_cast<T>(0x1234abcd), {1, 2}, L"hex(1234abcd):01,02"},
        {static_cast<T>(0xffffffff), {}, L"hex(ffffffff):"},
        // Lists wrap after the byte that takes the line to 77 characters or more.
        {T::Binary, std::vector<uint8_t>(26, 0xee),
         L"hex:ee,ee,ee,ee,ee,ee,ee,ee,ee,ee,ee,ee,ee,ee,ee,ee,ee,ee,ee,ee,ee,ee,ee,\\\r\n"
         L"  ee,ee,ee"},
    };
}

TEST_F(Registry, ValuesOfEveryTypeKeepTheirTypeAndBytes) {
    reg::KeyGuard key;
    ASSERT_EQ(reg::CreateKey(L"K", key.out()), reg::kSuccess);
    for (const auto& sample : TypedSamples()) {
        SCOPED_TRACE(testing::PrintToString(sample.line));
        ASSERT_EQ(reg::SetValue(key.get(), L"v", sample.type, sample.data), reg::kSuccess);
        reg::ValueType type{};
        std::vector<uint8_t> data;
        ASSERT_EQ(reg::GetValue(key.get(), L"V", &type, &data), reg::kSuccess);
        EXPECT_EQ(type, sample.type);
        EXPECT_EQ(data, sample.data);
        std::vector<reg::TypedValue> values;
        ASSERT_EQ(reg::EnumTypedValues(key.get(), &values), reg::kSuccess);
        ASSERT_EQ(values.size(), 1u);
        EXPECT_EQ(values[0].type, sample.type);
        EXPECT_EQ(values[0].data, sample.data);
        // The String and Dword list holds what it can show.
        std::vector<reg::Value> shown;
        ASSERT_EQ(reg::EnumValues(key.get(), &shown), reg::kSuccess);
        const bool showable = sample.type == reg::ValueType::String ||
                              (sample.type == reg::ValueType::Dword && sample.data.size() == 4);
        EXPECT_EQ(shown.size(), showable ? 1u : 0u);
    }
    uint32_t dword = 0;
    std::wstring text;
    ASSERT_EQ(reg::SetValue(key.get(), L"s", reg::ValueType::String, {{'h', 0, 'i', 0}}),
              reg::kSuccess);
    EXPECT_EQ(reg::GetStringValue(key.get(), L"s", &text), reg::kSuccess);
    EXPECT_EQ(text, L"hi");
    ASSERT_EQ(reg::SetValue(key.get(), L"d", reg::ValueType::Dword, {{1, 2, 3}}), reg::kSuccess);
    EXPECT_EQ(reg::GetDwordValue(key.get(), L"d", &dword), reg::kStoreFailure);
    ASSERT_EQ(reg::SetValue(key.get(), L"q", reg::ValueType::Qword, {{1, 0, 0, 0}}), reg::kSuccess);
    EXPECT_EQ(reg::GetDwordValue(key.get(), L"q", &dword), reg::kInvalidParameter);
    EXPECT_EQ(reg::GetStringValue(key.get(), L"q", &text), reg::kInvalidParameter);
    reg::ValueType type{};
    std::vector<uint8_t> data;
    EXPECT_EQ(reg::GetValue(key.get(), L"missing", &type, &data), reg::kFileNotFound);
    EXPECT_EQ(reg::GetValue(key.get(), L"q", nullptr, &data), reg::kInvalidParameter);
    EXPECT_EQ(reg::SetValue(nullptr, L"q", reg::ValueType::Binary, {}), reg::kInvalidHandle);
}

TEST_F(Registry, EachTypeExportsAsTheEditorWritesItAndImportsBack) {
    for (const auto& sample : TypedSamples()) {
        SCOPED_TRACE(testing::PrintToString(sample.line));
        reg::UseMemoryStore();
        {
            reg::KeyGuard key;
            ASSERT_EQ(reg::CreateKey(L"K", key.out()), reg::kSuccess);
            ASSERT_EQ(reg::SetValue(key.get(), L"v", sample.type, sample.data), reg::kSuccess);
        }
        const std::wstring text = reg::ExportRegText(L"K");
        EXPECT_EQ(text,
                  L"Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\K]\r\n"
                  L"\"v\"=" +
                      sample.line + L"\r\n\r\n");
        reg::UseMemoryStore();
        std::string error;
        ASSERT_TRUE(reg::ImportRegText(text, &error)) << error;
        reg::KeyGuard key;
        ASSERT_EQ(reg::OpenKey(L"K", key.out()), reg::kSuccess);
        reg::ValueType type{};
        std::vector<uint8_t> data;
        ASSERT_EQ(reg::GetValue(key.get(), L"v", &type, &data), reg::kSuccess);
        EXPECT_EQ(type, sample.type);
        EXPECT_EQ(data, sample.data);
    }
}

// The registry editor's forms: a long name wraps the list sooner, continuation lines may carry
// any indent, digits either case, a list may hold single digits, and line ends are escaped.
TEST_F(Registry, ImportReadsTheEditorsHexListsAndEscapes) {
    const std::wstring name = L"a very long value name that pushes the hex over";
    const std::wstring exported =
        L"Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\K]\r\n"
        L"\"" +
        name +
        L"\"=hex:00,01,02,03,04,05,06,07,\\\r\n"
        L"  08,09,0a,0b,0c,0d,0e,0f\r\n"
        L"\"line\\nend\"=\"two\\r\\nlines\"\r\n\r\n";
    std::string error;
    ASSERT_TRUE(reg::ImportRegText(exported, &error)) << error;
    EXPECT_EQ(reg::ExportRegText(L"K"), exported);
    ASSERT_TRUE(
        reg::ImportRegText(L"Windows Registry Editor Version 5.00\r\n"
                           L"[HKEY_CURRENT_USER\\K]\r\n"
                           L"\"b\" = HEX:0 , 1,\\  \n\t\tA,bC ; comment\n"
                           L"\"m\"=hex(7):61,00,\\\n 00,00,00,00\n",
                           &error))
        << error;
    reg::KeyGuard key;
    ASSERT_EQ(reg::OpenKey(L"K", key.out()), reg::kSuccess);
    reg::ValueType type{};
    std::vector<uint8_t> data;
    ASSERT_EQ(reg::GetValue(key.get(), L"b", &type, &data), reg::kSuccess);
    EXPECT_EQ(type, reg::ValueType::Binary);
    EXPECT_EQ(data, (std::vector<uint8_t>{0, 1, 0xa, 0xbc}));
    ASSERT_EQ(reg::GetValue(key.get(), L"m", &type, &data), reg::kSuccess);
    EXPECT_EQ(type, reg::ValueType::MultiString);
    EXPECT_EQ(data, (std::vector<uint8_t>{'a', 0, 0, 0, 0, 0}));
    ASSERT_EQ(reg::GetValue(key.get(), name, &type, &data), reg::kSuccess);
    EXPECT_EQ(data, kSixteen);
    std::wstring text;
    ASSERT_EQ(reg::GetStringValue(key.get(), L"line\nend", &text), reg::kSuccess);
    EXPECT_EQ(text, L"two\r\nlines");
}

TEST_F(Registry, TextValuesComeBackExactly) {
    reg::KeyGuard key;
    ASSERT_EQ(reg::CreateKey(L"K", key.out()), reg::kSuccess);
    const std::wstring samples[] = {L"",
                                    L"quote \" and back\\slash",
                                    L"two\r\nlines",
                                    L"caf\u00e9 \u65e5 \U0001F600",
                                    std::wstring(1, static_cast<wchar_t>(0xDC00)),
                                    std::wstring(L"nul\0inside", 10),
                                    std::wstring(100000, L'z')};
    for (const auto& sample : samples) {
        ASSERT_EQ(reg::SetStringValue(key.get(), L"v", sample), reg::kSuccess);
        std::wstring back;
        ASSERT_EQ(reg::GetStringValue(key.get(), L"v", &back), reg::kSuccess);
        EXPECT_EQ(back, sample);
    }
}

TEST_F(Registry, HandlesAreCheckedBeforeUse) {
    reg::HKey key = nullptr;
    ASSERT_EQ(reg::CreateKey(L"K", &key), reg::kSuccess);
    EXPECT_EQ(reg::CloseKey(key), reg::kSuccess);
    EXPECT_EQ(reg::CloseKey(key), reg::kInvalidHandle);
    EXPECT_EQ(reg::CloseKey(nullptr), reg::kInvalidHandle);
    uint32_t v = 0;
    EXPECT_EQ(reg::GetDwordValue(nullptr, L"v", &v), reg::kInvalidHandle);

    // A key of a replaced store is invalid, but can still be closed.
    reg::HKey old = nullptr;
    ASSERT_EQ(reg::CreateKey(L"K", &old), reg::kSuccess);
    reg::UseMemoryStore();
    EXPECT_EQ(reg::SetDwordValue(old, L"v", 1), reg::kInvalidHandle);
    EXPECT_EQ(reg::CloseKey(old), reg::kSuccess);
    EXPECT_FALSE(Exists(L"K"));  // a fresh memory store is empty
    EXPECT_EQ(reg::StorePath(), "");
}

TEST_F(Registry, KeysAreSafeToUseFromManyThreads) {
    reg::KeyGuard shared;
    ASSERT_EQ(reg::CreateKey(L"Shared", shared.out()), reg::kSuccess);
    std::vector<std::thread> threads;
    std::atomic<int> failures{0};
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            reg::KeyGuard own;
            if (reg::CreateKey(L"Shared\\T" + std::to_wstring(t), own.out()) != reg::kSuccess)
                ++failures;
            for (uint32_t i = 0; i < 100; ++i) {
                const std::wstring name = std::to_wstring(t) + L"-" + std::to_wstring(i);
                uint32_t back = 0;
                if (reg::SetDwordValue(shared.get(), name, i) != reg::kSuccess ||
                    reg::GetDwordValue(shared.get(), name, &back) != reg::kSuccess || back != i ||
                    reg::SetStringValue(own.get(), name, name) != reg::kSuccess)
                    ++failures;
            }
        });
    }
    for (auto& th : threads) th.join();
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(Subkeys(L"Shared").size(), 4u);
}

// The text form.

constexpr const wchar_t* kSample =
    L"Windows Registry Editor Version 5.00\r\n"
    L"\r\n"
    L"[HKEY_CURRENT_USER\\Software\\Talverd]\r\n"
    L"\r\n"
    L"[HKEY_CURRENT_USER\\Software\\Talverd\\Keltaro5]\r\n"
    L"@=\"root default\"\r\n"
    L"\"Path\"=\"C:\\\\Data\\\\\\\"x\\\"\"\r\n"
    L"\"Port\"=dword:0000002a\r\n"
    L"\r\n"
    L"[HKEY_CURRENT_USER\\Software\\Talverd\\Keltaro5\\Variables]\r\n"
    L"\r\n"
    L"[HKEY_CURRENT_USER\\Software\\Talverd\\Keltaro5\\Variables\\Gain]\r\n"
    L"\"Description\"=\"caf\u00e9\"\r\n"
    L"\"Type\"=\"CVarUINT\"\r\n"
    L"\"Value\"=dword:ffffffff\r\n"
    L"\r\n";

TEST_F(Registry, ExportWritesEditorText) {
    ASSERT_TRUE(reg::ImportRegText(kSample));
    EXPECT_EQ(reg::ExportRegText(L"Software\\Talverd"), kSample);
    reg::KeyGuard key;
    ASSERT_EQ(reg::OpenKey(L"Software\\Talverd\\Keltaro5", key.out()), reg::kSuccess);
    std::wstring text;
    ASSERT_EQ(reg::GetStringValue(key.get(), L"Path", &text), reg::kSuccess);
    EXPECT_EQ(text, L"C:\\Data\\\"x\"");
    EXPECT_EQ(reg::ExportRegText(L"software\\none"),
              L"Windows Registry Editor Version 5.00\r\n\r\n");
}

TEST_F(Registry, ExportWipeImportGivesTheSameText) {
    {
        reg::KeyGuard a, b, c;
        ASSERT_EQ(
            reg::CreateKey(L"Software\\Talverd\\Keltaro5\\Setups\\Main\\Scripts\\Cam\\Go", a.out()),
            reg::kSuccess);
        ASSERT_EQ(reg::SetDwordValue(a.get(), L"LineCount", 2), reg::kSuccess);
        ASSERT_EQ(reg::SetStringValue(a.get(), L"0", L"Cam:Start,\"q\"\\"), reg::kSuccess);
        ASSERT_EQ(reg::SetStringValue(a.get(), L"1", L"*Cam:Stop\r\nnext"), reg::kSuccess);
        ASSERT_EQ(reg::CreateKey(L"Software\\Talverd\\Keltaro5\\Variables\\b", b.out()),
                  reg::kSuccess);
        ASSERT_EQ(reg::SetStringValue(b.get(), L"", L""), reg::kSuccess);
        ASSERT_EQ(reg::SetStringValue(b.get(), L"we\"ird\\name", L"\u65e5\U0001F600"),
                  reg::kSuccess);
        ASSERT_EQ(reg::CreateKey(L"Software\\Talverd\\Keltaro5\\Variables\\A", c.out()),
                  reg::kSuccess);
        ASSERT_EQ(reg::SetDwordValue(c.get(), L"Value", 0), reg::kSuccess);
    }
    const std::wstring first = reg::ExportRegText();
    reg::KeyGuard root;
    ASSERT_EQ(reg::OpenKey(L"", root.out()), reg::kSuccess);
    ASSERT_EQ(reg::DeleteTree(root.get(), L"Software"), reg::kSuccess);
    EXPECT_EQ(reg::ExportRegText(),
              L"Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER]\r\n\r\n");
    std::string error;
    ASSERT_TRUE(reg::ImportRegText(first, &error)) << error;
    EXPECT_EQ(reg::ExportRegText(), first);
}

TEST_F(Registry, FileRoundTripIsUtf16WithMark) {
    platform_test::TempDir dir;
    ASSERT_TRUE(reg::ImportRegText(kSample));
    const std::string file = dir.File("export.reg");
    ASSERT_TRUE(reg::ExportRegFile(file, L"Software"));
    std::ifstream in(file, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GE(bytes.size(), 4u);
    EXPECT_EQ(bytes.substr(0, 4), std::string("\xFF\xFEW\0", 4));
    const std::wstring before = reg::ExportRegText();
    reg::UseMemoryStore();
    std::string error;
    ASSERT_TRUE(reg::ImportRegFile(file, &error)) << error;
    EXPECT_EQ(reg::ExportRegText(), before);
    EXPECT_FALSE(reg::ExportRegFile(dir.File("missing.reg"), L"Software\\Nothing"));
    EXPECT_FALSE(reg::ImportRegFile(dir.File("nothing-here.reg"), &error));
}

TEST_F(Registry, ImportReadsUtf8FilesAndDeletions) {
    platform_test::TempDir dir;
    const std::string file = dir.File("utf8.reg");
    std::ofstream(file, std::ios::binary)
        << "\xEF\xBB\xBFWindows Registry Editor Version 5.00\n\n"
           "; a comment\n"
           "[HKEY_CURRENT_USER\\A\\B]\n\"x\"=\"caf\xC3\xA9\"\n\"n\"=dword:7\n\n"
           "[hkey_current_user\\A\\C]\n"
           "[-HKEY_CURRENT_USER\\A\\C]\n"
           "[HKEY_CURRENT_USER\\A\\B]\n\"n\"=-\n";
    std::string error;
    ASSERT_TRUE(reg::ImportRegFile(file, &error)) << error;
    EXPECT_EQ(reg::ExportRegText(L"A"),
              L"Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\A]\r\n\r\n"
              L"[HKEY_CURRENT_USER\\A\\B]\r\n\"x\"=\"caf\u00e9\"\r\n\r\n");
}

// Key names of every character the text treats specially but a line end, and value names and
// texts with line ends too, come back from an export, a wipe and an import exactly.
TEST_F(Registry, GeneratedNamesSurviveTheTextRoundTrip) {
    const std::wstring alphabet = L"a]Z[;=@\"- \t#\u00e9\u65e5\U0001F600]";
    // Key names without ';': a ']' followed by blanks and a ';' would end the section line.
    const std::wstring keyAlphabet = L"a]Z[=@\"- \t#\u00e9\u65e5\U0001F600]";
    const std::wstring lineEnds = L"\r\n";
    uint32_t seed = 12345;
    auto pick = [&](std::wstring_view from, size_t length) {
        std::wstring out;
        for (size_t i = 0; i < length; ++i) {
            seed = seed * 1103515245u + 12345u;
            out.push_back(from[(seed >> 16) % from.size()]);
        }
        return out;
    };
    for (int key = 0; key < 40; ++key) {
        const std::wstring path =
            L"R\\" + pick(keyAlphabet, 1 + key % 7) + L"\\" + pick(keyAlphabet, 3);
        reg::KeyGuard k;
        ASSERT_EQ(reg::CreateKey(path, k.out()), reg::kSuccess);
        const std::wstring rich = alphabet + lineEnds;
        ASSERT_EQ(reg::SetStringValue(k.get(), pick(rich, key % 5), pick(rich, key % 9)),
                  reg::kSuccess);
        ASSERT_EQ(reg::SetDwordValue(k.get(), pick(rich, 4), seed), reg::kSuccess);
    }
    std::string error;
    const std::wstring first = reg::ExportRegText(L"R", &error);
    ASSERT_FALSE(first.empty()) << error;
    reg::UseMemoryStore();
    ASSERT_TRUE(reg::ImportRegText(first, &error)) << error;
    EXPECT_EQ(reg::ExportRegText(L"R"), first);
}

TEST_F(Registry, ExportRefusesAKeyNameTheTextCannotHoldNamingIt) {
    const std::pair<const wchar_t*, const char*> cases[] = {
        {L"two\nlines", "line end"}, {L"cr\r", "line end"}, {L"\r\n", "line end"},
        {L"a] ;b", "comment"},       {L"x]\t;", "comment"},
    };
    for (const auto& [name, why] : cases) {
        reg::UseMemoryStore();
        reg::KeyGuard k;
        ASSERT_EQ(reg::CreateKey(L"Fine\\Setups\\" + std::wstring(name) + L"\\Below", k.out()),
                  reg::kSuccess);
        std::string error;
        EXPECT_EQ(reg::ExportRegText(L"Fine", &error), L"");
        EXPECT_NE(error.find(why), std::string::npos) << error;
        EXPECT_NE(error.find("Fine\\Setups\\"), std::string::npos) << error;
        platform_test::TempDir dir;
        EXPECT_FALSE(reg::ExportRegFile(dir.File("x.reg"), L"", &error));
    }
}

TEST_F(Registry, CommentsMayFollowAnyEntry) {
    std::string error;
    ASSERT_TRUE(
        reg::ImportRegText(L"Windows Registry Editor Version 5.00\r\n\r\n"
                           L"[HKEY_CURRENT_USER\\C] ; the key ]\r\n"
                           L"\"a\"=\"x;y\" ;the text\r\n"
                           L"\"b\"=dword:00000001\t; one\n"
                           L"@=\"d\"; last\r\n",
                           &error))
        << error;
    EXPECT_EQ(reg::ExportRegText(L"C"),
              L"Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\C]\r\n"
              L"@=\"d\"\r\n\"a\"=\"x;y\"\r\n\"b\"=dword:00000001\r\n\r\n");
}

// As deep as the platform's registry goes, and no deeper: created, exported and imported.
TEST_F(Registry, KeyDepthIsBoundedEverywhere) {
    std::wstring deepest = L"d";
    for (uint32_t level = 1; level < reg::kMaxKeyDepth; ++level) deepest += L"\\d";
    reg::KeyGuard k;
    ASSERT_EQ(reg::CreateKey(deepest, k.out()), reg::kSuccess);
    reg::HKey tooDeep = nullptr;
    EXPECT_EQ(reg::CreateKey(deepest + L"\\e", &tooDeep), reg::kInvalidParameter);
    EXPECT_EQ(reg::OpenSubkey(k.get(), L"e", &tooDeep), reg::kFileNotFound);
    std::string error;
    const std::wstring text = reg::ExportRegText(L"", &error);
    ASSERT_FALSE(text.empty()) << error;
    reg::UseMemoryStore();
    ASSERT_TRUE(reg::ImportRegText(text, &error)) << error;
    EXPECT_EQ(reg::ExportRegText(), text);
    const std::wstring deeper =
        L"Windows Registry Editor Version 5.00\r\n\r\n"
        L"[HKEY_CURRENT_USER\\e]\r\n"
        L"[HKEY_CURRENT_USER\\" +
        deepest + L"\\e]\r\n";
    EXPECT_FALSE(reg::ImportRegText(deeper, &error));
    EXPECT_NE(error.find("line 4: a key path of more than 512 levels"), std::string::npos) << error;
    EXPECT_FALSE(Exists(L"e"));
}

TEST_F(Registry, BadTextIsRefusedWholeWithItsLine) {
    const std::wstring head =
        L"Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Good]\r\n";
    const std::pair<std::wstring, const char*> cases[] = {
        {L"[HKEY_CURRENT_USER\\Good]\r\n", "line 1"},
        {head + L"\"a\"=\"unterminated\r\n", "line 4"},
        {head + L"\"a\"=\"unterminated\r\n\"b\"=\"x\"\r\n", "line 4"},
        {head + L"\"a\"=hex:01,\r\n", "line 4"},
        {head + L"\"a\"=hex:123\r\n", "line 4"},
        {head + L"\"a\"=hex:0x01\r\n", "line 4"},
        {head + L"\"a\"=hex(:01\r\n", "line 4"},
        {head + L"\"a\"=hex(1g):01\r\n", "line 4"},
        {head + L"\"a\"=hex(123456789):01\r\n", "line 4"},
        {head + L"\"a\"=hex(2)01\r\n", "line 4"},
        {head + L"\"a\"=hex:01,\\\r\n  02,\\\r\n  zz\r\n", "line 6"},
        {head + L"\"a\"=hex:01,\\", "line 4"},
        {head + L"\"a\"=hex:01\\\r\n  02\r\n", "line 4"},
        {head + L"\"a\"=qword:1\r\n", "line 4"},
        {head + L"\"a\"=dword:123456789\r\n", "line 4"},
        {head + L"\"a\"=dword:\r\n", "line 4"},
        {head + L"\"a\" \"b\"\r\n", "line 4"},
        {head + L"\"a\"=\"b\" trailing\r\n", "line 4"},
        {head + L"[HKEY_LOCAL_MACHINE\\Software]\r\n", "line 4"},
        {head + L"[HKEY_CURRENT_USER\\a\\\\b]\r\n", "line 4"},
        {head + L"[HKEY_CURRENT_USER\\Open\r\n", "line 4"},
        {head + L"[-HKEY_CURRENT_USER]\r\n", "line 4"},
        {L"Windows Registry Editor Version 5.00\r\n\"a\"=\"b\"\r\n", "line 2"},
        {head + L"garbage\r\n", "line 4"},
        {head + L"\"" + std::wstring(16384, L'n') + L"\"=\"x\"\r\n", "line 4"},
    };
    for (const auto& [text, where] : cases) {
        std::string error;
        EXPECT_FALSE(reg::ImportRegText(text, &error)) << where;
        EXPECT_NE(error.find(where), std::string::npos) << error;
        EXPECT_FALSE(Exists(L"Good")) << error;  // nothing of a refused text is applied
    }
}

#if defined(_WIN32)
TEST_F(Registry, ImportPutsBackWhatItChangedWhenTheRegistryRefusesAChange) {
    ASSERT_TRUE(
        reg::ImportRegText(L"Windows Registry Editor Version 5.00\r\n\r\n"
                           L"[HKEY_CURRENT_USER\\K]\r\n\"a\"=\"before\"\r\n\r\n"
                           L"[HKEY_CURRENT_USER\\D\\Sub]\r\n\"n\"=dword:00000007\r\n"));
    const std::wstring before = reg::ExportRegText();
    // Well-formed text, but the registry takes value names of at most 16383 characters, so the
    // last change fails after the others were made.
    const std::wstring text =
        L"Windows Registry Editor Version 5.00\r\n\r\n"
        L"[HKEY_CURRENT_USER\\K]\r\n\"a\"=\"after\"\r\n\"b\"=dword:1\r\n"
        L"[-HKEY_CURRENT_USER\\D]\r\n"
        L"[HKEY_CURRENT_USER\\New\\Deep]\r\n\"" +
        std::wstring(16384, L'n') + L"\"=\"x\"\r\n";
    std::string error;
    EXPECT_FALSE(reg::ImportRegText(text, &error));
    EXPECT_NE(error.find("87"), std::string::npos) << error;
    EXPECT_EQ(reg::ExportRegText(), before);
}
#endif

TEST_F(Registry, ImportOfAFileThatCannotBeReadSaysWhy) {
    platform_test::TempDir dir;
    std::filesystem::create_directory(dir.File("folder"));
    const std::pair<std::string, const char*> cases[] = {
        {dir.File("folder"), "cannot read the file: it is a folder"},
        {dir.File("missing.reg"), "cannot read the file"},
#if !defined(_WIN32)
        {"/dev/zero", "cannot read the file: longer than 67108864 bytes"},
#endif
    };
    for (const auto& [file, why] : cases) {
        std::string error;
        EXPECT_FALSE(reg::ImportRegFile(file, &error)) << file;
        EXPECT_NE(error.find(why), std::string::npos) << error;
    }
}

TEST_F(Registry, UndecodableBytesFailTheImportNamingTheirLine) {
    const std::string head =
        "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\K]\r\n";
    const std::pair<std::string, const char*> cases[] = {
        {head + "\"a\"=\"\xff\"\r\n", "line 4: a byte that is not UTF-8 (0xff)"},
        {"\xEF\xBB\xBF" + head + "\"a\"=\"x\"\r\n\"b\"=\"\xC3\"\r\n",
         "line 5: a byte that is not UTF-8 (0xc3)"},
#if !defined(_WIN32)  // the C locale's code page is ASCII; a Windows code page decodes 0xe9
        {"REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\K]\r\n\"a\"=\"caf\xe9\"\r\n",
         "line 4: a byte that is not text in the system's code page (0xe9)"},
        {"REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\K]\r\n\"a\"=hex(2):63,\\\r\n  e9,00\r\n",
         "line 5: hex data that is not text in the system's code page"},
#endif
    };
    platform_test::TempDir dir;
    for (const auto& [bytes, why] : cases) {
        std::ofstream(dir.File("bad.reg"), std::ios::binary) << bytes;
        std::string error;
        EXPECT_FALSE(reg::ImportRegFile(dir.File("bad.reg"), &error));
        EXPECT_EQ(error, why);
        EXPECT_FALSE(Exists(L"K"));
    }
#if !defined(_WIN32)
    // Text of the older editor is read in the code page of the locale.
    std::ofstream(dir.File("old.reg"), std::ios::binary)
        << "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\K]\r\n\"a\"=\"caf\xc3\xa9\"\r\n"
        << "\"m\"=hex(7):c3,a9,00,00\r\n\"b\"=hex:c3,a9\r\n";
    std::setlocale(LC_CTYPE, "C.UTF-8");
    std::string error;
    const bool imported = reg::ImportRegFile(dir.File("old.reg"), &error);
    std::setlocale(LC_CTYPE, "C");
    ASSERT_TRUE(imported) << error;
    reg::KeyGuard k;
    std::wstring text;
    ASSERT_EQ(reg::OpenKey(L"K", k.out()), reg::kSuccess);
    EXPECT_EQ(reg::GetStringValue(k.get(), L"a", &text), reg::kSuccess);
    EXPECT_EQ(text, L"caf\u00e9");
    // Its hex(2) and hex(7) data is text in that code page too; other data stays as it is.
    reg::ValueType type{};
    std::vector<uint8_t> data;
    EXPECT_EQ(reg::GetValue(k.get(), L"m", &type, &data), reg::kSuccess);
    EXPECT_EQ(data, (std::vector<uint8_t>{0xe9, 0, 0, 0, 0, 0}));
    EXPECT_EQ(reg::GetValue(k.get(), L"b", &type, &data), reg::kSuccess);
    EXPECT_EQ(data, (std::vector<uint8_t>{0xc3, 0xa9}));
#endif
}

#if !defined(_WIN32)
// A disk that fills up mid-export, as a file size limit makes it: the previous export stays.
TEST_F(Registry, AFailedExportLeavesThePreviousFileWhole) {
    reg::KeyGuard k;
    ASSERT_EQ(reg::CreateKey(L"Big", k.out()), reg::kSuccess);
    for (int i = 0; i < 500; ++i)
        ASSERT_EQ(reg::SetStringValue(k.get(), L"v" + std::to_wstring(i), L"some text"),
                  reg::kSuccess);
    platform_test::TempDir dir;
    const std::string file = dir.File("profile.reg");
    ASSERT_TRUE(reg::ExportRegFile(file));
    const std::string before = Bytes(file);
    ASSERT_GT(before.size(), 8192u);
    ASSERT_EQ(reg::SetDwordValue(k.get(), L"more", 1), reg::kSuccess);

    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &limit), 0);
    const rlimit small{4096, limit.rlim_max};
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    std::string error;
    const bool exported = reg::ExportRegFile(file, L"", &error);
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(exported);
    EXPECT_NE(error.find("cannot write the file"), std::string::npos) << error;
    EXPECT_EQ(Bytes(file), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.File("")),
                            std::filesystem::directory_iterator()),
              1);  // no temporary file left beside it
}
#endif

}  // namespace
