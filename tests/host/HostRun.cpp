// Running ambrel-host as a subprocess (through the shell; on Windows, directly), with its
// standard streams in files of a scratch folder.
#include "HostRun.h"

#if defined(_WIN32)
#include <windows.h>

#include "WindowsCommandLine.h"
#else
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/Registry.h"

namespace host_test {

namespace {

// How the host is started: its arguments, working folder, standard streams and environment.
struct Launch {
    std::vector<std::string> args;
    std::filesystem::path dir;
    std::filesystem::path in, out, err;
    std::vector<std::string> unset;  // names taken out of the environment
    std::vector<std::string> set;    // "NAME=value", replacing any of that name
};

#if defined(_WIN32)

using testsupport::QuoteArgument;
using testsupport::WidenArgument;

// Whether the environment entry "NAME=value" has this name; names compare without regard to case.
bool HasName(const std::wstring& entry, const std::wstring& name) {
    return entry.size() > name.size() && entry[name.size()] == L'=' &&
           CompareStringOrdinal(entry.c_str(), static_cast<int>(name.size()), name.c_str(),
                                static_cast<int>(name.size()), TRUE) == CSTR_EQUAL;
}

HANDLE OpenStream(const std::filesystem::path& path, bool write) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    return CreateFileW(path.wstring().c_str(), write ? GENERIC_WRITE : GENERIC_READ,
                       FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                       write ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// The exit code, or -1 when the host could not be started.
int Start(const Launch& launch) {
    std::wstring commandLine;
    for (const std::string& a : launch.args)
        commandLine += (commandLine.empty() ? L"" : L" ") + QuoteArgument(WidenArgument(a));

    std::vector<std::wstring> names;
    for (const std::string& n : launch.unset) names.push_back(WidenArgument(n));
    for (const std::string& e : launch.set)
        names.push_back(WidenArgument(e.substr(0, e.find('='))));
    std::wstring block;
    if (wchar_t* strings = GetEnvironmentStringsW()) {
        for (const wchar_t* e = strings; *e; e += wcslen(e) + 1) {
            const std::wstring entry(e);
            bool keep = true;
            for (const std::wstring& name : names) keep = keep && !HasName(entry, name);
            if (keep) block.append(entry).push_back(L'\0');
        }
        FreeEnvironmentStringsW(strings);
    }
    // A later setting of a name replaces an earlier one.
    std::vector<std::wstring> settings;
    for (const std::string& e : launch.set) {
        const std::wstring entry = WidenArgument(e);
        const std::wstring name = entry.substr(0, entry.find(L'='));
        std::erase_if(settings, [&](const std::wstring& s) { return HasName(s, name); });
        settings.push_back(entry);
    }
    for (const std::wstring& entry : settings) block.append(entry).push_back(L'\0');
    block.push_back(L'\0');

    const HANDLE in = OpenStream(launch.in, false);
    const HANDLE out = OpenStream(launch.out, true);
    const HANDLE err = OpenStream(launch.err, true);
    int status = -1;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = in;
    startup.hStdOutput = out;
    startup.hStdError = err;
    PROCESS_INFORMATION info{};
    if (in != INVALID_HANDLE_VALUE && out != INVALID_HANDLE_VALUE && err != INVALID_HANDLE_VALUE &&
        CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE,
                       CREATE_UNICODE_ENVIRONMENT, block.data(), launch.dir.wstring().c_str(),
                       &startup, &info)) {
        CloseHandle(info.hThread);
        DWORD code = 0;
        if (WaitForSingleObject(info.hProcess, INFINITE) == WAIT_OBJECT_0 &&
            GetExitCodeProcess(info.hProcess, &code))
            status = static_cast<int>(code);
        CloseHandle(info.hProcess);
    }
    for (const HANDLE h : {in, out, err})
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    return status;
}

std::filesystem::path MakeScratchFolder() {
    static std::atomic<int> counter{0};
    const auto base = std::filesystem::temp_directory_path();
    for (;;) {
        const auto dir = base / ("ambrel-host-test-" + std::to_string(GetCurrentProcessId()) + "-" +
                                 std::to_string(counter++));
        std::error_code ec;
        if (std::filesystem::create_directory(dir, ec)) return dir;
        if (ec) return {};
    }
}

#else

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

int Start(const Launch& launch) {
    // Appended piece by piece: GCC 12 at -O3 takes `" " + temporary` for an overlapping copy.
    std::string command = "cd ";
    command.append(Quote(launch.dir.string())).append(" && env");
    for (const std::string& name : launch.unset) command.append(" -u ").append(Quote(name));
    for (const std::string& e : launch.set) command.append(" ").append(Quote(e));
    for (const std::string& a : launch.args) command.append(" ").append(Quote(a));
    command.append(" <").append(Quote(launch.in.string()));
    command.append(" >").append(Quote(launch.out.string()));
    command.append(" 2>").append(Quote(launch.err.string()));
    const int raw = std::system(command.c_str());
    if (WIFEXITED(raw)) return WEXITSTATUS(raw);
    if (WIFSIGNALED(raw)) return 128 + WTERMSIG(raw);
    return -1;
}

std::filesystem::path MakeScratchFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "ambrel-host-test-XXXXXX").string();
    return mkdtemp(pattern.data()) ? std::filesystem::path(pattern) : std::filesystem::path();
}

