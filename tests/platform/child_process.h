// A child process of the test helper, with its standard output (and optionally error) piped back.
#pragma once

#if defined(_WIN32)

#include <windows.h>

#include "WindowsCommandLine.h"

#include <atomic>
#include <filesystem>
#include <string>
#include <vector>

namespace platform_test {

class Child {
public:
    // What Kill answers: Windows ends a process with an exit code, not a signal.
    static constexpr int kKilled = -9;

    // Runs the helper with `args`; `env` entries ("NAME=value") are added to the environment,
    // from which AMBREL_DEBUG_LOG is always removed first.
    explicit Child(const std::vector<std::string>& args, const std::vector<std::string>& env = {},
                   bool captureStderr = false) {
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        HANDLE readEnd = nullptr;
        HANDLE writeEnd = nullptr;
        if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return;
        SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);

        std::wstring commandLine =
            testsupport::QuoteArgument(testsupport::WidenArgument(PLATFORM_HELPER));
        for (const auto& a : args)
            commandLine += L" " + testsupport::QuoteArgument(testsupport::WidenArgument(a));

        std::wstring block;
        if (wchar_t* strings = GetEnvironmentStringsW()) {
            for (const wchar_t* e = strings; *e; e += wcslen(e) + 1)
                if (wcsncmp(e, L"AMBREL_DEBUG_LOG=", 17) != 0) block.append(e).push_back(L'\0');
            FreeEnvironmentStringsW(strings);
        }
        for (const auto& e : env) block.append(testsupport::WidenArgument(e)).push_back(L'\0');
        block.push_back(L'\0');

        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = INVALID_HANDLE_VALUE;
        startup.hStdOutput = writeEnd;
        startup.hStdError = captureStderr ? writeEnd : GetStdHandle(STD_ERROR_HANDLE);
        PROCESS_INFORMATION info{};
        if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE,
                           CREATE_UNICODE_ENVIRONMENT, block.data(), nullptr, &startup, &info)) {
            CloseHandle(info.hThread);
            m_process = info.hProcess;
        }
        CloseHandle(writeEnd);
        m_out = readEnd;
    }

    ~Child() {
        if (m_process) Kill();
        if (m_out) CloseHandle(m_out);
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    bool started() const { return m_process != nullptr; }

    // The next line of output without its newline; empty at the end of the output.
    std::string ReadLine() {
        std::string line;
        char c;
        DWORD got = 0;
        while (ReadFile(m_out, &c, 1, &got, nullptr) && got == 1) {
            if (c == '\n') return line;
            line.push_back(c);
        }
        return line;
    }

    std::string ReadAll() {
        std::string all;
        char buf[4096];
        DWORD got = 0;
        while (ReadFile(m_out, buf, sizeof buf, &got, nullptr) && got > 0) all.append(buf, got);
        return all;
    }

    // The exit code.
    int Wait() {
        if (!m_process || WaitForSingleObject(m_process, INFINITE) != WAIT_OBJECT_0) return -1000;
        DWORD code = 0;
        GetExitCodeProcess(m_process, &code);
        CloseHandle(m_process);
        m_process = nullptr;
        return static_cast<int>(code);
    }

    int Kill() {
        if (!m_process) return -1000;
        TerminateProcess(m_process, 1);
        return Wait() == -1000 ? -1000 : kKilled;
    }

private:
    HANDLE m_process = nullptr;
    HANDLE m_out = nullptr;
};

// A new folder of its own under the system's temporary folder; empty when none could be made.
inline std::string MakeFreshFolder() {
    static std::atomic<int> counter{0};
    const auto path = std::filesystem::temp_directory_path() /
                      ("ambrel-platform-" + std::to_string(GetCurrentProcessId()) + "-" +
                       std::to_string(GetTickCount64()) + "-" + std::to_string(counter++));
    std::error_code error;
    return std::filesystem::create_directory(path, error) ? path.string() : std::string();
}

}  // namespace platform_test

#else

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

extern char** environ;

namespace platform_test {

class Child {
public:
    // What Kill answers: the child ended by SIGKILL.
    static constexpr int kKilled = -SIGKILL;

    // Runs the helper with `args`; `env` entries ("NAME=value") are added to the environment,
    // from which AMBREL_DEBUG_LOG is always removed first.
    explicit Child(const std::vector<std::string>& args, const std::vector<std::string>& env = {},
                   bool captureStderr = false) {
        int fds[2];
        if (::pipe(fds) != 0) return;
        std::vector<std::string> argStore{PLATFORM_HELPER};
        argStore.insert(argStore.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (auto& a : argStore) argv.push_back(a.data());
        argv.push_back(nullptr);

        std::vector<std::string> envStore;
        for (char** e = environ; *e; ++e)
            if (std::strncmp(*e, "AMBREL_DEBUG_LOG=", 17) != 0) envStore.emplace_back(*e);
        envStore.insert(envStore.end(), env.begin(), env.end());
        std::vector<char*> envp;
        for (auto& e : envStore) envp.push_back(e.data());
        envp.push_back(nullptr);

        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
        if (captureStderr) posix_spawn_file_actions_adddup2(&actions, fds[1], STDERR_FILENO);
        posix_spawn_file_actions_addclose(&actions, fds[0]);
        posix_spawn_file_actions_addclose(&actions, fds[1]);
        if (posix_spawn(&m_pid, PLATFORM_HELPER, &actions, nullptr, argv.data(), envp.data()) != 0)
            m_pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        ::close(fds[1]);
        m_out = fds[0];
    }

    ~Child() {
        if (m_pid > 0) Kill();
        if (m_out >= 0) ::close(m_out);
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    bool started() const { return m_pid > 0; }

    // The next line of output without its newline; empty at the end of the output.
    std::string ReadLine() {
        std::string line;
        char c;
        while (::read(m_out, &c, 1) == 1) {
            if (c == '\n') return line;
            line.push_back(c);
        }
        return line;
    }

    std::string ReadAll() {
        std::string all;
        char buf[4096];
        ssize_t n;
        while ((n = ::read(m_out, buf, sizeof buf)) > 0) all.append(buf, static_cast<size_t>(n));
        return all;
    }

    // The exit code, or -signal when a signal ended it.
    int Wait() {
        int status = 0;
        if (m_pid <= 0 || ::waitpid(m_pid, &status, 0) != m_pid) return -1000;
        m_pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
    }

    int Kill() {
        if (m_pid > 0) ::kill(m_pid, SIGKILL);
        return Wait();
    }

private:
    pid_t m_pid = -1;
    int m_out = -1;
};

// A new folder of its own under /tmp; empty when none could be made.
inline std::string MakeFreshFolder() {
    char templ[] = "/tmp/ambrel-platform-XXXXXX";
    return ::mkdtemp(templ) ? std::string(templ) : std::string();
}

}  // namespace platform_test

#endif

namespace platform_test {

// A fresh folder for store files, removed with what it holds.
class TempDir {
public:
    TempDir() : m_path(MakeFreshFolder()) {}
    ~TempDir() {
        std::error_code ignored;
        if (!m_path.empty()) std::filesystem::remove_all(m_path, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    std::string File(const std::string& name) const {
        return (std::filesystem::path(m_path) / name).string();
    }

private:
    std::string m_path;
};

}  // namespace platform_test
