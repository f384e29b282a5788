// Parsing and running the automation language through the dialog framework's user input.
#include "ScriptRunner.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <istream>
#include <ostream>
#include <system_error>

#include "CModule.h"
#include "HostApplication.h"
#include "HostText.h"
#include "Pages.h"
#include "Picture.h"
#include "StateDump.h"
#include "platform/Registry.h"
#include "platform/Utf8.h"
#include "ui/Input.h"
#include "ui/Snapshot.h"
#include "ui/Window.h"

namespace host {

namespace {

constexpr long long kMaxWaitMs = 24LL * 60 * 60 * 1000;
constexpr const char* kPrompt = "ambrel> ";
// A script that never ends a line (a device, a binary file) must not take all memory.
constexpr size_t kMaxLineBytes = 64 * 1024;
// What of a bad line a message repeats.
constexpr size_t kMaxReasonBytes = 200;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

enum class LineRead { Line, End, TooLong };

// The next line; LF, CRLF and CR each end one. A read error throws from the stream buffer.
LineRead ReadScriptLine(std::streambuf& in, std::string* line) {
    using Traits = std::char_traits<char>;
    line->clear();
    for (int c = in.sbumpc();; c = in.sbumpc()) {
        if (Traits::eq_int_type(c, Traits::eof()))
            return line->empty() ? LineRead::End : LineRead::Line;
        if (c == '\n') return LineRead::Line;
        if (c == '\r') {
            if (in.sgetc() == '\n') in.sbumpc();
            return LineRead::Line;
        }
        if (line->size() == kMaxLineBytes) return LineRead::TooLong;
        line->push_back(Traits::to_char_type(c));
    }
}

// The length of the UTF-8 sequence at `at` that is a printable character, 0 when the byte there
// is a control character (C0, DEL, C1) or no part of a sequence.
size_t PrintableAt(std::string_view text, size_t at) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80) return lead >= 0x20 && lead != 0x7F ? 1 : 0;
    const size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
    if (length == 0 || lead > 0xF4 || at + length > text.size()) return 0;
    for (size_t i = 1; i < length; ++i)
        if ((byte(at + i) & 0xC0) != 0x80) return 0;
    if (lead == 0xC2 && byte(at + 1) < 0xA0) return 0;  // C1 controls
    return length;
}

// Control bytes and bytes that are no character shown as \xNN, so that a message never moves
// the terminal's cursor or changes its state.
std::string Escaped(std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out;
    for (size_t i = 0; i < text.size();) {
        if (const size_t n = PrintableAt(text, i); n > 0) {
            out.append(text.substr(i, n));
            i += n;
            continue;
        }
        const auto byte = static_cast<unsigned char>(text[i++]);
        out += "\\x";
        out += kHex[byte >> 4];
        out += kHex[byte & 0xF];
    }
    return out;
}

// A reason cut short at a character boundary, saying how long it was, and escaped.
std::string Bounded(std::string reason) {
    if (reason.size() <= kMaxReasonBytes) return Escaped(reason);
    const size_t whole = reason.size();
    size_t cut = kMaxReasonBytes;
    while (cut > 0 && (static_cast<unsigned char>(reason[cut]) & 0xC0) == 0x80) --cut;
    reason.resize(cut);
    return Escaped(reason) + "... (" + std::to_string(whole) + " bytes)";
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

bool ParseInt(const std::string& text, long long* value) {
    const char* begin = text.data();
    const char* end = begin + text.size();
    if (begin != end && *begin == '+') ++begin;
    const auto [ptr, ec] = std::from_chars(begin, end, *value);
    return ec == std::errc() && ptr == end && begin != end;
}

bool ParseReal(const std::string& text, double* value) {
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), *value);
    return ec == std::errc() && ptr == text.data() + text.size() && !text.empty() &&
           std::isfinite(*value);
}

std::string Describe(ui::input::Result result, const std::string& control) {
    return plat::ToUtf8(ui::input::Describe(result)) + ": " + control;
}

