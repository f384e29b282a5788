// Tests of the debugger output sinks: capture, file, standard error, environment, threads.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

#include "child_process.h"
#include "platform/DebugOutput.h"

#if defined(_WIN32)
#include <windows.h>
#endif

namespace {

using platform_test::Child;
using platform_test::TempDir;

std::vector<std::string> FileLines(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

class DebugOutput : public ::testing::Test {
protected:
    void SetUp() override { plat::SetDebugOutputNone(); }
    void TearDown() override { plat::SetDebugOutputNone(); }
};

TEST_F(DebugOutput, OffTakesNoLines) {
    EXPECT_FALSE(plat::DebugOutputEnabled());
    plat::OutputDebugText(L"nobody hears this");  // must simply do nothing
    plat::OutputDebugNarrow(nullptr);
}

TEST_F(DebugOutput, CaptureCollectsWideAndNarrowLines) {
    plat::DebugCapture capture;
    EXPECT_TRUE(plat::DebugOutputEnabled());
    plat::OutputDebugText(L"Port is ====================== 1");
    plat::OutputDebugNarrow("Window.Mode");
    plat::OutputDebugNarrow("Window.Mode");
    plat::OutputDebugText(L"ends with a break\r\n");
    plat::OutputDebugNarrow(nullptr);
    EXPECT_EQ(capture.Lines(),
              (std::vector<std::wstring>{L"Port is ====================== 1", L"Window.Mode",
                                         L"Window.Mode", L"ends with a break"}));
    EXPECT_EQ(capture.Count(L"Window.Mode"), 2u);
    EXPECT_TRUE(capture.Contains(L"ends with a break"));
    EXPECT_FALSE(capture.Contains(L"Window"));
    capture.Clear();
    EXPECT_TRUE(capture.Lines().empty());
}

TEST_F(DebugOutput, CaptureRestoresThePreviousSink) {
    std::vector<std::wstring> seen;
    plat::SetDebugOutputCallback([&](std::wstring_view line) { seen.emplace_back(line); });
    {
        plat::DebugCapture outer;
        {
            plat::DebugCapture inner;
            plat::OutputDebugText(L"inner");
            EXPECT_FALSE(outer.Contains(L"inner"));
        }
        plat::OutputDebugText(L"outer");
        EXPECT_TRUE(outer.Contains(L"outer"));
    }
    plat::OutputDebugText(L"callback");
    EXPECT_EQ(seen, std::vector<std::wstring>{L"callback"});
    plat::SetDebugOutputNone();
    { plat::DebugCapture capture; }
    EXPECT_FALSE(plat::DebugOutputEnabled());
}

TEST_F(DebugOutput, NonAsciiNarrowTextReachesCallbackConverted) {
    plat::DebugCapture capture;
    plat::OutputDebugNarrow("caf\xe9");  // not valid in the "C" code page: kept byte for byte
    EXPECT_TRUE(capture.Contains(L"caf\u00e9"));
}

TEST_F(DebugOutput, FileSinkAppendsUtf8Lines) {
    TempDir dir;
    const std::string path = dir.File("debug.log");
    std::ofstream(path) << "earlier\n";
    ASSERT_TRUE(plat::SetDebugOutputFile(path));
    plat::OutputDebugText(L"Waiting for 2 events to complete");
    plat::OutputDebugText(L"caf\u00e9 \u65e5");
    plat::OutputDebugNarrow("ExposureTime.Min\n");
    plat::OutputDebugNarrow("");
    EXPECT_EQ(FileLines(path),
              (std::vector<std::string>{"earlier", "Waiting for 2 events to complete",
                                        "caf\xc3\xa9 \xe6\x97\xa5", "ExposureTime.Min", ""}));
    EXPECT_FALSE(plat::SetDebugOutputFile(dir.File("no/such/folder/x.log")));
    EXPECT_TRUE(plat::DebugOutputEnabled());  // the failed switch kept the file
}

TEST_F(DebugOutput, LinesFromManyThreadsNeverInterleave) {
    TempDir dir;
    const std::string path = dir.File("threads.log");
    ASSERT_TRUE(plat::SetDebugOutputFile(path));
    constexpr int kThreads = 6;
    constexpr int kLines = 300;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t] {
            const std::string narrow(200, static_cast<char>('a' + t));
            const std::wstring wide(150, static_cast<wchar_t>(L'A' + t));
            for (int i = 0; i < kLines; ++i) {
                plat::OutputDebugNarrow(narrow.c_str());
                plat::OutputDebugText(wide);
            }
        });
    }
    for (auto& th : threads) th.join();
    const auto lines = FileLines(path);
    ASSERT_EQ(lines.size(), static_cast<size_t>(kThreads * kLines * 2));
    for (const auto& line : lines) {
        ASSERT_FALSE(line.empty());
        EXPECT_EQ(line, std::string(line.size(), line[0]));
        EXPECT_TRUE(line.size() == 200 || line.size() == 150) << line.size();
    }
}

TEST_F(DebugOutput, CaptureCollectsFromManyThreads) {
    plat::DebugCapture capture;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([] {
            for (int i = 0; i < 500; ++i) plat::OutputDebugNarrow("line");
        });
    for (auto& th : threads) th.join();
    EXPECT_EQ(capture.Count(L"line"), 2000u);
}

