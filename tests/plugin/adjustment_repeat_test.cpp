// The step buttons' auto-repeat: what their parent is told while one is held, and when.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "RegisteredMessages.h"
#include "RepeatButton.h"
#include "ui/Input.h"
#include "ui/Window.h"
#include "ui/Wnd.h"

namespace {

using ui::input::Result;

constexpr int kButtonId = 16302;

// A dialog holding one repeat button, noting every trigger it is told of.
class TriggerLog : public ui::CDialog {
public:
    struct Trigger {
        ui::WPARAM id;
        ui::LPARAM lParam;
        uint64_t time;
        bool pushed;  // whether the button had already taken the press
    };

    std::vector<Trigger> triggers;
    CRepeatButton button;
    bool disableOnTrigger = false;

protected:
    ui::LRESULT WindowProc(ui::UINT message, ui::WPARAM wParam, ui::LPARAM lParam) override {
        if (message != REPEAT_BUTTON_TRIGGER)
            return ui::CDialog::WindowProc(message, wParam, lParam);
        const bool pushed = (button.GetState() & ui::BST_PUSHED) != 0;
        triggers.push_back({wParam, lParam, ui::GetTickCount64(), pushed});
        if (disableOnTrigger) {
            button.StopRepeat();
            button.EnableWindow(false);
        }
        return 0;
    }
};

class RepeatButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        ui::DialogTemplate t;
        t.cx = 100;
        t.cy = 40;
        t.style = ui::WS_CHILD | ui::WS_VISIBLE | ui::DS_SETFONT;
        t.items.push_back({ui::WC_BUTTON, kButtonId, L"<", 10, 10, 15, 14,
                           ui::WS_CHILD | ui::WS_VISIBLE | ui::WS_TABSTOP | ui::BS_PUSHBUTTON, 0});
        ASSERT_TRUE(log.CreateIndirect(t));
        ASSERT_TRUE(log.button.SubclassDlgItem(kButtonId, &log));
        t0 = ui::GetTickCount64();
    }
    void TearDown() override {
        log.DestroyWindow();
        ui::PumpMessages();
    }
    std::vector<uint64_t> Times() const {
        std::vector<uint64_t> times;
        for (const auto& t : log.triggers) times.push_back(t.time - t0);
        return times;
    }

    TriggerLog log;
    uint64_t t0 = 0;
};

TEST_F(RepeatButtonTest, HeldButtonTriggersAtThePressThenFasterAndFaster) {
    ASSERT_EQ(ui::input::PressButton(log.button.GetSafeHwnd()), Result::Ok);
    ASSERT_EQ(log.triggers.size(), 1u);
    // The first is sent before the button takes the press; the others are posted while held.
    EXPECT_FALSE(log.triggers[0].pushed);
    ui::AdvanceClock(499);
    EXPECT_EQ(log.triggers.size(), 1u);
    ui::AdvanceClock(1 + 99 + 98 + 97 + 96);
    EXPECT_EQ(Times(), (std::vector<uint64_t>{0, 500, 599, 697, 794, 890}));
    for (const auto& trigger : log.triggers) {
        EXPECT_EQ(trigger.id, static_cast<ui::WPARAM>(kButtonId));
        EXPECT_EQ(trigger.lParam, 0);
    }
    EXPECT_TRUE(log.triggers[1].pushed);

    ASSERT_EQ(ui::input::ReleaseButton(log.button.GetSafeHwnd()), Result::Ok);
    const size_t released = log.triggers.size();
    ui::AdvanceClock(5000);
    EXPECT_EQ(log.triggers.size(), released);
}

TEST_F(RepeatButtonTest, IntervalShrinksToOneMillisecondAndStaysThere) {
    ASSERT_EQ(ui::input::PressButton(log.button.GetSafeHwnd()), Result::Ok);
    ui::AdvanceClock(20000);
    EXPECT_EQ(log.button.GetInterval(), 1u);
    // The platform does not time below its minimum.
    const std::vector<uint64_t> times = Times();
    ASSERT_GT(times.size(), 10u);
    EXPECT_EQ(times[times.size() - 1] - times[times.size() - 2], ui::USER_TIMER_MINIMUM);
    ASSERT_EQ(ui::input::ReleaseButton(log.button.GetSafeHwnd()), Result::Ok);
}

TEST_F(RepeatButtonTest, AButtonDisabledByItsFirstStepDoesNotRepeat) {
    log.disableOnTrigger = true;
    ASSERT_EQ(ui::input::PressButton(log.button.GetSafeHwnd()), Result::Ok);
    ui::AdvanceClock(2000);
    EXPECT_EQ(log.triggers.size(), 1u);
    EXPECT_EQ(ui::input::ReleaseButton(log.button.GetSafeHwnd()), Result::Ok);
}

TEST_F(RepeatButtonTest, StopsWhenDestroyedOrStoppedAndIgnoresOtherTimers) {
    ASSERT_EQ(ui::input::PressButton(log.button.GetSafeHwnd()), Result::Ok);
    log.button.StopRepeat();
    log.button.SetTimer(2, 50);
    ui::AdvanceClock(1000);
    EXPECT_EQ(log.triggers.size(), 1u);

    ASSERT_EQ(ui::input::ReleaseButton(log.button.GetSafeHwnd()), Result::Ok);
    ASSERT_EQ(ui::input::PressButton(log.button.GetSafeHwnd()), Result::Ok);
    log.button.DestroyWindow();
    ui::AdvanceClock(1000);
    EXPECT_EQ(log.triggers.size(), 2u);
}

}  // namespace