std::string ArgumentCount(const std::string& action, const char* usage) {
    return "wrong number of arguments for " + action + " (usage: " + usage + ")";
}

}  // namespace

ScriptRunner::ScriptRunner(HostApplication& app, std::ostream& out) : m_app(app), m_out(out) {}

bool ScriptRunner::Run(std::istream& in, std::string* error) {
    std::streambuf* source = in.rdbuf();
    std::string line;
    for (long long number = 1;; ++number) {
        if (Stopped()) return true;
        LineRead read = LineRead::End;
        try {
            read = source ? ReadScriptLine(*source, &line) : LineRead::End;
        } catch (const std::system_error& e) {
            *error = "cannot read the script: " + e.code().message();
            return false;
        }
        // A line cut short by the request to end is not run.
        if (read == LineRead::End || Stopped()) break;
        if (read == LineRead::TooLong) {
            *error = "line " + std::to_string(number) + ": longer than " +
                     std::to_string(kMaxLineBytes) + " bytes";
            return false;
        }
        if (number == 1 && line.starts_with(kByteOrderMark)) line.erase(0, kByteOrderMark.size());
        std::string reason;
        const bool ran = RunLine(line, &reason);
        if (m_afterLine) m_afterLine();
        if (!ran) {
            *error = "line " + std::to_string(number) + ": " + Bounded(std::move(reason));
            return false;
        }
    }
    // Standard input goes through the C library's stream, which keeps its read errors there.
    if (source == std::cin.rdbuf() && std::ferror(stdin) && !Stopped()) {
        *error = std::string("cannot read the script: ") + std::strerror(errno);
        return false;
    }
    return true;
}

void ScriptRunner::RunInteractive(const std::function<bool(std::string*)>& nextLine,
                                  std::ostream& prompt, std::ostream& errors) {
    std::string line;
    long long number = 1;
    for (;; ++number) {
        prompt << kPrompt << std::flush;
        if (!nextLine(&line) || Stopped()) break;
        std::string reason;
        const bool ran = RunLine(line, &reason);
        if (m_afterLine) m_afterLine();
        if (!ran) errors << "line " << number << ": " << Bounded(std::move(reason)) << std::endl;
    }
    prompt << '\n';
}

bool ScriptRunner::RunLine(std::string_view line, std::string* reason) {
    std::vector<Token> t;
    if (!Tokenize(line, &t, reason)) return false;
    if (t.empty()) return true;
    const std::string& action = t[0].text;
    bool ok = false;
    if (action == "tab") {
        ok = RunTab(line, t, reason);
    } else if (action == "select" || action == "type" || action == "paste" || action == "key" ||
               action == "focus" || action == "click" || action == "slide" || action == "spin" ||
               action == "press" || action == "release") {
        ok = RunControlAction(line, t, reason);
    } else if (action == "wait") {
        ok = RunWait(t, reason);
    } else if (action == "host") {
        ok = RunHost(t, reason);
    } else if (action == "camera") {
        ok = RunCamera(t, reason);
    } else if (action == "capture") {
        ok = RunCapture(line, t, reason);
    } else if (action == "dump") {
        if (t.size() != 1) {
            *reason = ArgumentCount(action, "dump");
            return false;
        }
        std::string dump;
        ok = StateDump::Capture(m_app, &dump, reason);
        if (ok) m_out << dump << '\n' << std::flush;
    } else {
        *reason = "unknown action: " + action;
        return false;
    }
    if (ok) ui::PumpMessages();
    return ok;
}

