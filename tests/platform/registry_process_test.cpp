// Tests of the store shared between processes: durability across a kill, concurrent writers.
// On Windows a store path names a key of the real registry instead of a file.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>

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
#endif

}  // namespace
