// The automation language: one action per line, each what a person's input would do, checked
// in full before any of it runs.
#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "ui/Types.h"

namespace host {

class HostApplication;

class ScriptRunner {
public:
    // `out` takes what the script asks to print (dumps, camera values).
    ScriptRunner(HostApplication& app, std::ostream& out);

    // Runs the lines in order, every posted message after each; stops at the first bad line,
    // answering false with "line N: reason" in `error`. Everything before that line stands.
    bool Run(std::istream& in, std::string* error);
    // A person at a terminal: a prompt before each line, which `nextLine` reads (false at the
    // end of the input); a bad line is reported and skipped.
    void RunInteractive(const std::function<bool(std::string*)>& nextLine, std::ostream& prompt,
                        std::ostream& errors);
    // One line (a comment or blank line does nothing). False, with the reason, when the line
    // is bad; nothing of it has run then.
    bool RunLine(std::string_view line, std::string* reason);
    // Asked before each line: when it answers true, the run stops there as at the end of its
    // input (the host's end was requested, or its output is gone).
    void StopWhen(std::function<bool()> stop) { m_stop = std::move(stop); }
    // Called after each line Run and RunInteractive ran, good or bad.
    void AfterEachLine(std::function<void()> hook) { m_afterLine = std::move(hook); }

private:
    struct Token {
        std::string text;
        size_t begin = 0;  // where it stands in the line, quotes included
        size_t end = 0;
        bool quoted = false;
    };
    struct Control {
        std::string name;  // as the script wrote it
        ui::HWND hwnd = nullptr;
    };

    bool Tokenize(std::string_view line, std::vector<Token>* tokens, std::string* reason) const;
    // The text argument of type, paste and tab: one quoted token as it stands, or the rest of
    // the line from token `first` on.
    static std::string TextFrom(std::string_view line, const std::vector<Token>& tokens,
                                size_t first);
    bool FindControl(const std::string& reference, Control* control, std::string* reason) const;

    bool RunTab(std::string_view line, const std::vector<Token>& t, std::string* reason);
    bool RunControlAction(std::string_view line, const std::vector<Token>& t, std::string* reason);
    bool RunWait(const std::vector<Token>& t, std::string* reason);
    bool RunHost(const std::vector<Token>& t, std::string* reason);
    bool RunCamera(const std::vector<Token>& t, std::string* reason);
    bool RunCapture(std::string_view line, const std::vector<Token>& t, std::string* reason);

    bool Stopped() const { return m_stop && m_stop(); }

    HostApplication& m_app;
    std::ostream& m_out;
    std::function<bool()> m_stop;
    std::function<void()> m_afterLine;
};

}  // namespace host
