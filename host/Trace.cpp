// Trace lines in the host's fixed forms ("camera: NAME = VALUE -> READ", "host: roi X Y W H").
#include "Trace.h"

#include <platform/DebugOutput.h>

#include <cstdio>
#include <ostream>

#include "DGrabModule.h"
#include "HostText.h"
#include "SimCamera.h"
#include "platform/Utf8.h"

namespace host {

Trace::Trace(std::ostream& out) : m_out(out) {}

Trace::~Trace() {
    Stop();
}

void Trace::Start() {
    if (m_on) return;
    m_on = true;
    if (pfsim::CameraControl* camera = LinkedSimulator()) {
        camera->ObserveWrites([this](int32_t, const std::string& name, double sent, double held,
                                     int32_t code) { CameraWrite(name, sent, held, code); });
        camera->ObservePorts(
            [this](int32_t port, bool open, int32_t code) { CameraPort(port, open, code); });
    }
    plat::SetDebugOutputCallback([this](std::wstring_view text) { Debug(text); });
}

void Trace::Stop() {
    if (!m_on) return;
    m_on = false;
    if (pfsim::CameraControl* camera = LinkedSimulator()) {
        camera->ObserveWrites(nullptr);
        camera->ObservePorts(nullptr);
    }
    plat::SetDebugOutputNone();
}

void Trace::StartCalls() {
    pfsim::CameraControl* camera = LinkedSimulator();
    if (!camera) return;
    m_calls = true;
    camera->EnableCallLog(true);
    camera->TakeCalls(nullptr);
}

void Trace::FlushCalls() {
    std::lock_guard lock(m_mutex);
    WriteCalls();
    m_out.flush();
}

void Trace::CameraWrite(const std::string& name, double sent, double held, int32_t code) {
    std::string line = "camera: " + name + " = " + FormatNumber(sent);
    if (code != 0) {
        Line(line + " failed " + std::to_string(code));
        return;
    }
    // Compared as written, so a real kept at single precision is no correction.
    const std::string read = FormatNumber(held);
    if (read != FormatNumber(sent)) line += " -> " + read;
    Line(line);
}

void Trace::CameraPort(int32_t port, bool open, int32_t code) {
    if (!open)
        Line("camera: close " + std::to_string(port));
    else if (code == 0)
        Line("camera: open " + std::to_string(port));
    else
        Line("camera: open " + std::to_string(port) + " failed " + std::to_string(code));
}

void Trace::Roi(const DGrabRegion& region) {
    Line("host: roi " + std::to_string(region.x) + " " + std::to_string(region.y) + " " +
         std::to_string(region.width) + " " + std::to_string(region.height));
}

void Trace::Grabbing(bool on) {
    Line(on ? "host: grabbing on" : "host: grabbing off");
}

void Trace::Dialog(bool added) {
    Line(added ? "host: dialog added" : "host: dialog removed");
}

void Trace::Profile(std::wstring_view section, const wchar_t* entry, const std::wstring* value,
                    const std::string* failure) {
    std::string line = "host: profile " + plat::ToUtf8(section);
    // Appended piece by piece: GCC 12 at -O3 takes `" " + temporary` for an overlapping copy.
    if (entry) line.append(" ").append(plat::ToUtf8(entry));
    if (value && entry) {
        line.append(" = ").append(plat::ToUtf8(*value));
    } else {
        line.append(" deleted");
    }
    if (failure) line.append(" failed: ").append(*failure);
    Line(line);
}

void Trace::Debug(std::wstring_view text) {
    Line("debug: " + plat::ToUtf8(text));
}

void Trace::Message(std::wstring_view text) {
    Line("host: message " + plat::ToUtf8(text));
}

void Trace::Line(const std::string& text) {
    if (!m_on) return;
    std::lock_guard lock(m_mutex);
    WriteCalls();
    m_out << text << '\n';
    m_out.flush();
}

namespace {

// A library text as one line: control characters and backslashes escaped.
std::string CallText(const std::string& text) {
    std::string out;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\') {
            out += "\\\\";
        } else if (byte < 0x20 || byte == 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace

void Trace::WriteCalls() {
    if (!m_calls) return;
    uint64_t made = 0;
    const std::vector<pfsim::Call> calls = LinkedSimulator()->TakeCalls(&made);
    if (made > calls.size())
        m_out << "call: " << (made - calls.size()) << " earlier call(s) beyond the log's "
              << pfsim::kMaxLoggedCalls << " not shown\n";
    for (const pfsim::Call& call : calls) {
        m_out << "call: " << call.op << '(';
        for (size_t i = 0; i < call.args.size(); ++i)
            m_out << (i ? ", " : "") << CallText(call.args[i]);
        m_out << ") = " << CallText(call.result) << '\n';
    }
}

}  // namespace host