#endif

std::string ReadText(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

void WriteText(const std::filesystem::path& path, const std::string& text) {
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
    m_dir = MakeScratchFolder();
    ASSERT_FALSE(m_dir.empty()) << "no scratch folder";
}

void HostTest::TearDown() {
#if defined(_WIN32)
    // The profile's store is a key of the registry, not a file of the scratch folder.
    ForgetProfile();
#endif
    std::error_code ec;
    if (!m_dir.empty()) std::filesystem::remove_all(m_dir, ec);
}

void HostTest::ForgetStore(const std::string& store) {
#if defined(_WIN32)
    namespace reg = plat::reg;
    ASSERT_TRUE(reg::OpenStore(store));
    reg::KeyGuard root;
    if (reg::OpenKey(L"", root.out()) == reg::kSuccess) reg::DeleteTree(root.get(), L"");
    reg::UseMemoryStore();
#else
    for (const char* suffix : {"", "-wal", "-shm", "-journal"})
        std::filesystem::remove(store + suffix);
#endif
}

HostRun HostTest::Run(const std::string& script, const std::vector<std::string>& args, bool trace) {
    const std::filesystem::path file = m_dir / ("script-" + std::to_string(++m_runs) + ".txt");
    WriteText(file, script);
    std::vector<std::string> all = {"--profile", Profile(), "--script", file.string()};
    if (trace) all.push_back("--trace");
    all.insert(all.end(), args.begin(), args.end());
    return RunRaw(all);
}

HostRun HostTest::RunRaw(const std::vector<std::string>& args, const std::string& input,
                         const std::vector<std::string>& env) {
    const int run = ++m_runs;
    Launch launch;
    launch.args.push_back(BuildPath(AMBREL_HOST_PATH));
    launch.args.insert(launch.args.end(), args.begin(), args.end());
    launch.dir = m_dir;
    launch.in = m_dir / ("in-" + std::to_string(run));
    launch.out = m_dir / ("out-" + std::to_string(run));
    launch.err = m_dir / ("err-" + std::to_string(run));
    launch.unset = {"AMBREL_DEBUG_LOG", "XDG_CONFIG_HOME"};
    launch.set = {"HOME=" + m_dir.string()};
#if defined(_WIN32)
    launch.set.push_back("APPDATA=" + m_dir.string());
#endif
    launch.set.insert(launch.set.end(), env.begin(), env.end());
    WriteText(launch.in, input);
    const int status = Start(launch);

    HostRun result;
    result.status = status;
    result.out = ReadText(launch.out);
    result.err = ReadText(launch.err);
    // The banner ends with its first empty line.
    if (const size_t end = result.err.find("\n\n");
        result.err.starts_with("plug-in: ") && end != std::string::npos) {
        result.banner = result.err.substr(0, end + 2);
        result.err.erase(0, end + 2);
    }
    std::istringstream lines(result.out);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind('{', 0) != 0 || !m_parseDumps) continue;
        result.dumps.push_back(nlohmann::ordered_json::parse(line, nullptr, false));
        EXPECT_FALSE(result.dumps.back().is_discarded()) << "not JSON: " << line;
    }
    return result;
}

std::string HostTest::Camera(const std::string& model) {
    return BuildPath(std::string(AMBREL_SOURCE_DIR) + "/sim/cameras/" + model);
}

std::string BuildPath(const std::string& path) {
#if defined(_WIN32)
    // The build's paths have no drive; the test program runs in a folder of the build, so its
    // own working folder gives them theirs.
    std::error_code ec;
    const auto full = std::filesystem::absolute(path, ec);
    return ec ? path : full.lexically_normal().make_preferred().string();
#else
    return path;
#endif
}

void ExpectGolden(const std::string& name, const std::string& actual) {
    const std::filesystem::path path =
        std::filesystem::path(AMBREL_SOURCE_DIR) / "tests" / "host" / "golden" / name;
    const char* update = std::getenv("AMBREL_UPDATE_GOLDEN");
    if (update && std::string(update) == "1") {
        WriteText(path, actual);
        return;
    }
    ASSERT_TRUE(std::filesystem::exists(path))
        << path << " is missing; run with AMBREL_UPDATE_GOLDEN=1 to write it";
    EXPECT_EQ(actual, ReadText(path))
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
