// Tests of the application profile and the current application.
#include <gtest/gtest.h>

#include "platform/Application.h"
#include "platform/Registry.h"

namespace reg = plat::reg;

namespace {

class Profile : public ::testing::Test {
protected:
    void SetUp() override { reg::UseMemoryStore(); }
    plat::CWinApp app;
};

TEST_F(Profile, MissingEntriesGiveTheDefault) {
    EXPECT_EQ(app.GetProfileInt(L"Setups\\S\\M", L"Port", 7), 7);
    EXPECT_EQ(app.GetProfileString(L"Setups\\S\\M", L"Type", L"dflt"), L"dflt");
    EXPECT_EQ(app.GetProfileString(L"Setups\\S\\M", L"Type", nullptr), L"");
    EXPECT_EQ(app.GetProfileInt(nullptr, L"Port", 9), 9);
    EXPECT_EQ(app.GetProfileInt(L"Setups", nullptr, 9), 9);
    // Reading does not create the section.
    reg::KeyGuard key;
    EXPECT_EQ(reg::OpenKey(L"Software\\Talverd\\Keltaro5\\Setups", key.out()), reg::kFileNotFound);
}

TEST_F(Profile, WritesCreateTheSectionUnderTheRoot) {
    ASSERT_TRUE(app.WriteProfileInt(L"Setups\\Main\\Ambrel Control", L"Port", 2));
    ASSERT_TRUE(app.WriteProfileString(L"Variables\\Gain", L"Type", L"CVarUINT"));
    EXPECT_EQ(app.GetProfileInt(L"setups\\main\\ambrel control", L"PORT", -1), 2);
    EXPECT_EQ(app.GetProfileString(L"Variables\\Gain", L"Type", L""), L"CVarUINT");
    reg::KeyGuard key;
    ASSERT_EQ(reg::OpenKey(L"Software\\Talverd\\Keltaro5\\Variables\\Gain", key.out()),
              reg::kSuccess);
    std::wstring text;
    EXPECT_EQ(reg::GetStringValue(key.get(), L"Type", &text), reg::kSuccess);
    EXPECT_EQ(text, L"CVarUINT");
}

TEST_F(Profile, IntegersAreDwordsOfTheSameBits) {
    ASSERT_TRUE(app.WriteProfileInt(L"S", L"neg", -5));
    EXPECT_EQ(app.GetProfileInt(L"S", L"neg", 0), -5);
    reg::KeyGuard key;
    ASSERT_EQ(reg::OpenKey(L"Software\\Talverd\\Keltaro5\\S", key.out()), reg::kSuccess);
    uint32_t raw = 0;
    EXPECT_EQ(reg::GetDwordValue(key.get(), L"neg", &raw), reg::kSuccess);
    EXPECT_EQ(raw, 0xFFFFFFFBu);
    ASSERT_EQ(reg::SetDwordValue(key.get(), L"max", 4294967295u), reg::kSuccess);
    EXPECT_EQ(app.GetProfileInt(L"S", L"max", 0), -1);
    ASSERT_EQ(reg::SetDwordValue(key.get(), L"big", 0x80000000u), reg::kSuccess);
    EXPECT_EQ(app.GetProfileInt(L"S", L"big", 0), std::numeric_limits<int>::min());
}

TEST_F(Profile, TheOtherTypeGivesTheDefault) {
    ASSERT_TRUE(app.WriteProfileString(L"S", L"Value", L"12"));
    ASSERT_TRUE(app.WriteProfileInt(L"S", L"Count", 12));
    EXPECT_EQ(app.GetProfileInt(L"S", L"Value", 2), 2);
    EXPECT_EQ(app.GetProfileString(L"S", L"Count", L"none"), L"none");
}

TEST_F(Profile, NullTextDeletesEntryAndNullEntryDeletesSection) {
    ASSERT_TRUE(app.WriteProfileString(L"Setups\\S\\Scripts\\M\\E", L"0", L"line"));
    ASSERT_TRUE(app.WriteProfileInt(L"Setups\\S\\Scripts\\M\\E", L"LineCount", 1));
    EXPECT_TRUE(app.WriteProfileString(L"Setups\\S\\Scripts\\M\\E", L"0", nullptr));
    EXPECT_EQ(app.GetProfileString(L"Setups\\S\\Scripts\\M\\E", L"0", L"gone"), L"gone");
    EXPECT_EQ(app.GetProfileInt(L"Setups\\S\\Scripts\\M\\E", L"LineCount", -1), 1);
    EXPECT_FALSE(app.WriteProfileString(L"Setups\\S\\Scripts\\M\\E", L"0", nullptr));

    // A section that holds further sections stays, as with the platform's profile.
    EXPECT_FALSE(app.WriteProfileString(L"Setups\\S\\Scripts\\M", nullptr, nullptr));
    EXPECT_TRUE(app.WriteProfileString(L"Setups\\S\\Scripts\\M\\E", nullptr, nullptr));
    EXPECT_EQ(app.GetProfileInt(L"Setups\\S\\Scripts\\M\\E", L"LineCount", -1), -1);
    reg::KeyGuard key;
    EXPECT_EQ(reg::OpenKey(L"Software\\Talverd\\Keltaro5\\Setups\\S\\Scripts\\M\\E", key.out()),
              reg::kFileNotFound);
    EXPECT_FALSE(app.WriteProfileString(L"Setups\\S\\Scripts\\M\\E", nullptr, nullptr));
}

TEST_F(Profile, ProfileRootIsConfigurable) {
    plat::CWinApp other(L"Software\\Elsewhere");
    ASSERT_TRUE(other.WriteProfileInt(L"Sec", L"n", 1));
    EXPECT_EQ(app.GetProfileInt(L"Sec", L"n", 0), 0);
    EXPECT_EQ(other.GetProfileInt(L"Sec", L"n", 0), 1);
    EXPECT_EQ(other.ProfileRoot(), L"Software\\Elsewhere");
    EXPECT_EQ(app.ProfileRoot(), L"Software\\Talverd\\Keltaro5");
}

TEST(CurrentApp, InstalledAppIsReachedAndForgottenWhenDestroyed) {
    EXPECT_EQ(plat::AfxGetApp(), nullptr);
    plat::CWinApp keep;
    {
        plat::CWinApp app;
        plat::AfxSetApp(&app);
        EXPECT_EQ(plat::AfxGetApp(), &app);
    }
    EXPECT_EQ(plat::AfxGetApp(), nullptr);
    plat::AfxSetApp(&keep);
    { plat::CWinApp bystander; }
    EXPECT_EQ(plat::AfxGetApp(), &keep);
    plat::AfxSetApp(nullptr);
}

}  // namespace
