// Tests of the two script variable kinds: defaults, value-only assignment and value texts.
#include <gtest/gtest.h>

#include <memory>

#include "CVarBool.h"
#include "CVarUINT.h"

TEST(ScriptVariables, FreshValuesAndTypeNames) {
    const CVarUINT number;
    const CVarBool flag;
    EXPECT_EQ(number.GetValue(), 0u);
    EXPECT_TRUE(flag.GetValue());
    EXPECT_EQ(number.GetType(), L"CVarUINT");
    EXPECT_EQ(flag.GetType(), L"CVarBool");
    EXPECT_EQ(number.GetName(), L"");
    EXPECT_EQ(CVarBool(false).GetValue(), false);
    EXPECT_EQ(CVarUINT(9).GetValue(), 9u);
}

TEST(ScriptVariables, AssignmentCopiesTheValueOnly) {
    CVarUINT target(1);
    target.SetNameAndDescription(L"Target", L"kept");
    CVarUINT source(42);
    source.SetNameAndDescription(L"Source", L"not copied");
    target = source;
    EXPECT_EQ(target.GetValue(), 42u);
    EXPECT_EQ(target.GetName(), L"Target");
    EXPECT_EQ(target.GetDescription(), L"kept");
    EXPECT_EQ(target.GetType(), L"CVarUINT");

    CVarBool flag(true);
    flag.SetNameAndDescription(L"Flag", L"d");
    CVarBool other(false);
    other.SetNameAndDescription(L"Other", L"e");
    flag = other;
    EXPECT_FALSE(flag.GetValue());
    EXPECT_EQ(flag.GetName(), L"Flag");
}

TEST(ScriptVariables, ValueTexts) {
    EXPECT_EQ(CVarUINT(4294967295u).GetValueText(), L"4294967295");
    EXPECT_EQ(CVarUINT(0).GetValueText(), L"0");
    EXPECT_EQ(CVarBool(true).GetValueText(), L"TRUE");
    EXPECT_EQ(CVarBool(false).GetValueText(), L"FALSE");
    // Through the base, as a list of variables shows them.
    std::unique_ptr<CScriptVariable> variable = std::make_unique<CVarUINT>(7);
    EXPECT_EQ(variable->GetValueText(), L"7");
    EXPECT_EQ(CScriptVariable().GetValueText(), L"");
}
