// What the plug-in's controller finds on each port of the camera library.
#include "Probe.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cwchar>
#include <limits>
#include <set>
#include <string_view>

#include "AdjustmentDisplay.h"
#include "AmbrelController.h"
#include "CallMeter.h"
#include "PageRules.h"
#include "WindowGeometry.h"
#include "pfConfig.h"
#include "platform/Text.h"

namespace inspect {
namespace {

constexpr int kRestorePasses = 3;

std::wstring Wide(const std::string& text) {
    return plat::NarrowToWide(text);
}

std::wstring Number(double x) {
    return plat::Format(L"%g", x);
}
std::wstring Number(int32_t x) {
    return std::to_wstring(x);
}

// The property table as HasProperty scans it: names in order, null rows left out.
struct Listing {
    std::vector<std::string> names;
    std::vector<int32_t> nullRows;
    int32_t answered = 0;
    std::map<std::string, std::pair<int32_t, int32_t>> typeAndAccess;  // as the library answers
};

constexpr int32_t kTypeName = 0;  // what pfGetPropertyInfo answers for a name without a value
constexpr int32_t kTypeInt = 1;
constexpr int32_t kTypeReal = 2;
constexpr int32_t kAccessReadOnly = 1;

Listing ListProperties(int32_t port) {
    Listing listing;
    listing.answered = pfGetNumProperties(port);
    const int32_t count = std::min(listing.answered, CAmbrelController::kMaxProperties);
    for (int32_t i = 0; i < count; ++i) {
        int32_t type = 0;
        int32_t access = 0;
        if (const char* name = pfGetPropertyInfo(port, i, &type, &access)) {
            listing.names.emplace_back(name);
            listing.typeAndAccess.emplace(name, std::pair{type, access});
        } else
            listing.nullRows.push_back(i);
    }
    return listing;
}

bool Lists(const Listing& listing, const char* name) {
    return listing.typeAndAccess.count(name) != 0;
}

// Whether the thread's code page converts the text without the byte-for-character fallback.
bool Converts(const std::string& text) {
    std::mbstate_t state{};
    const char* source = text.c_str();
    return std::mbsrtowcs(nullptr, &source, 0, &state) != static_cast<std::size_t>(-1);
}

// The text of the tab that shows the entry with this id.
std::wstring PageText(int32_t id) {
    const PageId page = pages::PageOf(id);
    for (const pages::Tab& tab : pages::Tabs())
        if (tab.page == page) return tab.text;
    return std::wstring();
}

// What the plug-in does with a property.
enum class Role {
    Value,     // an entry's value: looked for, then read and written
    Option,    // looked for: offers one option of an entry
    Minimum,   // read once per refresh: the lower bound of an entry
    Maximum,   // read once per refresh: the upper bound of an entry
    Command,   // written with 1 when the user runs the command
    Geometry,  // read and written by the Image page for the window
};

// One property of a feature. A need with a parent matters only when the camera lists the
// parent (a range or an option of a feature the camera has).
struct Need {
    const char* property;
    Role role;
    const char* parent;
    std::wstring effect;  // what the user loses when the camera does not list it
};

// The pages in the order a report lists what the user loses, page by page.
constexpr PageId kReportPageOrder[] = {PageId::Settings, PageId::Exposure, PageId::Adjustment,
                                       PageId::Image};

int ReportRank(PageId page) {
    return static_cast<int>(
        std::find(std::begin(kReportPageOrder), std::end(kReportPageOrder), page) -
        std::begin(kReportPageOrder));
}

std::wstring RangeEffect(const Feature& feature, const wchar_t* end) {
    const bool real = feature.kind == FeatureKind::RealAdjustment;
    return plat::Format(L"the %s %s at what the camera answers for an unknown name%s",
                        feature.rangeShownOn, end, real ? L" (0 on the simulator)" : L"");
}

void AddNeeds(const Feature& feature, std::vector<Need>& needs) {
    if (!feature.property) return;
    const Role role = feature.kind == FeatureKind::Geometry  ? Role::Geometry
                      : feature.kind == FeatureKind::Command ? Role::Command
                                                             : Role::Value;
    std::wstring effect =
        role == Role::Command
            ? plat::Format(L"the %s command is offered but the camera ignores it", feature.name)
            : std::wstring(feature.absence);
    needs.push_back(Need{feature.property, role, feature.parent, std::move(effect)});
    for (const FeatureOption& option : feature.options)
        if (option.property)
            needs.push_back(Need{
                option.property, Role::Option, feature.property,
                plat::Format(L"no \"%s\" option in the %s setting", option.label, feature.name)});
    if (feature.minProperty)
        needs.push_back(Need{feature.minProperty, Role::Minimum, feature.property,
                             RangeEffect(feature, L"starts")});
    if (feature.maxProperty)
        needs.push_back(Need{feature.maxProperty, Role::Maximum, feature.property,
                             RangeEffect(feature, L"ends")});
}

// Every property of the plug-in, page by page as a report lists them.
const std::vector<Need>& Needs() {
    static const std::vector<Need> needs = [] {
        std::vector<Feature> features(CAmbrelController::Features().begin(),
                                      CAmbrelController::Features().end());
        std::stable_sort(features.begin(), features.end(), [](const Feature& a, const Feature& b) {
            return ReportRank(a.page) < ReportRank(b.page);
        });
        std::vector<Need> all;
        for (const Feature& feature : features) AddNeeds(feature, all);
        return all;
    }();
    return needs;
}

std::optional<double> LinkMs(const CallTally& tally, int32_t baud) {
    if (baud <= 0) return std::nullopt;
    return LinkMilliseconds(tally, baud);
}

void Warn(PortFact& port, std::string property, std::wstring text) {
    port.warnings.push_back(WarningFact{std::move(property), std::move(text)});
}

std::string PropertyOf(int32_t entryId, Role role) {
    const Feature* feature = CAmbrelController::FeatureOf(entryId);
    const char* property = !feature                ? nullptr
                           : role == Role::Minimum ? feature->minProperty
                           : role == Role::Maximum ? feature->maxProperty
                                                   : feature->property;
    return property ? property : std::string();
}

void CollectSettings(CAmbrelController& ctl, PortFact& port) {
    for (const SettingInfo& info : ctl.m_settings) {
        if (info.id == kIdPort) continue;
        SettingFact fact{
            info.id, info.name, PageText(info.id), info.setting ? info.setting->GetValue() : 0, {}};
        for (const SettingOption& option : info.options)
            fact.options.push_back(OptionFact{option.value, option.label});
        port.settings.push_back(std::move(fact));

        const std::string property = PropertyOf(info.id, Role::Value);
        const int32_t raw = pfGetCameraPropertyI(ctl.m_port, property.c_str());
        const bool zeroListed =
            std::any_of(info.options.begin(), info.options.end(),
                        [](const SettingOption& option) { return option.value == 0; });
        if (raw < 0)
            Warn(port, property,
                 zeroListed ? plat::Format(L"reads %d: shown as 0, the option with value 0", raw)
                            : plat::Format(L"reads %d: shown as 0, which no option has: no "
                                           L"option is shown as chosen",
                                           raw));
    }
}

void CheckRealBounds(PortFact& port, const AdjustmentInfo& entry, const AdjustmentInfo& copy) {
    const std::string lo = PropertyOf(entry.id, Role::Minimum);
    const std::string hi = PropertyOf(entry.id, Role::Maximum);
    for (const auto& [property, bound] :
         {std::pair{lo, entry.realMin}, std::pair{hi, entry.realMax}}) {
        if (std::isnan(bound))
            Warn(port, property, L"reads nan: the slider takes the bound as 0");
        else if (std::isinf(bound))
            Warn(port, property,
                 plat::Format(L"reads %s: the slider takes the bound at the 32-bit limit",
                              bound > 0 ? L"inf" : L"-inf"));
        else if (std::fabs(bound * copy.sliderScale) > std::numeric_limits<int32_t>::max())
            Warn(port, property,
                 plat::Format(L"reads %s: beyond 32 bits at slider scale %d; the slider stops "
                              L"at the 32-bit limit",
                              Number(bound), copy.sliderScale));
    }
    if (entry.realMin > entry.realMax)
        Warn(port, lo,
             plat::Format(L"%s is above %s: every value is clamped to the maximum",
                          Number(entry.realMin), Wide(hi)));
}

void CheckIntBounds(PortFact& port, const AdjustmentInfo& entry, const AdjustmentInfo& copy) {
    const std::string lo = PropertyOf(entry.id, Role::Minimum);
    const std::string hi = PropertyOf(entry.id, Role::Maximum);
    if (copy.intMax != entry.intMax)
        Warn(port, hi,
             plat::Format(L"reads %d: taken as 2147483647 (no upper limit)", entry.intMax));
    if (copy.intMin > copy.intMax)
        Warn(port, lo,
             plat::Format(L"%d is above %s %d: every value is clamped to the maximum", copy.intMin,
                          Wide(hi), copy.intMax));
    else if (int64_t{copy.intMax} - copy.intMin > std::numeric_limits<int32_t>::max())
        Warn(port, lo,
             L"the range is wider than 32 bits: the slider covers the 2147483647 values "
             L"around the current one");
}

// Records the range, the value read and the value the page shows for it.
template <class T>
void Record(PortFact& port, AdjustmentFact& fact, T value, T shown, T lo, T hi) {
    fact.minimum = lo;
    fact.maximum = hi;
    fact.value = value;
    if (!(shown == value))
        Warn(port, PropertyOf(fact.id, Role::Value),
             plat::Format(L"reads %s, outside its range: the page shows %s", Number(value),
                          Number(shown)));
}

void CollectAdjustments(CAmbrelController& ctl, PortFact& port) {
    for (const AdjustmentInfo& entry : ctl.m_adjustments) {
        const auto copy = adjustment::CopyForPage(entry);
        AdjustmentFact fact;
        fact.id = entry.id;
        fact.name = entry.name;
        fact.page = PageText(entry.id);
        fact.integer = copy->isInteger != 0;
        fact.smallStep = copy->smallStep;
        fact.largeStep = copy->largeStep;
        fact.sliderScale = copy->sliderScale;
        if (fact.integer) {
            CheckIntBounds(port, entry, *copy);
            int32_t value = 0;
            ctl.GetAdjustmentInt(entry.id, value);
            const int32_t shown = adjustment::ClampInt(*copy, value);
            Record(port, fact, value, shown, copy->intMin, copy->intMax);
            fact.slider = adjustment::PresentInt(*copy, shown).slider;
        } else {
            CheckRealBounds(port, entry, *copy);
            double value = 0.0;
            ctl.GetAdjustmentReal(entry.id, value);
            const double shown = adjustment::ClampReal(*copy, value);
            Record(port, fact, value, shown, copy->realMin, copy->realMax);
            fact.slider = adjustment::PresentReal(*copy, shown).slider;
        }
        port.adjustments.push_back(std::move(fact));
    }
}

void CollectGeometry(CAmbrelController& ctl, PortFact& port) {
    GeometryFact& g = port.geometry;
    g.editable = window::Editable(ctl);
    g.x = window::ReadAxis(ctl, true);
    g.y = window::ReadAxis(ctl, false);
    g.offsetXStep = window::kOffsetXStep;
    for (const SettingInfo& info : ctl.m_settings) {
        if (info.id != kIdDecimationY) continue;
        g.decimation = true;
        for (const SettingOption& option : info.options) g.decimationValues.push_back(option.value);
        const std::string lo = PropertyOf(kIdDecimationY, Role::Minimum);
        const std::string hi = PropertyOf(kIdDecimationY, Role::Maximum);
        const int32_t min = pfGetCameraPropertyI(ctl.m_port, lo.c_str());
        const int32_t max = pfGetCameraPropertyI(ctl.m_port, hi.c_str());
        if (min > max)
            Warn(port, lo,
                 plat::Format(L"%d is above %s %d: the Decimation Y list is empty", min, Wide(hi),
                              max));
        else if (int64_t{max} - min + 1 > CAmbrelController::kMaxDecimationOptions)
            Warn(port, hi,
                 plat::Format(L"the range %d to %d is cut to its first %d values", min, max,
                              CAmbrelController::kMaxDecimationOptions));
        break;
    }
}

void CollectMissingAndUnused(const Listing& listing, PortFact& port) {
    std::set<std::string> known;
    for (const Need& need : Needs()) {
        known.insert(need.property);
        if (need.parent && !Lists(listing, need.parent)) continue;
        if (!Lists(listing, need.property))
            port.missing.push_back(MissingFact{need.property, need.effect});
    }
    // What a user loses most first: the window, then settings and sliders, commands, ranges,
    // and last single options of a setting.
    auto weight = [](const MissingFact& m) {
        for (const Need& need : Needs()) {
            if (m.property != need.property) continue;
            switch (need.role) {
                case Role::Geometry:
                    return 0;
                case Role::Value:
                    return 1;
                case Role::Command:
                    return 2;
                case Role::Minimum:
                case Role::Maximum:
                    return 3;
                case Role::Option:
                    return 4;
            }
        }
        return 5;
    };
    std::stable_sort(
        port.missing.begin(), port.missing.end(),
        [&](const MissingFact& a, const MissingFact& b) { return weight(a) < weight(b); });
    for (const std::string& name : listing.names)
        if (!known.count(name)) port.unused.push_back(name);
    // What the dialog writes must take a write.
    for (const Need& need : Needs()) {
        const auto row = listing.typeAndAccess.find(need.property);
        const std::string_view name = need.property;
        const bool bound = name.ends_with(".Max") || name.ends_with(".Min");
        const bool written = !bound && (need.role == Role::Value || need.role == Role::Command ||
                                        need.role == Role::Geometry);
        if (row == listing.typeAndAccess.end() || !written) continue;
        if (row->second.first == kTypeName)
            Warn(port, need.property,
                 L"listed without a value: reads answer nothing, and every write of the dialog "
                 L"fails");
        else if (row->second.second == kAccessReadOnly)
            Warn(port, need.property,
                 L"read-only, yet the dialog writes it: every such click fails");
    }
    for (int32_t row : listing.nullRows)
        Warn(port, plat::WideToNarrow(plat::Format(L"row %d", row)),
             L"the library answers no name for this row: the plug-in skips it");
    if (listing.answered > CAmbrelController::kMaxProperties)
        Warn(port, "property table",
             plat::Format(L"%d rows: the plug-in scans only the first %d", listing.answered,
                          CAmbrelController::kMaxProperties));
}

// Every listed property's value, read both ways: enough to tell a change and to put it back.
struct Held {
    int32_t asInt = 0;
    float asReal = 0.0f;
    friend bool operator==(const Held& a, const Held& b) {
        return a.asInt == b.asInt &&
               (a.asReal == b.asReal || (std::isnan(a.asReal) && std::isnan(b.asReal)));
    }
};

std::map<std::string, Held> Snapshot(int32_t port, const Listing& listing) {
    std::map<std::string, Held> values;
    for (const std::string& name : listing.names)
        values[name] = Held{pfGetCameraPropertyI(port, name.c_str()),
                            pfGetCameraPropertyF(port, name.c_str())};
    return values;
}

bool SameAs(const PropertyCall& read, const Held& held) {
    if (!read.real) return read.value == held.asInt;
    const auto value = static_cast<float>(read.value);
    return value == held.asReal || (std::isnan(value) && std::isnan(held.asReal));
}

// Properties the run wrote with two or more values the camera took, while every read of them
// answered what it read before the run: the read-back does not show what they hold (a
// write-only register, a lying read), so nothing can tell what to put back.
std::set<std::string> Unreadable(const std::vector<PropertyCall>& journal,
                                 const std::map<std::string, Held>& before) {
    std::map<std::string, std::set<double>> written;
    std::set<std::string> moved;
    for (const PropertyCall& call : journal) {
        const auto held = before.find(call.name);
        if (held == before.end()) continue;
        if (call.write && call.code == 0)
            written[call.name].insert(call.value);
        else if (!call.write && !SameAs(call, held->second))
            moved.insert(call.name);
    }
    std::set<std::string> unreadable;
    for (const auto& [name, values] : written)
        if (values.size() > 1 && !moved.count(name)) unreadable.insert(name);
    return unreadable;
}

void WriteBack(int32_t port, const std::string& name, const Held& old) {
    if (static_cast<float>(old.asInt) == old.asReal)
        pfSetCameraPropertyI(port, name.c_str(), old.asInt);
    else
        pfSetCameraPropertyF(port, name.c_str(), old.asReal);
}

// Writes back what changed, in table order (sizes before offsets), until nothing differs;
// never a property whose read-back cannot be trusted. Answers what could not be put back.
std::vector<NotRestored> Restore(int32_t port, const Listing& listing,
                                 const std::map<std::string, Held>& before,
                                 const std::set<std::string>& unreadable) {
    for (int pass = 0; pass < kRestorePasses; ++pass) {
        const std::map<std::string, Held> now = Snapshot(port, listing);
        bool changed = false;
        for (const std::string& name : listing.names) {
            if (now.at(name) == before.at(name) || unreadable.count(name)) continue;
            WriteBack(port, name, before.at(name));
            changed = true;
        }
        if (!changed) break;
    }
    std::vector<NotRestored> left;
    const std::map<std::string, Held> now = Snapshot(port, listing);
    for (const std::string& name : listing.names) {
        if (unreadable.count(name))
            left.push_back({name,
                            L"reads the same whatever is written: what it holds now "
                            L"cannot be known, so it is not written back"});
        else if (!(now.at(name) == before.at(name)))
            left.push_back(
                {name, plat::Format(L"reads %d (%s), held %d (%s) before", now.at(name).asInt,
                                    Number(now.at(name).asReal), before.at(name).asInt,
                                    Number(before.at(name).asReal))});
    }
    return left;
}

}  // namespace

namespace {

Listing InspectOpenPort(CAmbrelController& ctl, PortFact& port) {
    meter::Reset();
    ctl.Refresh();
    const CallTally refresh = meter::Tally();
    port.cost.refreshCalls = refresh.calls;
    port.cost.refreshLinkMs = LinkMs(refresh, port.cost.baud);

    port.tabs = pages::TabsFor(ctl);
    CollectSettings(ctl, port);
    CollectAdjustments(ctl, port);
    for (const CameraCommandInfo& command : ctl.m_cameraCommands)
        port.commands.push_back(CommandFact{command.id, command.name});
    CollectGeometry(ctl, port);
    Listing listing = ListProperties(ctl.m_port);
    CollectMissingAndUnused(listing, port);
    return listing;
}

void Append(std::vector<ActionCost>& to, std::vector<ClickCost> clicks) {
    for (ClickCost& click : clicks) to.push_back(std::move(click));
}

// Clicks everything on the dialog, which has the port open, and puts back what changed.
// Answers, for each property the clicks wrote, whether its reads showed what was written.
std::map<std::string, bool> ClickEverything(DialogClicks& dialog, PortFact& port,
                                            const Listing& listing) {
    const auto before = Snapshot(port.index, listing);
    meter::Journal(true);
    Append(port.cost.actions, dialog.ClickEverything(port.cost.baud));
    meter::Journal(false);
    const std::vector<PropertyCall> journal = meter::TakeJournal();
    const std::set<std::string> unreadable = Unreadable(journal, before);
    port.notRestored = Restore(port.index, listing, before, unreadable);
    port.restored = port.notRestored.empty();
    for (auto& [property, text] : dialog.TakeFindings()) Warn(port, property, std::move(text));
    std::map<std::string, bool> readsBack;
    for (const PropertyCall& call : journal)
        if (call.write && call.code == 0) readsBack[call.name] = !unreadable.count(call.name);
    return readsBack;
}

std::optional<double> Read(int32_t port, const std::string& name, int32_t type) {
    if (type == kTypeInt) return pfGetCameraPropertyI(port, name.c_str());
    if (type == kTypeReal) return pfGetCameraPropertyF(port, name.c_str());
    return std::nullopt;
}

std::vector<PropertyRow> PropertyTable(int32_t port, const Listing& listing,
                                       const std::map<std::string, bool>& readsBack) {
    std::vector<PropertyRow> rows;
    for (const std::string& name : listing.names) {
        const auto [type, access] = listing.typeAndAccess.at(name);
        PropertyRow row;
        row.name = name;
        row.type = type == kTypeInt    ? "int"
                   : type == kTypeReal ? "real"
                   : type == kTypeName ? "name"
                                       : "type " + std::to_string(type);
        row.readOnly = access == kAccessReadOnly;
        row.value = Read(port, name, type);
        if (const auto lo = listing.typeAndAccess.find(name + ".Min");
            lo != listing.typeAndAccess.end())
            row.minimum = Read(port, lo->first, lo->second.first);
        if (const auto hi = listing.typeAndAccess.find(name + ".Max");
            hi != listing.typeAndAccess.end())
            row.maximum = Read(port, hi->first, hi->second.first);
        if (const auto back = readsBack.find(name); back != readsBack.end())
            row.readsBack = back->second;
        rows.push_back(std::move(row));
    }
    return rows;
}

Verdict Judge(const PortFact& port) {
    if (!port.offered)
        return {2, L"does not work on this port: the Port list offers no row for it"};
    if (!port.opened)
        return {2, plat::Format(L"does not work on this port: it does not open (error %d: %s)",
                                port.errorCode,
                                port.errorMessage ? port.errorMessage->c_str() : L"no message")};
    if (port.missing.empty()) return {0, L"works fully"};
    return {1, plat::Format(L"works with %zu feature(s) missing; first %s: %s", port.missing.size(),
                            Wide(port.missing.front().property), port.missing.front().effect)};
}

Verdict JudgeAll(const Report& report) {
    if (report.ports.empty()) return {2, L"does not work: the library offers no port"};
    if (report.ports.size() == 1) return report.ports.front().verdict;
    Verdict all;
    for (const PortFact& port : report.ports) {
        all.status = std::max(all.status, port.verdict.status);
        all.text += (all.text.empty() ? L"" : L"; ") +
                    plat::Format(L"port %d %s", port.index, port.verdict.text);
    }
    return all;
}

// The Port list's label of each port it offers.
using PortLabels = std::map<int32_t, std::wstring>;

// What the library and the plug-in's controller answer for the port, without the dialog.
PortFact InspectPort(int32_t index, CAmbrelController& ctl, const PortLabels& labels,
                     const InspectOptions& options, Listing& listing) {
    PortFact port;
    port.index = index;
    port.cost.counted = meter::Available();
    if (options.baud) {
        port.cost.baud = *options.baud;
    } else if (const auto it = options.baudByPort.find(index); it != options.baudByPort.end()) {
        port.cost.baud = it->second;
    }
    if (const char* description = pfGetPortInfo(index)) port.description = description;
    if (const auto label = labels.find(index); label != labels.end()) {
        port.offered = true;
        port.label = label->second;
    }
    if (!port.description) {
        Warn(port, "port description",
             L"the library answers none: the Port list offers no row for this port");
    } else if (!Converts(*port.description)) {
        Warn(port, "port description",
             L"does not convert with this code page: bytes that do not convert are shown as "
             L"the characters of the same number");
    }

    meter::Reset();
    ctl.SetSetting(kIdPort, index);
    port.opened = ctl.m_port == index;
    if (!port.opened) {
        std::optional<std::string> message = meter::LastErrorMessage();
        port.errorCode = meter::LastOpenResult();
        if (!meter::Available()) {
            // The controller keeps the answer to itself; ask the library once more.
            port.errorCode = pfOpenPort(index, 0);
            if (port.errorCode == 0) pfClosePort(index);
            const char* text = pfGetErrorMsg(index);
            message = text ? std::optional<std::string>(text) : std::nullopt;
        }
        if (message) port.errorMessage = Wide(*message);
        port.tabs = pages::TabsFor(ctl);
    } else {
        listing = InspectOpenPort(ctl, port);
    }
    port.verdict = Judge(port);
    return port;
}

// Opens the port through the dialog, and with --actions clicks everything there; answers what
// the clicks wrote and whether it read back.
std::map<std::string, bool> ClickPort(PortFact& port, const Listing& listing,
                                      const InspectOptions& options, DialogClicks& dialog) {
    port.clicked = true;
    std::vector<ClickCost> opening = dialog.OpenPort(port.index, port.cost.baud);
    const bool chosen = std::any_of(opening.begin(), opening.end(),
                                    [](const ClickCost& c) { return c.action == "open_port"; });
    Append(port.cost.actions, std::move(opening));
    if (!port.opened || !chosen || !options.actions) return {};
    if (meter::Available()) return ClickEverything(dialog, port, listing);
    Warn(port, "--actions",
         L"no click made: this build cannot watch the library's calls, so it could not tell "
         L"which values it can put back");
    return {};
}

}  // namespace

Report Inspect(const InspectOptions& options) {
    Report report;
    report.portCount = pfGetNumPort();
    if (report.portCount > CAmbrelController::kMaxPorts)
        report.warnings.push_back(WarningFact{
            "port count", plat::Format(L"%d ports: the plug-in offers the first %d",
                                       report.portCount, CAmbrelController::kMaxPorts)});
    const int32_t count = std::min(report.portCount, CAmbrelController::kMaxPorts);

    // One controller goes from port to port, as the Port list does: each port costs the
    // plug-in's refreshes, never one more listing of every port.
    CAmbrelController ctl;
    ctl.Refresh();
    PortLabels labels;
    for (const SettingInfo& info : ctl.m_settings)
        if (info.id == kIdPort)
            for (const SettingOption& option : info.options) labels[option.value] = option.label;

    DialogClicks dialog;
    std::string why;
    const bool clicking = dialog.Start(&why);
    if (!clicking && DialogClicks::Available())
        report.warnings.push_back(
            WarningFact{"dialog", L"the plug-in's dialog cannot be shown: " + Wide(why)});
    // Every open through the dialog refreshes the plug-in, which reads every port's description:
    // the dialog is clicked on one port (the one named, else the first that opens) unless every
    // port is asked for.
    bool clicked = false;
    for (int32_t i = 0; i < count; ++i) {
        if (options.port && *options.port != i) continue;
        Listing listing;
        PortFact port = InspectPort(i, ctl, labels, options, listing);
        std::map<std::string, bool> readsBack;
        if (clicking && (options.clickAllPorts || (!clicked && (options.port || port.opened)))) {
            readsBack = ClickPort(port, listing, options, dialog);
            clicked = true;
            if (!options.clickAllPorts) report.clickedPort = i;
        }
        // Read through the dialog's opening of the port, or the controller's before it closed.
        if (options.properties && port.opened && (port.clicked || ctl.m_port == i))
            port.properties = PropertyTable(i, listing, readsBack);
        report.ports.push_back(std::move(port));
    }
    dialog.Stop();
    report.verdict = JudgeAll(report);
    return report;
}

}  // namespace inspect
