// The inspector's report as one JSON document with stable keys.
#include <cmath>
#include <nlohmann/json.hpp>

#include "Report.h"
#include "platform/Utf8.h"

namespace inspect {
namespace {

using nlohmann::json;

std::string U(const std::wstring& text) {
    return plat::ToUtf8(text);
}

json Warnings(const std::vector<WarningFact>& warnings) {
    json out = json::array();
    for (const WarningFact& w : warnings)
        out.push_back({{"property", w.property}, {"text", U(w.text)}});
    return out;
}

json Axis(const window::Axis& a) {
    return {{"size", a.size},
            {"offset", a.offset},
            {"maximum", a.maximum},
            {"size_spin_max", a.sizeSpinMax},
            {"offset_spin_max", a.offsetSpinMax}};
}

// A number; one that is not finite as its name ("inf", "-inf", "nan"), as null means not known.
json Number(double x) {
    if (std::isnan(x)) return "nan";
    if (std::isinf(x)) return x > 0 ? "inf" : "-inf";
    return x;
}

json OrNull(const std::optional<double>& x) {
    return x ? Number(*x) : json(nullptr);
}

json VerdictJson(const Verdict& v) {
    return {{"status", v.status}, {"text", U(v.text)}};
}

json Port(const PortFact& p) {
    json port = {{"index", p.index},
                 {"description", p.description ? json(*p.description) : json(nullptr)},
                 {"label", U(p.label)},
                 {"offered", p.offered},
                 {"opened", p.opened},
                 {"error", p.opened ? json(nullptr)
                                    : json{{"code", p.errorCode},
                                           {"message", p.errorMessage ? json(U(*p.errorMessage))
                                                                      : json(nullptr)}}}};
    json tabs = json::array();
    for (const std::wstring& t : p.tabs) tabs.push_back(U(t));
    port["tabs"] = tabs;

    json settings = json::array();
    for (const SettingFact& s : p.settings) {
        json options = json::array();
        for (const OptionFact& o : s.options)
            options.push_back({{"value", o.value}, {"label", U(o.label)}});
        settings.push_back({{"id", s.id},
                            {"name", U(s.name)},
                            {"page", U(s.page)},
                            {"value", s.value},
                            {"options", options}});
    }
    port["settings"] = settings;

    json adjustments = json::array();
    for (const AdjustmentFact& a : p.adjustments) {
        adjustments.push_back({{"id", a.id},
                               {"name", U(a.name)},
                               {"page", U(a.page)},
                               {"type", a.integer ? "integer" : "real"},
                               {"min", Number(a.minimum)},
                               {"max", Number(a.maximum)},
                               {"value", Number(a.value)},
                               {"slider",
                                {{"min", a.slider.rangeMin},
                                 {"max", a.slider.rangeMax},
                                 {"position", a.slider.position},
                                 {"scale", a.sliderScale},
                                 {"small_step", Number(a.smallStep)},
                                 {"large_step", Number(a.largeStep)}}}});
    }
    port["adjustments"] = adjustments;

    json commands = json::array();
    for (const CommandFact& c : p.commands) commands.push_back({{"id", c.id}, {"name", U(c.name)}});
    port["commands"] = commands;

    const GeometryFact& g = p.geometry;
    port["geometry"] = {{"editable", g.editable},
                        {"x", Axis(g.x)},
                        {"y", Axis(g.y)},
                        {"offset_x_step", g.offsetXStep},
                        {"decimation", g.decimation ? json(g.decimationValues) : json(nullptr)}};

    json missing = json::array();
    for (const MissingFact& m : p.missing)
        missing.push_back({{"property", m.property}, {"effect", U(m.effect)}});
    port["missing"] = missing;
    port["unused"] = p.unused;
    port["warnings"] = Warnings(p.warnings);

    json clicks = json::array();
    for (const ActionCost& a : p.cost.actions)
        clicks.push_back({{"action", a.action},
                          {"what", U(a.what)},
                          {"script", a.script},
                          {"calls", p.cost.counted ? json(a.calls) : json(nullptr)},
                          {"link_ms", p.cost.counted ? OrNull(a.linkMs) : json(nullptr)}});
    port["cost"] = {
        {"counted", p.cost.counted},
        {"baud", p.cost.baud > 0 ? json(p.cost.baud) : json(nullptr)},
        {"refresh_calls", p.opened && p.cost.counted ? json(p.cost.refreshCalls) : json(nullptr)},
        {"refresh_link_ms", OrNull(p.cost.refreshLinkMs)},
        {"clicked", p.clicked},
        {"clicks", clicks}};
    json notRestored = json::array();
    for (const NotRestored& n : p.notRestored)
        notRestored.push_back({{"property", n.property}, {"reason", U(n.reason)}});
    port["not_restored"] = notRestored;
    port["verdict"] = VerdictJson(p.verdict);
    json properties = json::array();
    for (const PropertyRow& r : p.properties)
        properties.push_back({{"name", r.name},
                              {"type", r.type},
                              {"read_only", r.readOnly},
                              {"value", OrNull(r.value)},
                              {"min", OrNull(r.minimum)},
                              {"max", OrNull(r.maximum)},
                              {"reads_back", r.readsBack ? json(*r.readsBack) : json(nullptr)}});
    port["properties"] = properties;
    port["restored"] = p.restored;
    return port;
}

}  // namespace

std::string ReportJson(const Report& report) {
    json ports = json::array();
    for (const PortFact& p : report.ports) ports.push_back(Port(p));
    const json doc = {{"verdict", VerdictJson(report.verdict)},
                      {"port_count", report.portCount},
                      {"warnings", Warnings(report.warnings)},
                      {"ports", ports}};
    return doc.dump(2, ' ', false, json::error_handler_t::replace) + "\n";
}

}  // namespace inspect