bool ScriptRunner::Tokenize(std::string_view line, std::vector<Token>* tokens,
                            std::string* reason) const {
    size_t i = 0;
    while (true) {
        while (i < line.size() && IsBlank(line[i])) ++i;
        if (i >= line.size() || line[i] == '#') return true;
        Token token;
        token.begin = i;
        if (line[i] == '"') {
            token.quoted = true;
            ++i;
            bool closed = false;
            while (i < line.size()) {
                const char c = line[i++];
                if (c == '"') {
                    closed = true;
                    break;
                }
                if (c == '\\' && i < line.size() && (line[i] == '"' || line[i] == '\\')) {
                    token.text.push_back(line[i++]);
                } else {
                    token.text.push_back(c);
                }
            }
            if (!closed) {
                *reason = "quoted text without its closing quote";
                return false;
            }
            if (i < line.size() && !IsBlank(line[i]) && line[i] != '#') {
                *reason = "text after a closing quote";
                return false;
            }
        } else {
            while (i < line.size() && !IsBlank(line[i])) token.text.push_back(line[i++]);
        }
        token.end = i;
        tokens->push_back(std::move(token));
    }
}

std::string ScriptRunner::TextFrom(std::string_view line, const std::vector<Token>& tokens,
                                   size_t first) {
    if (first + 1 == tokens.size() && tokens[first].quoted) return tokens[first].text;
    return std::string(line.substr(tokens[first].begin, tokens.back().end - tokens[first].begin));
}

bool ScriptRunner::FindControl(const std::string& reference, Control* control,
                               std::string* reason) const {
    const size_t dot = reference.rfind('.');
    if (dot == std::string::npos) {
        *reason = "not a control (PAGE.ID): " + reference;
        return false;
    }
    const std::string page = reference.substr(0, dot);
    long long id = 0;
    if (!ParseInt(reference.substr(dot + 1), &id) || id <= 0 || id > 65535) {
        *reason = "not a control id: " + reference;
        return false;
    }
    bool known = false;
    for (const PageName& p : kPages) known = known || p.name == page;
    if (!known) {
        *reason = "unknown page: " + page + " (dialog, settings, adjustment, image or exposure)";
        return false;
    }
    const ui::HWND pageWindow = m_app.Dialogs().PageWindow(page);
    if (!pageWindow) {
        *reason = "the plug-in has no " + page + " page: " + reference;
        return false;
    }
    const ui::HWND hwnd = ui::GetDlgItem(pageWindow, static_cast<int>(id));
    if (!hwnd || ui::GetWindowKind(hwnd) == ui::WindowKind::Dialog) {
        *reason = "no such control: " + reference;
        return false;
    }
    control->name = reference;
    control->hwnd = hwnd;
    return true;
}

bool ScriptRunner::RunTab(std::string_view line, const std::vector<Token>& t, std::string* reason) {
    if (t.size() < 2) {
        *reason = ArgumentCount("tab", "tab TEXT");
        return false;
    }
    const std::wstring text = plat::FromUtf8(TextFrom(line, t, 1));
    const ui::HWND dialog = m_app.Dialogs().Dialog();
    const ui::HWND tabs = dialog ? ui::GetDlgItem(dialog, kTabControlId) : nullptr;
    if (!tabs) {
        *reason = "no tab control is shown";
        return false;
    }
    const ui::WindowSnapshot s = ui::Snapshot(tabs, false);
    for (size_t i = 0; i < s.rows.size(); ++i) {
        if (s.rows[i].text != text) continue;
        const auto result = ui::input::ClickTab(tabs, static_cast<int>(i));
        if (result != ui::input::Result::Ok) {
            *reason = Describe(result, "tab " + plat::ToUtf8(text));
            return false;
        }
        return true;
    }
    *reason = "no tab named " + plat::ToUtf8(text);
    return false;
}

