// The registry of window classes.
#include "host/ui/window_class.h"

#include <algorithm>
#include <cctype>

namespace host::ui {

namespace {

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

// Class chains are short (a control, its base); a longer walk means a loop in the `base` links.
constexpr int kMaxClassDepth = 64;

}  // namespace

bool WindowClassRegistry::registerClass(WindowClass windowClass) {
    if (windowClass.name.empty() || find(windowClass.name)) return false;
    classes_.push_back(std::move(windowClass));
    return true;
}

bool WindowClassRegistry::unregisterClass(std::string_view name) {
    auto it = std::find_if(classes_.begin(), classes_.end(),
                           [&](const WindowClass& c) { return sameName(c.name, name); });
    if (it == classes_.end()) return false;
    classes_.erase(it);
    return true;
}

const WindowClass* WindowClassRegistry::find(std::string_view name) const {
    for (const auto& c : classes_)
        if (sameName(c.name, name)) return &c;
    return nullptr;
}

bool WindowClassRegistry::isDerivedFrom(std::string_view name, std::string_view base) const {
    std::string current(name);
    for (int depth = 0; depth < kMaxClassDepth && !current.empty(); ++depth) {
        if (sameName(current, base)) return true;
        const WindowClass* c = find(current);
        if (!c) return false;
        current = c->base;
    }
    return false;
}

std::vector<std::string> WindowClassRegistry::names() const {
    std::vector<std::string> out;
    for (const auto& c : classes_) out.push_back(c.name);
    return out;
}

}  // namespace host::ui