TEST_F(DebugOutput, SwitchingSinksWhileOthersWriteIsSafe) {
    std::atomic<bool> stop{false};
    std::thread writer([&] {
        while (!stop) plat::OutputDebugText(L"busy");
    });
    for (int i = 0; i < 200; ++i) {
        plat::DebugCapture capture;
        plat::SetDebugOutputCallback([](std::wstring_view) {});
    }
    stop = true;
    writer.join();
}

TEST_F(DebugOutput, SettingNamesTheSink) {
    TempDir dir;
    EXPECT_TRUE(plat::detail::ApplyDebugLogSetting("stderr"));
    EXPECT_TRUE(plat::DebugOutputEnabled());
    EXPECT_TRUE(plat::detail::ApplyDebugLogSetting(""));
    EXPECT_FALSE(plat::DebugOutputEnabled());
    EXPECT_TRUE(plat::detail::ApplyDebugLogSetting(dir.File("env.log").c_str()));
    plat::OutputDebugText(L"to the file");
    EXPECT_EQ(FileLines(dir.File("env.log")), std::vector<std::string>{"to the file"});
    EXPECT_FALSE(plat::detail::ApplyDebugLogSetting(dir.File("missing/env.log").c_str()));
    EXPECT_TRUE(plat::detail::ApplyDebugLogSetting("stderr"));
    EXPECT_TRUE(plat::detail::ApplyDebugLogSetting("none"));
    EXPECT_FALSE(plat::DebugOutputEnabled());
    // Unset: the system's debugger service where there is one.
    EXPECT_TRUE(plat::detail::ApplyDebugLogSetting(nullptr));
#if defined(_WIN32)
    EXPECT_TRUE(plat::DebugOutputEnabled());
#else
    EXPECT_FALSE(plat::DebugOutputEnabled());
#endif
}

#if defined(_WIN32)
// A debug monitor's side of the system's debug-string protocol: a shared buffer that a writer
// fills (process id, then the text) once the monitor says it is ready, and an event it sets then.
class DebugMonitor {
public:
    DebugMonitor()
        : m_buffer(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kSize,
                                      L"DBWIN_BUFFER")),
          m_bufferReady(CreateEventW(nullptr, FALSE, FALSE, L"DBWIN_BUFFER_READY")),
          m_dataReady(CreateEventW(nullptr, FALSE, FALSE, L"DBWIN_DATA_READY")),
          m_view(m_buffer ? MapViewOfFile(m_buffer, FILE_MAP_READ, 0, 0, kSize) : nullptr) {}
    ~DebugMonitor() {
        if (m_view) UnmapViewOfFile(m_view);
        for (HANDLE h : {m_buffer, m_bufferReady, m_dataReady})
            if (h) CloseHandle(h);
    }
    DebugMonitor(const DebugMonitor&) = delete;
    DebugMonitor& operator=(const DebugMonitor&) = delete;

    bool ok() const { return m_view && m_bufferReady && m_dataReady; }
    void Ready() { SetEvent(m_bufferReady); }
    // The text of the next string written, with the writer's process id; empty after a wait
    // of five seconds.
    std::string Next(DWORD* pid) {
        if (WaitForSingleObject(m_dataReady, 5000) != WAIT_OBJECT_0) return {};
        const auto* bytes = static_cast<const char*>(m_view);
        std::memcpy(pid, bytes, sizeof *pid);
        return std::string(bytes + sizeof *pid, strnlen(bytes + sizeof *pid, kSize - sizeof *pid));
    }

private:
    static constexpr DWORD kSize = 4096;
    HANDLE m_buffer;
    HANDLE m_bufferReady;
    HANDLE m_dataReady;
    void* m_view;
};

TEST_F(DebugOutput, DebuggerSettingAndNoSettingWriteToTheSystemsDebugStrings) {
    DebugMonitor monitor;
    ASSERT_TRUE(monitor.ok());
    for (const char* setting : {"debugger", static_cast<const char*>(nullptr)}) {
        ASSERT_TRUE(plat::detail::ApplyDebugLogSetting(setting));
        EXPECT_TRUE(plat::DebugOutputEnabled());
        DWORD pid = 0;
        monitor.Ready();
        plat::OutputDebugText(L"Port is ====================== 2\r\n");
        EXPECT_EQ(monitor.Next(&pid), "Port is ====================== 2");
        EXPECT_EQ(pid, GetCurrentProcessId());
        monitor.Ready();
        plat::OutputDebugNarrow("Window.Mode");
        EXPECT_EQ(monitor.Next(&pid), "Window.Mode");
    }
}
#endif

TEST(DebugOutputEnvironment, ChildProcessFollowsTheVariable) {
    TempDir dir;
    const std::string path = dir.File("child.log");
    {
        Child child({"debug", "Port is 3"}, {"AMBREL_DEBUG_LOG=" + path});
        ASSERT_TRUE(child.started());
        EXPECT_EQ(child.Wait(), 0);
    }
    EXPECT_EQ(FileLines(path), (std::vector<std::string>{"wide:Port is 3", "narrow:Port is 3"}));
    {
        Child child({"debug", "x"}, {"AMBREL_DEBUG_LOG=stderr"}, true);
        EXPECT_EQ(child.ReadAll(), "wide:x\nnarrow:x\n");
        EXPECT_EQ(child.Wait(), 0);
    }
    {
        Child child({"debug", "x"}, {}, true);
        EXPECT_EQ(child.ReadAll(), "");
        EXPECT_EQ(child.Wait(), 0);
    }
}

}  // namespace