bool ScriptRunner::RunControlAction(std::string_view line, const std::vector<Token>& t,
                                    std::string* reason) {
    using ui::input::Result;
    const std::string& action = t[0].text;
    // Arguments after the control: exactly one, or for type and paste the rest of the line.
    const bool takesText = action == "type" || action == "paste";
    const bool takesOne =
        action == "select" || action == "key" || action == "slide" || action == "spin";
    const char* usage = action == "select"  ? "select PAGE.ID ROW"
                        : action == "type"  ? "type PAGE.ID TEXT"
                        : action == "paste" ? "paste PAGE.ID TEXT"
                        : action == "key"   ? "key PAGE.ID enter|tab|escape"
                        : action == "slide" ? "slide PAGE.ID POS"
                        : action == "spin"  ? "spin PAGE.ID up|down"
                                            : nullptr;
    const std::string bare = action + " PAGE.ID";
    if ((takesText && t.size() < 3) || (takesOne && t.size() != 3) ||
        (!takesText && !takesOne && t.size() != 2)) {
        *reason = ArgumentCount(action, usage ? usage : bare.c_str());
        return false;
    }
    Control control;
    if (!FindControl(t[1].text, &control, reason)) return false;

    Result result = Result::Ok;
    if (action == "select") {
        long long row = 0;
        if (!ParseInt(t[2].text, &row) || row < 0) {
            *reason = "not a row number (0 or more): " + t[2].text;
            return false;
        }
        if (row > 1'000'000'000) {
            *reason = Describe(Result::OutOfRange, control.name) + " row " + t[2].text;
            return false;
        }
        result = ui::input::SelectRow(control.hwnd, static_cast<int>(row));
        if (result == Result::OutOfRange) {
            *reason = Describe(result, control.name) + " row " + t[2].text;
            return false;
        }
    } else if (action == "type" || action == "paste") {
        const std::wstring text = plat::FromUtf8(TextFrom(line, t, 2));
        result = action == "type" ? ui::input::TypeText(control.hwnd, text)
                                  : ui::input::PasteText(control.hwnd, text);
    } else if (action == "key") {
        ui::input::Key key{};
        if (t[2].text == "enter") {
            key = ui::input::Key::Enter;
        } else if (t[2].text == "tab") {
            key = ui::input::Key::Tab;
        } else if (t[2].text == "escape") {
            key = ui::input::Key::Escape;
        } else {
            *reason = "unknown key: " + t[2].text + " (enter, tab or escape)";
            return false;
        }
        result = ui::input::PressKey(control.hwnd, key);
    } else if (action == "focus") {
        result = ui::input::MoveFocus(control.hwnd);
    } else if (action == "click") {
        result = ui::input::Click(control.hwnd);
    } else if (action == "slide") {
        long long position = 0;
        if (!ParseInt(t[2].text, &position)) {
            *reason = "not a slider position: " + t[2].text;
            return false;
        }
        if (position < INT32_MIN || position > INT32_MAX) {
            *reason = Describe(Result::OutOfRange, control.name) + " position " + t[2].text;
            return false;
        }
        result = ui::input::DragSlider(control.hwnd, static_cast<int>(position));
        if (result == Result::OutOfRange) {
            *reason = Describe(result, control.name) + " position " + t[2].text;
            return false;
        }
    } else if (action == "spin") {
        if (t[2].text != "up" && t[2].text != "down") {
            *reason = "unknown spin arrow: " + t[2].text + " (up or down)";
            return false;
        }
        result = ui::input::PressSpin(
            control.hwnd, t[2].text == "up" ? ui::input::Arrow::Up : ui::input::Arrow::Down);
    } else if (action == "press") {
        result = ui::input::PressButton(control.hwnd);
    } else {
        result = ui::input::ReleaseButton(control.hwnd);
    }
    if (result != Result::Ok) {
        *reason = Describe(result, control.name);
        return false;
    }
    return true;
}

bool ScriptRunner::RunCapture(std::string_view line, const std::vector<Token>& t,
                              std::string* reason) {
    if (t.size() < 2) {
        *reason = ArgumentCount("capture", "capture FILE");
        return false;
    }
    const std::string file = TextFrom(line, t, 1);
    if (file.empty()) {
        *reason = "capture needs a file name";
        return false;
    }
    if (plat::reg::IsStoreFile(file)) {
        *reason = "cannot write the picture over the profile's store: " + file;
        return false;
    }
    return WritePng(m_app.Dialogs().Capture(), file, reason);
}

