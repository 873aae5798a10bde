// Lookups and changes of the in-memory registry tree.
#include "host/reg/registry_tree.h"

#include <algorithm>

#include "host/sys/text_case.h"

namespace host::reg {

namespace {

template <class Node>
auto* findChildIn(Node& node, std::string_view childName) {
    const std::string folded = sys::upperCase(childName);
    auto it = std::find_if(node.children.begin(), node.children.end(),
                           [&](const RegistryKeyNode& child) { return child.folded == folded; });
    return it == node.children.end() ? nullptr : &*it;
}

template <class Node>
auto* findValueIn(Node& node, std::string_view valueName) {
    auto it = std::find_if(node.values.begin(), node.values.end(),
                           [&](const RegistryValue& v) { return sys::equalsNoCase(v.name, valueName); });
    return it == node.values.end() ? nullptr : &*it;
}

template <class Tree>
auto* findIn(Tree& tree, Hive hive, const std::vector<std::string>& names) {
    auto* node = &tree.root(hive);
    for (const std::string& name : names) {
        node = node->findChild(name);
        if (node == nullptr) return node;
    }
    return node;
}

}  // namespace

const RegistryValue* RegistryKeyNode::findValue(std::string_view valueName) const {
    return findValueIn(*this, valueName);
}
RegistryValue* RegistryKeyNode::findValue(std::string_view valueName) { return findValueIn(*this, valueName); }
const RegistryKeyNode* RegistryKeyNode::findChild(std::string_view childName) const {
    return findChildIn(*this, childName);
}
RegistryKeyNode* RegistryKeyNode::findChild(std::string_view childName) { return findChildIn(*this, childName); }

void RegistryKeyNode::setValue(RegistryValue value) {
    if (RegistryValue* existing = findValue(value.name)) {
        value.name = existing->name;
        *existing = std::move(value);
    } else {
        values.push_back(std::move(value));
    }
}

bool RegistryKeyNode::removeValue(std::string_view valueName) {
    const auto removed =
        std::erase_if(values, [&](const RegistryValue& v) { return sys::equalsNoCase(v.name, valueName); });
    return removed > 0;
}

bool RegistryKeyNode::removeChild(std::string_view childName) {
    const std::string folded = sys::upperCase(childName);
    const auto removed = std::erase_if(children, [&](const RegistryKeyNode& child) { return child.folded == folded; });
    return removed > 0;
}

const RegistryKeyNode* RegistryTree::find(Hive hive, const std::vector<std::string>& names) const {
    return findIn(*this, hive, names);
}

RegistryKeyNode* RegistryTree::find(Hive hive, const std::vector<std::string>& names) {
    return findIn(*this, hive, names);
}

RegistryKeyNode& RegistryTree::ensure(Hive hive, const std::vector<std::string>& names) {
    RegistryKeyNode* node = &root(hive);
    for (const std::string& name : names) {
        RegistryKeyNode* child = node->findChild(name);
        if (child == nullptr) {
            node->children.push_back(RegistryKeyNode{name, sys::upperCase(name), {}, {}});
            child = &node->children.back();
        }
        node = child;
    }
    return *node;
}

bool RegistryTree::remove(Hive hive, const std::vector<std::string>& names) {
    if (names.empty()) return false;
    std::vector<std::string> parentNames(names.begin(), names.end() - 1);
    RegistryKeyNode* parent = find(hive, parentNames);
    return parent != nullptr && parent->removeChild(names.back());
}

bool RegistryTree::empty() const {
    return localMachine.values.empty() && localMachine.children.empty() && currentUser.values.empty() &&
           currentUser.children.empty();
}

}  // namespace host::reg
