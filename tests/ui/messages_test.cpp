// Tests of sending and posting, the pump, registered messages, destruction and timers.
#include <algorithm>
#include <atomic>
#include <set>
#include <thread>

#include "UiTestSupport.h"

namespace uitest {
namespace {

// A plain window that writes every message it gets into a shared log, with its name.
class Recorder : public CWnd {
public:
    Recorder(std::string name, Log& log) : m_name(std::move(name)), m_log(log) {}
    std::function<void(UINT, WPARAM)> react;
    int postNcDestroyCalls = 0;

    bool Create(CWnd* parent = nullptr) {
        return CreateEx(0, L"TestWindow", L"", parent ? WS_CHILD | WS_VISIBLE : WS_POPUP,
                        RECT{0, 0, 100, 100}, parent, 1);
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message >= WM_USER || message == WM_DESTROY || message == WM_NCDESTROY ||
            message == WM_TIMER) {
            std::string line = m_name + " ";
            if (message == WM_DESTROY)
                line += "WM_DESTROY";
            else if (message == WM_NCDESTROY)
                line += "WM_NCDESTROY";
            else if (message == WM_TIMER)
                line +=
                    "WM_TIMER " + std::to_string(wParam) + " @" + std::to_string(GetTickCount());
            else
                line += Describe(message, wParam, lParam);
            m_log.push_back(line);
        }
        if (react) react(message, wParam);
        return CWnd::WindowProc(message, wParam, lParam);
    }
    void PostNcDestroy() override { ++postNcDestroyCalls; }

private:
    std::string m_name;
    Log& m_log;
};

class Messages : public UiTest {
protected:
    Log log;
};

TEST_F(Messages, SendRunsAtOncePostedRunAfterTheHandlerInPostingOrder) {
    Recorder w("w", log);
    ASSERT_TRUE(w.Create());
    w.react = [&](UINT message, WPARAM) {
        if (message == WM_USER) {
            w.PostMessage(WM_USER + 1);
            w.PostMessage(WM_USER + 2);
            w.SendMessage(WM_USER + 3);
        }
        if (message == WM_USER + 1) w.PostMessage(WM_USER + 4);  // posted while pumping
    };
    w.SendMessage(WM_USER);
    EXPECT_EQ(log, (Log{"w WM_USER+0 0", "w WM_USER+3 0"}));
    EXPECT_EQ(PumpMessages(), 3u);
    EXPECT_EQ(log, (Log{"w WM_USER+0 0", "w WM_USER+3 0", "w WM_USER+1 0", "w WM_USER+2 0",
                        "w WM_USER+4 0"}));
    EXPECT_EQ(PumpMessages(), 0u);
}

TEST_F(Messages, PostingToAGoneWindowIsDropped) {
    Recorder w("w", log);
    ASSERT_TRUE(w.Create());
    const HWND hwnd = w.m_hWnd;
    EXPECT_TRUE(PostMessage(hwnd, WM_USER + 7, 1, 0));
    w.DestroyWindow();
    log.clear();
    EXPECT_EQ(PumpMessages(), 0u);
    EXPECT_TRUE(log.empty());
    EXPECT_FALSE(PostMessage(hwnd, WM_USER + 7, 1, 0));
}

TEST_F(Messages, AnotherThreadPostsToTheOwnersQueue) {
    Recorder w("w", log);
    ASSERT_TRUE(w.Create());
    std::thread::id ranOn;
    w.react = [&](UINT message, WPARAM) {
        if (message == WM_USER + 9) ranOn = std::this_thread::get_id();
    };
    const HWND hwnd = w.m_hWnd;
    std::thread([hwnd] {
        for (WPARAM i = 0; i < 50; ++i) PostMessage(hwnd, WM_USER + 9, i, 0);
    }).join();
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(PumpMessages(), 50u);
    EXPECT_EQ(ranOn, std::this_thread::get_id());
    ASSERT_EQ(log.size(), 50u);
    EXPECT_EQ(log.back(), "w WM_USER+9 49");
}

TEST_F(Messages, RegisteredMessagesAreOneNumberPerNameProcessWide) {
    const UINT a = RegisterWindowMessage(L"AMBREL_TEST_REFRESH_EDIT");
    const UINT b = RegisterWindowMessage(L"AMBREL_TEST_REFRESH_SLIDER");
    EXPECT_GE(a, kRegisteredMessageFirst);
    EXPECT_LE(a, kRegisteredMessageLast);
    EXPECT_NE(a, b);
    EXPECT_EQ(RegisterWindowMessage(L"AMBREL_TEST_REFRESH_EDIT"), a);
    EXPECT_EQ(RegisterWindowMessage(L"ambrel_test_refresh_edit"), a);  // atoms ignore case
    EXPECT_EQ(RegisterWindowMessage(L""), 0u);
    EXPECT_EQ(RegisterWindowMessage(nullptr), 0u);

    std::vector<std::thread> threads;
    std::vector<UINT> seen(8);
    for (std::size_t t = 0; t < seen.size(); ++t)
        threads.emplace_back([&seen, t] {
            for (int i = 0; i < 100; ++i)
                RegisterWindowMessage((L"AMBREL_TEST_MT_" + std::to_wstring(i)).c_str());
            seen[t] = RegisterWindowMessage(L"AMBREL_TEST_MT_42");
        });
    for (auto& t : threads) t.join();
    EXPECT_TRUE(std::all_of(seen.begin(), seen.end(), [&](UINT v) { return v == seen[0]; }));
    std::set<UINT> distinct;
    for (int i = 0; i < 100; ++i)
        distinct.insert(RegisterWindowMessage((L"AMBREL_TEST_MT_" + std::to_wstring(i)).c_str()));
    EXPECT_EQ(distinct.size(), 100u);
}

TEST_F(Messages, DestroyTellsParentsFirstAndFreesChildrenFirst) {
    Recorder parent("parent", log), first("first", log), grandchild("grandchild", log),
        second("second", log);
    ASSERT_TRUE(parent.Create());
    ASSERT_TRUE(first.Create(&parent));
    ASSERT_TRUE(grandchild.Create(&first));
    ASSERT_TRUE(second.Create(&parent));
    bool childrenAliveDuringParentDestroy = false;
    parent.react = [&](UINT message, WPARAM) {
        if (message == WM_DESTROY)
            childrenAliveDuringParentDestroy = IsWindow(first.m_hWnd) && IsWindow(second.m_hWnd);
    };
    const HWND hwnds[] = {parent.m_hWnd, first.m_hWnd, grandchild.m_hWnd, second.m_hWnd};
    ASSERT_TRUE(parent.DestroyWindow());
    EXPECT_EQ(log, (Log{"parent WM_DESTROY", "first WM_DESTROY", "grandchild WM_DESTROY",
                        "second WM_DESTROY", "grandchild WM_NCDESTROY", "first WM_NCDESTROY",
                        "second WM_NCDESTROY", "parent WM_NCDESTROY"}));
    EXPECT_TRUE(childrenAliveDuringParentDestroy);
    for (HWND h : hwnds) {
        EXPECT_FALSE(IsWindow(h));
        // Calls with a destroyed handle are harmless no-ops.
        EXPECT_EQ(SendMessage(h, WM_USER), 0);
        EXPECT_FALSE(ShowWindow(h, SW_SHOW));
        EXPECT_FALSE(SetWindowText(h, L"x"));
        EXPECT_EQ(GetWindowText(h), L"");
        EXPECT_EQ(SetTimer(h, 1, 10), 0u);
        EXPECT_FALSE(DestroyWindow(h));
    }
    EXPECT_EQ(parent.m_hWnd, nullptr);
    EXPECT_EQ(grandchild.m_hWnd, nullptr);
    EXPECT_EQ(parent.postNcDestroyCalls, 1);
}

TEST_F(Messages, DeletingAWindowObjectDestroysItsWindow) {
    HWND hwnd = nullptr;
    {
        Recorder w("w", log);
        ASSERT_TRUE(w.Create());
        hwnd = w.m_hWnd;
    }
    EXPECT_FALSE(IsWindow(hwnd));
}

class Timers : public Messages {};

TEST_F(Timers, FireOnlyFromThePumpInDueOrder) {
    Recorder a("a", log), b("b", log);
    ASSERT_TRUE(a.Create());
    ASSERT_TRUE(b.Create());
    const auto start = GetTickCount();
    a.SetTimer(1, 30);
    b.SetTimer(2, 20);
    EXPECT_EQ(PumpMessages(), 0u);  // nothing is due until the clock moves
    AdvanceClock(65);
    auto at = [&](int ms) { return " @" + std::to_string(start + ms); };
    EXPECT_EQ(log, (Log{"b WM_TIMER 2" + at(20), "a WM_TIMER 1" + at(30), "b WM_TIMER 2" + at(40),
                        "a WM_TIMER 1" + at(60), "b WM_TIMER 2" + at(60)}));
    EXPECT_EQ(GetTickCount(), start + 65);
}

TEST_F(Timers, ATimerSetAgainInItsHandlerCountsFromTheFiring) {
    Recorder w("w", log);
    ASSERT_TRUE(w.Create());
    const auto start = GetTickCount();
    UINT interval = 500;
    w.react = [&](UINT message, WPARAM id) {
        if (message != WM_TIMER || id != 1) return;
        interval = interval == 500 ? 100 : interval;
        if (interval > 1) --interval;
        w.SetTimer(1, interval);
    };
    w.SetTimer(1, 500);
    AdvanceClock(800);
    auto at = [&](int ms) { return "w WM_TIMER 1 @" + std::to_string(start + ms); };
    EXPECT_EQ(log, (Log{at(500), at(599), at(697), at(794)}));
}

TEST_F(Timers, PostedMessagesRunBetweenFirings) {
    Recorder w("w", log);
    ASSERT_TRUE(w.Create());
    const auto start = GetTickCount();
    w.react = [&](UINT message, WPARAM id) {
        if (message == WM_TIMER) w.PostMessage(WM_USER + 1, id);
    };
    w.SetTimer(1, 10);
    w.SetTimer(2, 15);
    AdvanceClock(20);
    auto at = [&](int ms) { return " @" + std::to_string(start + ms); };
    EXPECT_EQ(log, (Log{"w WM_TIMER 1" + at(10), "w WM_USER+1 1", "w WM_TIMER 2" + at(15),
                        "w WM_USER+1 2", "w WM_TIMER 1" + at(20), "w WM_USER+1 1"}));
}

TEST_F(Timers, KilledDestroyedAndShortTimers) {
    Recorder w("w", log), gone("gone", log);
    ASSERT_TRUE(w.Create());
    ASSERT_TRUE(gone.Create());
    const auto start = GetTickCount();
    w.SetTimer(1, 1);  // the platform's minimum is 10 ms
    w.SetTimer(2, 10);
    EXPECT_TRUE(w.KillTimer(2));
    EXPECT_FALSE(w.KillTimer(2));
    gone.SetTimer(3, 10);
    gone.DestroyWindow();
    log.clear();
    AdvanceClock(10);
    EXPECT_EQ(log, (Log{"w WM_TIMER 1 @" + std::to_string(start + 10)}));
}

}  // namespace
}  // namespace uitest
