// Reading model-file JSON strictly: a SAX handler building the document while it checks.
#include "JsonReader.h"

#include <optional>
#include <utility>
#include <vector>

namespace pfsim {
namespace {

using nlohmann::json;

constexpr size_t kShownChars = 40;

// Cut at a character boundary, so a UTF-8 text stays valid.
std::string Shorten(std::string text) {
    if (text.size() <= kShownChars) return text;
    size_t end = kShownChars - 3;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    return text.substr(0, end) + "...";
}

// Builds the document as nlohmann's own DOM parser does, keeping the path of every open
// container for messages. Returning false stops the parse.
class StrictHandler : public nlohmann::json_sax<json> {
public:
    explicit StrictHandler(json& root) : m_root(root) {}

    const std::optional<std::string>& Error() const { return m_error; }

    bool null() override { return Put(nullptr); }
    bool boolean(bool v) override { return Put(v); }
    bool number_integer(number_integer_t v) override { return Put(v); }
    bool number_unsigned(number_unsigned_t v) override { return Put(v); }
    bool number_float(number_float_t v, const string_t&) override { return Put(v); }
    bool string(string_t& v) override { return Put(std::move(v)); }
    bool binary(binary_t& v) override { return Put(json::binary(std::move(v))); }
    bool start_object(std::size_t) override { return Open(json::object()); }
    bool start_array(std::size_t) override { return Open(json::array()); }
    bool end_object() override { return Close(); }
    bool end_array() override { return Close(); }

    bool key(string_t& k) override {
        if (m_open.back().value->contains(k)) {
            return Fail(PathWithKey(m_open.back().path, k), "duplicate key");
        }
        m_key = std::move(k);
        return true;
    }

    bool parse_error(std::size_t, const std::string&,
                     const nlohmann::detail::exception& e) override {
        std::string what = e.what();
        // The parser quotes the token it stopped at, which may be a whole line of text.
        if (const size_t at = what.find("; last read: '"); at != std::string::npos) {
            what = what.substr(0, at) + "; last read: '" + Shorten(what.substr(at + 14));
        }
        return Fail("$", "not valid JSON: " + what);
    }

private:
    struct Frame {
        json* value;
        std::string path;
    };

    // Where the next value goes, and its path.
    std::pair<json*, std::string> Slot() {
        if (m_open.empty()) return {&m_root, "$"};
        Frame& top = m_open.back();
        if (top.value->is_array()) {
            std::string path = top.path + "[" + std::to_string(top.value->size()) + "]";
            top.value->push_back(nullptr);
            return {&top.value->back(), std::move(path)};
        }
        return {&(*top.value)[m_key], PathWithKey(top.path, m_key)};
    }

    template <class V>
    bool Put(V&& v) {
        *Slot().first = json(std::forward<V>(v));
        return true;
    }

    bool Open(json container) {
        auto [at, path] = Slot();
        if (m_open.size() >= kMaxJsonDepth) {
            return Fail(path, "nested deeper than " + std::to_string(kMaxJsonDepth) + " levels");
        }
        *at = std::move(container);
        m_open.push_back({at, std::move(path)});
        return true;
    }

    bool Close() {
        m_open.pop_back();
        return true;
    }

    bool Fail(const std::string& path, const std::string& what) {
        m_error = path + ": " + what;
        return false;
    }

    json& m_root;
    std::vector<Frame> m_open;
    std::string m_key;
    std::optional<std::string> m_error;
};

}  // namespace

bool ReadStrictJson(std::string_view text, json& out, std::string& error) {
    json root;
    StrictHandler handler(root);
    const bool ok = json::sax_parse(text, &handler);
    if (!ok || handler.Error()) {
        error = handler.Error().value_or("$: not valid JSON");
        return false;
    }
    out = std::move(root);
    return true;
}

std::string PathWithKey(const std::string& path, std::string_view key) {
    return path + "." + Shorten(std::string(key));
}

std::string Describe(const json& value) {
    switch (value.type()) {
        case json::value_t::object:
            return "an object";
        case json::value_t::array:
            return "an array";
        case json::value_t::string:
            return json(Shorten(value.get_ref<const std::string&>())).dump();
        default:
            return Shorten(value.dump());
    }
}

}  // namespace pfsim
