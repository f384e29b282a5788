// Running ambrel-host through the shell, with its output in files of a scratch folder.
#include "HostRun.h"

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace host_test {

namespace {

std::string Quote(const std::string& s) {
    std::string out = "'";
    for (const char c : s) {
        if (c == '\'')
            out += "'\\''";
        else
            out.push_back(c);
    }
    return out + "'";
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

void WriteFile(const std::filesystem::path& path, const std::string& text) {
    std::ofstream file(path, std::ios::binary);
    file << text;
}

bool IsScanLine(const std::string& line) {
    return line.rfind("debug: ", 0) == 0 && line.find(' ', 7) == std::string::npos;
}

}  // namespace

std::vector<std::string> HostRun::EventLines() const {
    std::vector<std::string> lines;
    std::istringstream in(out);
    std::string line;
    // The plug-in's names and description end with the first empty line.
    while (std::getline(in, line) && !line.empty()) {
    }
    while (std::getline(in, line)) {
        if (IsScanLine(line)) continue;
        lines.push_back(line.rfind('{', 0) == 0 ? "dump" : line);
    }
    return lines;
}

std::string HostRun::Events() const {
    std::string text;
    for (const std::string& line : EventLines()) text += line + "\n";
    return text;
}

::testing::AssertionResult HostRun::HasInOrder(const std::vector<std::string>& wanted) const {
    const std::vector<std::string> lines = EventLines();
    size_t at = 0;
    for (const std::string& want : wanted) {
        while (at < lines.size() && lines[at] != want) ++at;
        if (at == lines.size())
            return ::testing::AssertionFailure()
                   << "missing, or out of order: \"" << want << "\"\nin:\n"
                   << Events() << "stderr: " << err;
        ++at;
    }
    return ::testing::AssertionSuccess();
}

int HostRun::Count(const std::string& line) const {
    int n = 0;
    for (const std::string& l : EventLines()) n += l == line;
    return n;
}

const nlohmann::ordered_json& HostRun::LastDump() const {
    static const nlohmann::ordered_json kNone;
    EXPECT_FALSE(dumps.empty()) << "the host printed no dump; stderr: " << err;
    return dumps.empty() ? kNone : dumps.back();
}

void HostTest::SetUp() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "ambrel-host-test-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    m_dir = pattern;
}

void HostTest::TearDown() {
    std::error_code ec;
    if (!m_dir.empty()) std::filesystem::remove_all(m_dir, ec);
}

void HostTest::ForgetProfile() const {
    for (const char* suffix : {"", "-wal", "-shm", "-journal"})
        std::filesystem::remove(Profile() + suffix);
}

HostRun HostTest::Run(const std::string& script, const std::vector<std::string>& args, bool trace) {
    const std::filesystem::path file = m_dir / ("script-" + std::to_string(++m_runs) + ".txt");
    WriteFile(file, script);
    std::vector<std::string> all = {"--profile", Profile(), "--script", file.string()};
    if (trace) all.push_back("--trace");
    all.insert(all.end(), args.begin(), args.end());
    return RunRaw(all);
}

HostRun HostTest::RunRaw(const std::vector<std::string>& args, const std::string& input,
                         const std::vector<std::string>& env) {
    const int run = ++m_runs;
    const std::filesystem::path in = m_dir / ("in-" + std::to_string(run));
    const std::filesystem::path out = m_dir / ("out-" + std::to_string(run));
    const std::filesystem::path err = m_dir / ("err-" + std::to_string(run));
    WriteFile(in, input);
    std::string command = "cd " + Quote(m_dir.string()) + " && env -u AMBREL_DEBUG_LOG -u " +
                          "XDG_CONFIG_HOME HOME=" + Quote(m_dir.string()) + " ";
    for (const std::string& e : env) command += Quote(e) + " ";
    command += Quote(AMBREL_HOST_PATH);
    for (const std::string& a : args) command += " " + Quote(a);
    command += " <" + Quote(in.string()) + " >" + Quote(out.string()) + " 2>" + Quote(err.string());
    const int raw = std::system(command.c_str());

    HostRun result;
    if (WIFEXITED(raw))
        result.status = WEXITSTATUS(raw);
    else if (WIFSIGNALED(raw))
        result.status = 128 + WTERMSIG(raw);
    result.out = ReadFile(out);
    result.err = ReadFile(err);
    std::istringstream lines(result.out);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind('{', 0) != 0) continue;
        result.dumps.push_back(nlohmann::ordered_json::parse(line, nullptr, false));
        EXPECT_FALSE(result.dumps.back().is_discarded()) << "not JSON: " << line;
    }
    return result;
}

std::string HostTest::Camera(const std::string& model) {
    return std::string(AMBREL_SOURCE_DIR) + "/sim/cameras/" + model;
}

void ExpectGolden(const std::string& name, const std::string& actual) {
    const std::filesystem::path path =
        std::filesystem::path(AMBREL_SOURCE_DIR) / "tests" / "host" / "golden" / name;
    const char* update = std::getenv("AMBREL_UPDATE_GOLDEN");
    if (update && std::string(update) == "1") {
        WriteFile(path, actual);
        return;
    }
    ASSERT_TRUE(std::filesystem::exists(path))
        << path << " is missing; run with AMBREL_UPDATE_GOLDEN=1 to write it";
    EXPECT_EQ(actual, ReadFile(path))
        << "differs from " << path << " (AMBREL_UPDATE_GOLDEN=1 rewrites it)";
}

const nlohmann::ordered_json& ControlOf(const nlohmann::ordered_json& dump, const std::string& page,
                                        int id) {
    static const nlohmann::ordered_json kNone;
    const auto& pages = dump.at("pages");
    if (!pages.contains(page) || pages.at(page).is_null()) return kNone;
    const auto& controls = pages.at(page).at("controls");
    const std::string key = std::to_string(id);
    return controls.contains(key) ? controls.at(key) : kNone;
}

}  // namespace host_test
