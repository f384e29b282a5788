// The plug-in's own dialog in the host's headless dialog host, clicked as a person would: every
// click is a line of the host's automation language, run by the host's own script runner, and
// its cost is every camera-library call the click makes.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace inspect {

struct ClickCost {
    std::string action;  // open_port, tab, show_setting, choose_setting, check, slide, step, ...
    std::wstring what;   // the control and value as the dialog shows them
    std::vector<std::string> script;  // the lines that make the click in ambrel-host
    uint64_t calls = 0;
    std::optional<double> linkMs;
};

class DialogClicks {
public:
    DialogClicks();
    ~DialogClicks();
    DialogClicks(const DialogClicks&) = delete;
    DialogClicks& operator=(const DialogClicks&) = delete;

    // Starts a host with the plug-in linked into this program, a profile in memory and the camera
    // the library holds as it stands; false with the reason when it cannot be had.
    bool Start(std::string* error);
    // Shows the Port setting on the Settings page and chooses the port's row: those clicks
    // ("show_setting", "open_port"); no "open_port" when the list offers no row for the port.
    std::vector<ClickCost> OpenPort(int32_t port, int32_t baud);
    // Every click a person can make on the dialog as it now stands, tab by tab, each measured
    // at `baud` (0: no link time).
    std::vector<ClickCost> ClickEverything(int32_t baud);
    // What the clicks showed that the camera's answers disagree with (a window mode leaving
    // another size than its label, an offset step other than the dialog's), as property and
    // text, since the last call.
    std::vector<std::pair<std::string, std::wstring>> TakeFindings();
    // Closes the dialog's port by destroying the module, and shuts the host down.
    void Stop();

    // Whether this build can drive the dialog (it needs the simulated library's host).
    static bool Available();

private:
    class Session;
    std::unique_ptr<Session> m_session;
};

}  // namespace inspect
