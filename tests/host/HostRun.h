// Running ambrel-host on a script in a scratch folder, and reading what it printed.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace host_test {

struct HostRun {
    // The exit status; 128 + the signal when the host was killed (on Windows, the exception code
    // as the exit code).
    int status = -1;
    std::string out;
    std::string banner;  // the plug-in's names and description, from standard error
    std::string err;     // the rest of standard error
    std::vector<nlohmann::ordered_json> dumps;

    // What the host printed, one line each: the trace, camera values and
    // "dump" where a dump was printed. The property scan's debugger lines (one bare name each)
    // are left out: they follow the controller's scan order, not the behaviour under test.
    std::string Events() const;
    std::vector<std::string> EventLines() const;
    // Whether the event lines hold these lines in this order (others may come between).
    ::testing::AssertionResult HasInOrder(const std::vector<std::string>& lines) const;
    int Count(const std::string& line) const;
    const nlohmann::ordered_json& LastDump() const;
};

class HostTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Runs the host with --trace (unless `trace` is false) on `script` and the scratch folder's
    // profile, with `args` added.
    HostRun Run(const std::string& script, const std::vector<std::string>& args = {},
                bool trace = true);
    // Runs the host with exactly these arguments (no profile, script or trace added),
    // `input` as its standard input and `env` ("NAME=value") added to its environment. The
    // scratch folder is its working folder and stands for the user's home (HOME, and APPDATA on
    // Windows); AMBREL_DEBUG_LOG and XDG_CONFIG_HOME are taken out.
    HostRun RunRaw(const std::vector<std::string>& args, const std::string& input = "",
                   const std::vector<std::string>& env = {});

    std::filesystem::path Dir() const { return m_dir; }
    std::string Profile() const { return (m_dir / "profile.db").string(); }
    // Deletes the profile's store (on Windows, empties its registry key), so the next run starts
    // as on a fresh machine.
    void ForgetProfile() const { ForgetStore(Profile()); }
    static void ForgetStore(const std::string& store);
    static std::string Camera(const std::string& model);  // a model of sim/cameras

    // Whether runs parse their dumps (the parse into ordered JSON is quadratic in an object's
    // size).
    bool m_parseDumps = true;

private:
    std::filesystem::path m_dir;
    int m_runs = 0;
};

// A path of the build or the sources as the host is given it: on Windows a full path with its
// drive, so that it means the same file whatever the host's working folder is.
std::string BuildPath(const std::string& path);

// Compares `actual` with tests/host/golden/NAME; with AMBREL_UPDATE_GOLDEN=1 in the environment,
// writes it there instead.
void ExpectGolden(const std::string& name, const std::string& actual);

// The value of one control in a dump.
const nlohmann::ordered_json& ControlOf(const nlohmann::ordered_json& dump, const std::string& page,
                                        int id);

}  // namespace host_test