bool ScriptRunner::RunWait(const std::vector<Token>& t, std::string* reason) {
    if (t.size() != 2) {
        *reason = ArgumentCount("wait", "wait MS");
        return false;
    }
    long long ms = 0;
    if (!ParseInt(t[1].text, &ms) || ms < 0 || ms > kMaxWaitMs) {
        *reason =
            "not a time in milliseconds (0 to " + std::to_string(kMaxWaitMs) + "): " + t[1].text;
        return false;
    }
    ui::AdvanceClock(static_cast<uint32_t>(ms));
    return true;
}

bool ScriptRunner::RunHost(const std::vector<Token>& t, std::string* reason) {
    const char* usage = "host lock|unlock|reload, host grab on|off";
    const std::string what = t.size() > 1 ? t[1].text : "";
    if (what == "grab") {
        if (t.size() != 3) {
            *reason = ArgumentCount("host grab", "host grab on|off");
            return false;
        }
        if (t[2].text != "on" && t[2].text != "off") {
            *reason = "host grab takes on or off, not " + t[2].text;
            return false;
        }
        m_app.Setup().SetGrabbing(t[2].text == "on");
        return true;
    }
    if (what != "lock" && what != "unlock" && what != "reload") {
        *reason = t.size() < 2 ? ArgumentCount("host", usage) : "unknown host action: " + what;
        return false;
    }
    if (t.size() != 2) {
        *reason = ArgumentCount("host " + what, ("host " + what).c_str());
        return false;
    }
    if (what == "reload") return m_app.Reload(reason);
    CModule* module = m_app.Module();
    if (!module) {
        *reason = "no module is loaded";
        return false;
    }
    if (what == "lock")
        module->LockControls();
    else
        module->UnlockControls();
    return true;
}

bool ScriptRunner::RunCamera(const std::vector<Token>& t, std::string* reason) {
    const std::string what = t.size() > 1 ? t[1].text : "";
    const bool set = what == "set";
    if (!set && what != "get") {
        *reason = t.size() < 2 ? ArgumentCount("camera", "camera set NAME VALUE, camera get NAME")
                               : "unknown camera action: " + what;
        return false;
    }
    if (t.size() != (set ? 4u : 3u)) {
        *reason =
            ArgumentCount("camera " + what, set ? "camera set NAME VALUE" : "camera get NAME");
        return false;
    }
    if (!LinkedSimulator()) {
        *reason =
            "the host reaches a camera's values only through the simulated camera library, "
            "and this build links the vendor's";
        return false;
    }
    const SimCamera& camera = m_app.Camera();
    const int32_t port = camera.CurrentPort();
    if (port < 0) {
        *reason = "the camera model has no ports";
        return false;
    }
    const std::string& name = t[2].text;
    const SimCamera::Property* property = camera.FindProperty(port, name);
    if (!property) {
        *reason = "the camera on port " + std::to_string(port) + " has no property " + name;
        return false;
    }
    if (set) {
        double value = 0;
        long long whole = 0;
        if (property->isInt) {
            if (!ParseInt(t[3].text, &whole) || whole < INT32_MIN || whole > INT32_MAX) {
                *reason = name + " takes a whole number (32-bit), not " + t[3].text;
                return false;
            }
            value = static_cast<double>(whole);
        } else if (!ParseReal(t[3].text, &value)) {
            *reason = name + " takes a number, not " + t[3].text;
            return false;
        }
        if (!camera.Set(port, name, value)) {
            *reason = "the camera did not take " + name;
            return false;
        }
        return true;
    }
    const auto value = camera.Get(port, name);
    m_out << name << " = " << (value ? FormatNumber(*value) : "none") << '\n' << std::flush;
    return true;
}

}  // namespace host
