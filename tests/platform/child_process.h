// A child process of the test helper, with its standard output (and optionally error) piped back.
#pragma once

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

extern char** environ;

namespace platform_test {

class Child {
public:
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

// A fresh folder for store files, removed with what it holds.
class TempDir {
public:
    TempDir() {
        char templ[] = "/tmp/ambrel-platform-XXXXXX";
        if (::mkdtemp(templ)) m_path = templ;
    }
    ~TempDir() {
        if (!m_path.empty()) std::system(("rm -rf '" + m_path + "'").c_str());
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    std::string File(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

}  // namespace platform_test
