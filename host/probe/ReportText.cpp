// The inspector's report as aligned text, one section per port.
#include <algorithm>
#include <sstream>

#include "Report.h"
#include "platform/Text.h"
#include "platform/Utf8.h"

namespace inspect {
namespace {

constexpr int kLabelWidth = 12;
constexpr size_t kLongList = 12;

constexpr size_t kShownNames = 12;

// A text as one line of the report: control characters as escapes, and with `quotes` the quote
// and the backslash too, so that a quoted text ends where its closing quote stands.
std::string Clean(const std::string& text, bool quotes = false) {
    std::string out;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (quotes && (c == '"' || c == '\\')) {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (byte < 0x20 || byte == 0x7F) {
            const char* hex = "0123456789ABCDEF";
            out += "\\x";
            out += hex[byte >> 4];
            out += hex[byte & 0xF];
        } else {
            out += c;
        }
    }
    return out;
}

std::string U(const std::wstring& text) {
    return Clean(plat::ToUtf8(text));
}

// Built piece by piece: GCC 12 at -O3 takes `"\"" + temporary` for an overlapping copy.
std::string Quoted(const std::string& utf8) {
    std::string out = "\"";
    out.append(Clean(utf8, true)).append("\"");
    return out;
}

std::string Num(double x) {
    return U(plat::Format(L"%g", x));
}

std::string Ms(const std::optional<double>& ms) {
    if (!ms) return "";
    return U(plat::Format(ms.value() >= 1000.0 ? L", %.2f s on the link" : L", %.1f ms on the link",
                          ms.value() >= 1000.0 ? ms.value() / 1000.0 : ms.value()));
}

// Integers in full; reals as %g.
std::string Value(const AdjustmentFact& a, double x) {
    return a.integer ? std::to_string(static_cast<long long>(x)) : Num(x);
}

class Writer {
public:
    void Line(const std::string& label, const std::string& text) {
        std::string padded = "  " + label;
        padded.resize(std::max<size_t>(padded.size() + 1, kLabelWidth + 2), ' ');
        if (text.empty()) padded.erase(padded.find_last_not_of(' ') + 1);
        m_out << padded << text << "\n";
    }
    void Item(const std::string& text) { m_out << "    " << text << "\n"; }
    void Raw(const std::string& text) { m_out << text << "\n"; }
    std::string str() const { return m_out.str(); }

private:
    std::ostringstream m_out;
};

template <class T, class F>
std::string Joined(const std::vector<T>& items, F format, const char* separator = ", ") {
    std::string out;
    for (const T& item : items) out += (out.empty() ? "" : separator) + format(item);
    return out.empty() ? "(none)" : out;
}

// Property names, a long list shortened to its first names and a count.
std::string Names(const std::vector<std::string>& names) {
    const size_t shown = std::min(names.size(), kShownNames);
    const std::vector<std::string> first(names.begin(),
                                         names.begin() + static_cast<std::ptrdiff_t>(shown));
    std::string out = Joined(first, [](const std::string& n) { return Clean(n); });
    if (shown < names.size())
        out += ", ... (" + std::to_string(names.size() - shown) + " more, " +
               std::to_string(names.size()) + " in all)";
    return out;
}

// A long list (a wide decimation range) shows its ends and its length.
std::string Options(const std::vector<OptionFact>& options) {
    auto option = [](const OptionFact& o) {
        return std::to_string(o.value) + " " + Quoted(plat::ToUtf8(o.label));
    };
    if (options.size() <= kLongList) return Joined(options, option);
    const std::vector<OptionFact> first(options.begin(), options.begin() + 3);
    return Joined(first, option) + ", ... " + option(options.back()) + " (" +
           std::to_string(options.size()) + " options)";
}

void Settings(Writer& w, const PortFact& p) {
    w.Line("settings", p.settings.empty() ? "(none)" : "");
    for (const SettingFact& s : p.settings) {
        const std::string options = Options(s.options);
        w.Item(std::to_string(s.id) + " " + U(s.name) + " [" + U(s.page) +
               "] = " + std::to_string(s.value) + "; options " + options);
    }
}

void Adjustments(Writer& w, const PortFact& p) {
    w.Line("adjustments", p.adjustments.empty() ? "(none)" : "");
    for (const AdjustmentFact& a : p.adjustments) {
        w.Item(std::to_string(a.id) + " " + U(a.name) + " [" + U(a.page) + "] " +
               (a.integer ? "integer " : "real ") + Value(a, a.minimum) + " .. " +
               Value(a, a.maximum) + " = " + Value(a, a.value) + "; slider " +
               std::to_string(a.slider.rangeMin) + " .. " + std::to_string(a.slider.rangeMax) +
               " at " + std::to_string(a.slider.position) + " (scale " +
               std::to_string(a.sliderScale) + "), steps " + Num(a.smallStep) + " / " +
               Num(a.largeStep));
    }
}

void Geometry(Writer& w, const PortFact& p) {
    const GeometryFact& g = p.geometry;
    auto axis = [](const char* size, const char* offset, const window::Axis& a) {
        return std::string(size) + " " + std::to_string(a.size) + " (max " +
               std::to_string(a.maximum) + ", spin 0.." + std::to_string(a.sizeSpinMax) + "), " +
               offset + " " + std::to_string(a.offset) + " (spin 0.." +
               std::to_string(a.offsetSpinMax) + ")";
    };
    w.Line("geometry", std::string(g.editable ? "editable" : "controls disabled") + "; " +
                           axis("width", "offset X", g.x) + "; " + axis("height", "offset Y", g.y) +
                           "; offset X step " + std::to_string(g.offsetXStep));
    std::string decimation = "(no list)";
    if (g.decimation)
        decimation = g.decimationValues.empty()
                         ? "(empty list)"
                         : std::to_string(g.decimationValues.front()) + " .. " +
                               std::to_string(g.decimationValues.back()) + " (" +
                               std::to_string(g.decimationValues.size()) + " values)";
    w.Line("decimation", decimation);
}

void Cost(Writer& w, const PortFact& p, std::optional<int32_t> clickedPort) {
    const CostFact& c = p.cost;
    if (!c.counted) {
        w.Line("cost", "not counted: this build cannot count the library's calls");
        return;
    }
    w.Line("cost", c.baud > 0 ? "at " + std::to_string(c.baud) + " baud" : "no baud rate known");
    if (p.opened)
        w.Item("refresh        " + std::to_string(c.refreshCalls) + " calls" + Ms(c.refreshLinkMs));
    for (const ActionCost& a : c.actions) {
        std::string name = a.action;
        name.resize(std::max<size_t>(name.size() + 1, 17), ' ');
        w.Item(name + std::to_string(a.calls) + " calls" + Ms(a.linkMs) +
               (a.what.empty() ? "" : " (" + U(a.what) + ")"));
    }
    if (p.opened && !p.cost.actions.empty() && p.cost.actions.back().action == "open_port")
        w.Item("every other click: measured with --actions");
    if (clickedPort && !p.clicked)
        w.Item("clicks         measured on port " + std::to_string(*clickedPort) +
               " only (--click-all-ports measures every port)");
}

std::string Bound(const std::optional<double>& x) {
    return x ? Num(*x) : "?";
}

void Properties(Writer& w, const PortFact& p) {
    if (p.properties.empty()) return;
    w.Line("properties", "");
    for (const PropertyRow& r : p.properties) {
        std::string row = Clean(r.name) + " " + r.type + (r.readOnly ? " read-only" : "");
        if (r.value) row += " = " + Num(*r.value);
        if (r.minimum || r.maximum)
            row += " [" + Bound(r.minimum) + " .. " + Bound(r.maximum) + "]";
        if (r.readsBack)
            row += *r.readsBack ? "; reads back what is written"
                                : "; does NOT read back what is written";
        w.Item(row);
    }
}

void Port(Writer& w, const PortFact& p, std::optional<int32_t> clickedPort) {
    std::string title = "Port " + std::to_string(p.index) + ": ";
    title += p.description ? Quoted(*p.description) : "(no description)";
    title += p.opened ? ", opened" : ", does not open";
    w.Raw(title);
    w.Line("verdict", U(p.verdict.text));
    if (!p.opened)
        w.Line("error", std::to_string(p.errorCode) + ": " +
                            (p.errorMessage ? U(*p.errorMessage) : std::string("(no message)")));
    w.Line("tabs", Joined(p.tabs, [](const std::wstring& t) { return U(t); }));
    if (p.opened) {
        Settings(w, p);
        Adjustments(w, p);
        w.Line("commands", Joined(p.commands, [](const CommandFact& c) {
                   return std::to_string(c.id) + " " + U(c.name);
               }));
        Geometry(w, p);
        w.Line("missing", p.missing.empty() ? "(none)" : "");
        for (const MissingFact& m : p.missing) w.Item(Clean(m.property) + ": " + U(m.effect));
        w.Line("unused", Names(p.unused));
    }
    w.Line("warnings", p.warnings.empty() ? "(none)" : "");
    for (const WarningFact& x : p.warnings) w.Item(Clean(x.property) + ": " + U(x.text));
    Cost(w, p, clickedPort);
    Properties(w, p);
    if (!p.notRestored.empty()) {
        w.Line("not restored", "");
        for (const NotRestored& n : p.notRestored) w.Item(Clean(n.property) + ": " + U(n.reason));
    }
}

}  // namespace

std::string ReportText(const Report& report) {
    Writer w;
    w.Raw("Verdict: " + U(report.verdict.text));
    w.Raw("Camera library: " + std::to_string(report.portCount) + " port(s)");
    for (const WarningFact& x : report.warnings) w.Item(Clean(x.property) + ": " + U(x.text));
    for (const PortFact& p : report.ports) {
        w.Raw("");
        Port(w, p, report.clickedPort);
    }
    return w.str();
}

}  // namespace inspect
