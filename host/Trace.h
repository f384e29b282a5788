// The host's event trace: one line per camera write, port change, host event and debugger line.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <mutex>
#include <string>
#include <string_view>

struct DGrabRegion;

namespace host {

class Trace {
public:
    // Lines go to `out` only while the trace is on.
    explicit Trace(std::ostream& out);
    ~Trace();
    Trace(const Trace&) = delete;
    Trace& operator=(const Trace&) = delete;

    // Switches the trace on: observes the simulated camera (when the build links it) and takes
    // every debugger line.
    void Start();
    // Switches it off again; debugger lines then go nowhere.
    void Stop();
    bool IsOn() const { return m_on; }
    // Camera-library calls: one line each ("call: NAME(ARGS) = RESULT"), written before any
    // other trace line and whenever FlushCalls is called, so they stand in the order made.
    // Only the simulated camera library logs its calls; without it there are none to write.
    void StartCalls();
    void FlushCalls();

    // `code` is the camera's answer: a refused write (not 0) held nothing new.
    void CameraWrite(const std::string& name, double sent, double held, int32_t code);
    void CameraPort(int32_t port, bool open, int32_t code);
    void Roi(const DGrabRegion& region);
    void Grabbing(bool on);
    void Dialog(bool added);
    // `value` is already in text; null for a deleted entry (or, with a null entry, section).
    // `failure`, when given, is why the profile refused it.
    void Profile(std::wstring_view section, const wchar_t* entry, const std::wstring* value,
                 const std::string* failure = nullptr);
    void Debug(std::wstring_view text);
    // A message the dialog framework reports to the user (a failed data exchange).
    void Message(std::wstring_view text);

private:
    void Line(const std::string& text);
    void WriteCalls();  // with m_mutex held

    std::ostream& m_out;
    std::mutex m_mutex;  // the camera reports on the calling thread, whichever it is
    bool m_on = false;
    bool m_calls = false;
};

}  // namespace host
