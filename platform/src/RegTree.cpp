// The registry calls that are the same on every backend: opening a key by its path, and walks of
// the tree, each bounded by the depth limit.
#include <algorithm>

#include "RegBackend.h"
#include "RegData.h"
#include "RegText.h"
#include "platform/Registry.h"
#include "platform/TextRules.h"

namespace plat::reg {

namespace {

// Opens the key at the path from the root, a name at a time, into `key`, spelling the path as
// stored (each name in the case it was created with) into `stored`.
Status OpenStored(const std::vector<std::wstring_view>& names, KeyGuard* key,
                  std::wstring* stored) {
    if (Status s = OpenKey(L"", key->out()); s != kSuccess) return s;
    for (const auto name : names) {
        std::vector<std::wstring> children;
        if (Status s = EnumSubkeys(key->get(), &children); s != kSuccess) return s;
        KeyGuard child;
        if (Status s = OpenSubkey(key->get(), name, child.out()); s != kSuccess) return s;
        // The registry may match names more widely than ASCII does: then the name as given.
        const auto match =
            std::find_if(children.begin(), children.end(),
                         [&](const std::wstring& c) { return EqualsAsciiNoCase(c, name); });
        if (!stored->empty()) stored->push_back(L'\\');
        stored->append(match != children.end() ? std::wstring_view(*match) : name);
        std::swap(*key->out(), *child.out());
    }
    return kSuccess;
}

Status ListValues(HKey key, std::vector<Value>* values) {
    return EnumValues(key, values);
}

Status ListValues(HKey key, std::vector<TypedValue>* values) {
    return EnumTypedValues(key, values);
}

// `depth` counts the levels below the root, so that a corrupt tree (a cycle in a store file, a
// link loop in a real registry) ends the walk instead of the stack.
template <class Item, class Visitor>
Status Visit(HKey key, const std::wstring& path, size_t depth, const Visitor& visit) {
    std::vector<Item> values;
    if (Status s = ListValues(key, &values); s != kSuccess) return s;
    if (Status s = visit(path, values); s != kSuccess) return s;
    std::vector<std::wstring> children;
    if (Status s = EnumSubkeys(key, &children); s != kSuccess) return s;
    if (!children.empty() && depth >= kMaxKeyDepth) return kStoreFailure;
    for (const auto& name : children) {
        KeyGuard child;
        if (Status s = OpenSubkey(key, name, child.out()); s != kSuccess) return s;
        const std::wstring childPath = path.empty() ? name : path + L"\\" + name;
        if (Status s = Visit<Item>(child.get(), childPath, depth + 1, visit); s != kSuccess)
            return s;
    }
    return kSuccess;
}

template <class Item, class Visitor>
Status Walk(std::wstring_view path, const Visitor& visit) {
    std::vector<std::wstring_view> names;
    if (Status s = text::SplitPath(path, &names); s != kSuccess) return s;
    std::wstring stored;
    KeyGuard key;
    if (Status s = OpenStored(names, &key, &stored); s != kSuccess) return s;
    return Visit<Item>(key.get(), stored, names.size(), visit);
}

}  // namespace

Status WalkTree(std::wstring_view path, const TreeVisitor& visit) {
    return Walk<Value>(path, visit);
}

Status WalkTypedTree(std::wstring_view path, const TypedTreeVisitor& visit) {
    return Walk<TypedValue>(path, visit);
}

// The values a String and Dword interface can hold, from the backend's list of every value.
Status EnumValues(HKey key, std::vector<Value>* values) {
    if (!values) return kInvalidParameter;
    values->clear();
    std::vector<TypedValue> typed;
    if (Status s = EnumTypedValues(key, &typed); s != kSuccess) return s;
    for (TypedValue& item : typed) {
        Value value;
        value.name = std::move(item.name);
        value.type = item.type;
        if (item.type == ValueType::String)
            value.text = data::ToText(item.data);
        else if (item.type != ValueType::Dword || !data::ToDword(item.data, &value.dword))
            continue;
        values->push_back(std::move(value));
    }
    return kSuccess;
}

Status CreateKey(std::wstring_view path, HKey* out) {
    return OpenKeyPath(path, true, out);
}

Status OpenKey(std::wstring_view path, HKey* out) {
    return OpenKeyPath(path, false, out);
}

}  // namespace plat::reg
