// Tests of the store shared between processes: durability across a kill, concurrent writers.
// On Windows a store path names a key of the real registry instead of a file.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#if !defined(_WIN32)
#include <sqlite3.h>
#endif

#include "child_process.h"
#include "platform/Registry.h"

namespace reg = plat::reg;
using platform_test::Child;
using platform_test::TempDir;

namespace {

class StoreFile : public ::testing::Test {
protected:
    void SetUp() override { m_path = m_dir.File("registry.db"); }
    void TearDown() override { reg::UseMemoryStore(); }

    // The number of DWORD values PREFIX0.. under the key that hold their own index.
    static int CountInOrder(const std::wstring& key, const std::wstring& prefix, int upTo) {
        reg::KeyGuard k;
        if (reg::OpenKey(key, k.out()) != reg::kSuccess) return -1;
        int found = 0;
        for (int i = 0; i < upTo; ++i) {
            uint32_t v = 0;
            if (reg::GetDwordValue(k.get(), prefix + std::to_wstring(i), &v) == reg::kSuccess &&
                v == static_cast<uint32_t>(i))
                ++found;
        }
        return found;
    }

    TempDir m_dir;
    std::string m_path;
};

TEST_F(StoreFile, OpensAFileInWriteAheadMode) {
    std::string error;
    ASSERT_TRUE(reg::OpenStore(m_path, &error)) << error;
    EXPECT_EQ(reg::StorePath(), m_path);
    reg::KeyGuard key;
    ASSERT_EQ(reg::CreateKey(L"Software\\Talverd", key.out()), reg::kSuccess);
    ASSERT_EQ(reg::SetDwordValue(key.get(), L"x", 5), reg::kSuccess);
#if !defined(_WIN32)
    struct stat st {};
    EXPECT_EQ(::stat((m_path + "-wal").c_str(), &st), 0);
#endif
    // Opened again (as another process would), the value is there.
    ASSERT_TRUE(reg::OpenStore(m_path, &error)) << error;
    EXPECT_EQ(reg::SetDwordValue(key.get(), L"x", 6), reg::kInvalidHandle);
    reg::KeyGuard again;
    ASSERT_EQ(reg::OpenKey(L"software\\talverd", again.out()), reg::kSuccess);
    uint32_t v = 0;
    EXPECT_EQ(reg::GetDwordValue(again.get(), L"X", &v), reg::kSuccess);
    EXPECT_EQ(v, 5u);
}

TEST_F(StoreFile, FailedOpenKeepsTheCurrentStore) {
    reg::KeyGuard key;
    ASSERT_EQ(reg::CreateKey(L"Kept", key.out()), reg::kSuccess);
    std::string error;
#if !defined(_WIN32)  // there, any path names a key of its own, and no file is read
    EXPECT_FALSE(reg::OpenStore(m_dir.File("no/such/dir/r.db"), &error));
    EXPECT_FALSE(error.empty());
    const std::string junk = m_dir.File("junk.db");
    std::ofstream(junk) << std::string(4096, 'j');
    error.clear();
    EXPECT_FALSE(reg::OpenStore(junk, &error));
    EXPECT_FALSE(error.empty());
#endif
    EXPECT_FALSE(reg::OpenStore("", &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(reg::SetDwordValue(key.get(), L"still", 1), reg::kSuccess);
    EXPECT_EQ(reg::StorePath(), "");
}

TEST_F(StoreFile, ValueSurvivesTheWriterBeingKilled) {
    Child writer({"hold", m_path, "Software\\Talverd\\Keltaro5\\Setups\\S\\M", "Port", "3"});
    ASSERT_TRUE(writer.started());
    ASSERT_EQ(writer.ReadLine(), "written");
    EXPECT_EQ(writer.Kill(), Child::kKilled);

    Child reader({"read", m_path, "software\\talverd\\keltaro5\\setups\\s\\m", "port"});
    EXPECT_EQ(reader.ReadLine(), "3");
    EXPECT_EQ(reader.Wait(), 0);
}

TEST_F(StoreFile, KillMidStreamLosesNoAcknowledgedWrite) {
    Child writer({"write", m_path, "Stream", "v", "1000000"});
    ASSERT_TRUE(writer.started());
    int acknowledged = 0;
    while (acknowledged < 40) {
        const std::string line = writer.ReadLine();
        ASSERT_FALSE(line.empty()) << "the writer stopped early";
        acknowledged = std::stoi(line) + 1;
    }
    writer.Kill();
    std::string error;
    ASSERT_TRUE(reg::OpenStore(m_path, &error)) << error;
    EXPECT_EQ(CountInOrder(L"Stream", L"v", acknowledged), acknowledged);
}

TEST_F(StoreFile, TwoProcessesWritingAtOnceLoseNothing) {
    constexpr int kEach = 200;
    // Both start on a file that does not exist yet, so they also race to create it.
    Child a({"write", m_path, "Shared\\Values", "a", std::to_string(kEach)});
    Child b({"write", m_path, "Shared\\Values", "b", std::to_string(kEach)});
    ASSERT_TRUE(a.started() && b.started());
    a.ReadAll();
    b.ReadAll();
    EXPECT_EQ(a.Wait(), 0);
    EXPECT_EQ(b.Wait(), 0);
    std::string error;
    ASSERT_TRUE(reg::OpenStore(m_path, &error)) << error;
    EXPECT_EQ(CountInOrder(L"Shared\\Values", L"a", kEach), kEach);
    EXPECT_EQ(CountInOrder(L"Shared\\Values", L"b", kEach), kEach);
    wchar_t name[8];
    uint32_t chars = 8;
    reg::KeyGuard shared;
    ASSERT_EQ(reg::OpenKey(L"Shared", shared.out()), reg::kSuccess);
    EXPECT_EQ(reg::EnumKey(shared.get(), 1, name, &chars), reg::kNoMoreItems);  // one key made
}

TEST_F(StoreFile, ChangesOfAnotherProcessAreSeen) {
    std::string error;
    ASSERT_TRUE(reg::OpenStore(m_path, &error)) << error;
    reg::KeyGuard key;
    ASSERT_EQ(reg::CreateKey(L"Shared", key.out()), reg::kSuccess);
    Child writer({"write", m_path, "Shared", "n", "3"});
    writer.ReadAll();
    ASSERT_EQ(writer.Wait(), 0);
    uint32_t v = 0;
    EXPECT_EQ(reg::GetDwordValue(key.get(), L"n2", &v), reg::kSuccess);
    EXPECT_EQ(v, 2u);
}

#if !defined(_WIN32)
// What a hostile or damaged file may hold: rows changed behind the store's back.
void Corrupt(const std::string& path, const char* sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    sqlite3_close(db);
}

TEST_F(StoreFile, KeysInACycleAreACorruptStore) {
    std::string error;
    ASSERT_TRUE(reg::OpenStore(m_path, &error)) << error;
    {
        reg::KeyGuard key;
        ASSERT_EQ(reg::CreateKey(L"A\\B", key.out()), reg::kSuccess);
    }
    // The root hung below its own grandchild: every walk down would come round again.
    Corrupt(m_path, "UPDATE keys SET parent = (SELECT id FROM keys WHERE name = 'B') WHERE id = 1");
    auto walk = [](const std::wstring&, const std::vector<reg::Value>&) { return reg::kSuccess; };
    EXPECT_EQ(reg::WalkTree(L"", walk), reg::kStoreFailure);
    EXPECT_EQ(reg::ExportRegText(L"", &error), L"");
    EXPECT_NE(error.find("corrupt"), std::string::npos) << error;
    reg::KeyGuard a;
    ASSERT_EQ(reg::OpenKey(L"A", a.out()), reg::kSuccess);
    EXPECT_EQ(reg::DeleteTree(a.get(), L"B"), reg::kSuccess);  // ends
    // Opened again, the store is refused as it is.
    reg::UseMemoryStore();
    EXPECT_FALSE(reg::OpenStore(m_path, &error));
    EXPECT_NE(error.find("corrupt"), std::string::npos) << error;
    Corrupt(m_path,
            "UPDATE keys SET parent = 0 WHERE id = 1; INSERT INTO keys VALUES(0, 1, 'Z', 'Z')");
    EXPECT_FALSE(reg::OpenStore(m_path, &error));
}
// Values of every type outlive the process's store; a value row the store does not write (a
// number for a String, text for a Dword, a NULL, a type beyond 32 bits) is a corrupt store.
TEST_F(StoreFile, TypedValuesAreKeptAndForeignRowsAreAStoreFailure) {
    const std::vector<uint8_t> bytes = {0, 0xff, 'x', 0};
    std::string error;
    ASSERT_TRUE(reg::OpenStore(m_path, &error)) << error;
    {
        reg::KeyGuard key;
        ASSERT_EQ(reg::CreateKey(L"K", key.out()), reg::kSuccess);
        for (const auto type : {reg::ValueType::String, reg::ValueType::Qword,
                                static_cast<reg::ValueType>(0xffffffff)})
            ASSERT_EQ(
                reg::SetValue(key.get(), std::to_wstring(static_cast<uint32_t>(type)), type, bytes),
                reg::kSuccess);
    }
    reg::CloseStore();
    ASSERT_TRUE(reg::OpenStore(m_path, &error)) << error;
    reg::KeyGuard key;
    ASSERT_EQ(reg::OpenKey(L"K", key.out()), reg::kSuccess);
    std::vector<reg::TypedValue> values;
    ASSERT_EQ(reg::EnumTypedValues(key.get(), &values), reg::kSuccess);
    ASSERT_EQ(values.size(), 3u);
    for (const auto& value : values) {
        EXPECT_EQ(std::to_wstring(static_cast<uint32_t>(value.type)), value.name);
        EXPECT_EQ(value.data, bytes);
    }
    const char* foreign[] = {
        "UPDATE vals SET data = 7 WHERE name = '1'",
        "UPDATE vals SET type = 4, data = 'text' WHERE name = '1'",
        "UPDATE vals SET data = NULL WHERE name = '1'",
        "UPDATE vals SET type = 4294967296 WHERE name = '1'",
    };
    for (const char* sql : foreign) {
        Corrupt(m_path, "UPDATE vals SET type = 1, data = 'fine' WHERE name = '1'");
        ASSERT_EQ(reg::EnumTypedValues(key.get(), &values), reg::kSuccess);
        Corrupt(m_path, sql);
        reg::ValueType type{};
        std::vector<uint8_t> data;
        EXPECT_EQ(reg::GetValue(key.get(), L"1", &type, &data), reg::kStoreFailure) << sql;
        EXPECT_EQ(reg::EnumTypedValues(key.get(), &values), reg::kStoreFailure) << sql;
    }
}

std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Files that are not a store of ours, as another program or a hostile hand leaves them: refused
// with the reason, and not changed by a single byte (no tables added, no log mode set).
TEST_F(StoreFile, AFileThatIsNotAStoreIsRefusedUntouched) {
    struct Case {
        bool fromStore;   // start from a store of ours, else from nothing
        const char* sql;  // what is done to it; null for a file of zero bytes
        const char* why;
    };
    const Case cases[] = {
        {false, nullptr, "empty (0 bytes)"},
        {false, "CREATE TABLE notes(text)", "not a profile store"},
        {false, "PRAGMA application_id=7; PRAGMA user_version=1; CREATE TABLE keys(a)",
         "another program"},
        {false,
         "PRAGMA user_version=1; CREATE TABLE vals(key, name, fold, type, data);"
         "CREATE VIEW keys AS WITH RECURSIVE r(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM r) "
         "SELECT n AS id, 0 AS parent, '' AS name, '' AS fold FROM r",
         "the view keys"},
        {true, "CREATE TRIGGER wipe AFTER INSERT ON vals BEGIN DELETE FROM keys; END",
         "the trigger wipe"},
        {true, "ALTER TABLE vals ADD COLUMN extra", "its tables are not the store's"},
    };
    for (const Case& c : cases) {
        std::filesystem::remove(m_path);
        if (c.fromStore) {
            ASSERT_TRUE(reg::OpenStore(m_path));
            reg::CloseStore();
        }
        if (c.sql)
            Corrupt(m_path, c.sql);
        else
            std::ofstream(m_path).flush();
        const std::string before = Bytes(m_path);
        std::string error;
        EXPECT_FALSE(reg::OpenStore(m_path, &error)) << c.why;
        EXPECT_NE(error.find(c.why), std::string::npos) << error;
        EXPECT_EQ(Bytes(m_path), before) << c.why;
        EXPECT_FALSE(std::filesystem::exists(m_path + "-wal")) << c.why;
    }
}

TEST_F(StoreFile, ClosingFoldsTheLogBackSoTheFileAloneHoldsTheTree) {
    ASSERT_TRUE(reg::OpenStore(m_path));
    {
        reg::KeyGuard key;
        ASSERT_EQ(reg::CreateKey(L"Kept", key.out()), reg::kSuccess);
        ASSERT_EQ(reg::SetDwordValue(key.get(), L"v", 7), reg::kSuccess);
    }
    reg::CloseStore();
    EXPECT_FALSE(std::filesystem::exists(m_path + "-wal"));
    const std::string copy = m_dir.File("copy.db");
    std::filesystem::copy_file(m_path, copy);
    ASSERT_TRUE(reg::OpenStore(copy));
    reg::KeyGuard key;
    uint32_t v = 0;
    ASSERT_EQ(reg::OpenKey(L"Kept", key.out()), reg::kSuccess);
    EXPECT_EQ(reg::GetDwordValue(key.get(), L"v", &v), reg::kSuccess);
    EXPECT_EQ(v, 7u);
}

TEST_F(StoreFile, AStoreThatMustExistIsNotMade) {
    std::string error;
    EXPECT_FALSE(reg::OpenStore(m_path, &error, reg::StoreAccess::Existing));
    EXPECT_NE(error.find("no store"), std::string::npos) << error;
    EXPECT_FALSE(std::filesystem::exists(m_path));
}

// Another process in the middle of a write: opening the store and reading it go on at once.
TEST_F(StoreFile, ReadingNeverWaitsForAWriter) {
    ASSERT_TRUE(reg::OpenStore(m_path));
    {
        reg::KeyGuard key;
        ASSERT_EQ(reg::CreateKey(L"Kept", key.out()), reg::kSuccess);
    }
    reg::CloseStore();
    sqlite3* writer = nullptr;
    ASSERT_EQ(sqlite3_open(m_path.c_str(), &writer), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(writer, "BEGIN IMMEDIATE; DELETE FROM vals", nullptr, nullptr, nullptr),
              SQLITE_OK);
    std::string error;
    EXPECT_TRUE(reg::OpenStore(m_path, &error)) << error;
    EXPECT_NE(reg::ExportRegText(L"", &error), L"") << error;
    sqlite3_exec(writer, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(writer);
}

TEST_F(StoreFile, ExportRefusesToWriteOverTheStoreOrItsLog) {
    ASSERT_TRUE(reg::OpenStore(m_path));
    {
        reg::KeyGuard key;
        ASSERT_EQ(reg::CreateKey(L"Kept", key.out()), reg::kSuccess);
    }
    for (const std::string& target : {m_path, m_path + "-wal", m_dir.File("./registry.db")}) {
        std::string error;
        EXPECT_FALSE(reg::ExportRegFile(target, L"", &error)) << target;
        EXPECT_NE(error.find("own store"), std::string::npos) << error;
        EXPECT_TRUE(reg::IsStoreFile(target)) << target;
    }
    EXPECT_FALSE(reg::IsStoreFile(m_dir.File("other.reg")));
    reg::CloseStore();
    ASSERT_TRUE(reg::OpenStore(m_path));
    reg::KeyGuard key;
    EXPECT_EQ(reg::OpenKey(L"Kept", key.out()), reg::kSuccess);
}
#endif

}  // namespace
