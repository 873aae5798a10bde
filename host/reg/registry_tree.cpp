// Lookups and changes of the in-memory registry tree.
#include "host/reg/registry_tree.h"

#include <cstddef>

#include "host/sys/text_case.h"

namespace host::reg {

namespace {

// The position of `folded` in `list` by the index when the index is in step with the list (it counts as many
// names, and the entry found bears the name), else by a walk. `foldedOf` gives an entry's upper-cased name.
template <class List, class FoldedOf>
std::optional<std::size_t> positionIn(const List& list, const NamePositions& index, const std::string& folded,
                                      FoldedOf foldedOf) {
    if (index.size() == list.size()) {
        const std::optional<std::size_t> at = index.find(folded);
        if (!at) return std::nullopt;
        if (*at < list.size() && foldedOf(list[*at]) == folded) return at;
    }
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (foldedOf(list[i]) == folded) return i;
    }
    return std::nullopt;
}

std::string foldedValueName(const RegistryValue& value) { return sys::upperCase(value.name); }
const std::string& foldedChildName(const RegistryKeyNode& child) { return child.folded; }

template <class Node>
auto* findChildIn(Node& node, std::string_view childName) {
    const auto at = positionIn(node.children, node.childIndex, sys::upperCase(childName), foldedChildName);
    return at ? &node.children[*at] : nullptr;
}

template <class Node>
auto* findValueIn(Node& node, std::string_view valueName) {
    const auto at = positionIn(node.values, node.valueIndex, sys::upperCase(valueName), foldedValueName);
    return at ? &node.values[*at] : nullptr;
}

void reindexValues(RegistryKeyNode& node) {
    node.valueIndex.clear();
    for (std::size_t i = 0; i < node.values.size(); ++i) node.valueIndex.add(foldedValueName(node.values[i]), i);
}

void reindexChildren(RegistryKeyNode& node) {
    node.childIndex.clear();
    for (std::size_t i = 0; i < node.children.size(); ++i) node.childIndex.add(node.children[i].folded, i);
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

std::optional<std::size_t> NamePositions::find(const std::string& folded) const {
    const auto it = positions_.find(folded);
    if (it == positions_.end()) return std::nullopt;
    return it->second;
}

const RegistryValue* RegistryKeyNode::findValue(std::string_view valueName) const {
    return findValueIn(*this, valueName);
}
RegistryValue* RegistryKeyNode::findValue(std::string_view valueName) { return findValueIn(*this, valueName); }
const RegistryKeyNode* RegistryKeyNode::findChild(std::string_view childName) const {
    return findChildIn(*this, childName);
}
RegistryKeyNode* RegistryKeyNode::findChild(std::string_view childName) { return findChildIn(*this, childName); }

void RegistryKeyNode::setValue(RegistryValue value) {
    std::string valueFolded = foldedValueName(value);
    if (const auto at = positionIn(values, valueIndex, valueFolded, foldedValueName)) {
        value.name = values[*at].name;
        values[*at] = std::move(value);
        return;
    }
    if (valueIndex.size() != values.size()) reindexValues(*this);
    valueIndex.add(std::move(valueFolded), values.size());
    values.push_back(std::move(value));
}

// Removing shifts the entries after the one removed, so the index is made again: linear, as the erase is.
bool RegistryKeyNode::removeValue(std::string_view valueName) {
    const auto at = positionIn(values, valueIndex, sys::upperCase(valueName), foldedValueName);
    if (!at) return false;
    values.erase(values.begin() + static_cast<std::ptrdiff_t>(*at));
    reindexValues(*this);
    return true;
}

RegistryKeyNode& RegistryKeyNode::addChild(std::string childName) {
    if (childIndex.size() != children.size()) reindexChildren(*this);
    std::string childFolded = sys::upperCase(childName);
    childIndex.add(childFolded, children.size());
    children.push_back(RegistryKeyNode{std::move(childName), std::move(childFolded), {}, {}, {}, {}});
    return children.back();
}

bool RegistryKeyNode::removeChild(std::string_view childName) {
    const auto at = positionIn(children, childIndex, sys::upperCase(childName), foldedChildName);
    if (!at) return false;
    children.erase(children.begin() + static_cast<std::ptrdiff_t>(*at));
    reindexChildren(*this);
    return true;
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
        if (child == nullptr) child = &node->addChild(name);
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
