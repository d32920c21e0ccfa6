#include "host/ui.h"

#include "host/mel.h"

#include <algorithm>
#include <cctype>
#include <deque>
#include <map>

namespace host {
namespace ui {

namespace {

const char* const kMainWindow = "MayaWindow";

struct Model {
    std::map<std::string, Element> elements;
    std::string currentWindow;
    std::string currentMenu;
    int menuCounter = 0;
    int itemCounter = 0;
    std::deque<DialogAnswer> answers;
    std::vector<ShownDialog> shown;

    Model() { clear(); }

    void clear() {
        elements.clear();
        Element window;
        window.kind = ElementKind::kWindow;
        window.name = kMainWindow;
        window.label = kMainWindow;
        elements[kMainWindow] = window;
        currentWindow = kMainWindow;
        currentMenu.clear();
        menuCounter = 0;
        itemCounter = 0;
        answers.clear();
        shown.clear();
    }
};

// Never destroyed, like the interpreter that edits it.
Model& model() {
    static Model* m = new Model;
    return *m;
}

std::string shortName(const std::string& nameOrPath) {
    std::size_t bar = nameOrPath.rfind('|');
    return bar == std::string::npos ? nameOrPath : nameOrPath.substr(bar + 1);
}

Element* find(const std::string& nameOrPath) {
    auto& elements = model().elements;
    auto it = elements.find(shortName(nameOrPath));
    return it == elements.end() ? nullptr : &it->second;
}

bool taken(const std::string& name) {
    return model().elements.count(name) > 0;
}

// A free name: the requested one, or the requested one with its trailing number incremented
// until it is free ("quilloMenu" -> "quilloMenu1", "item7" -> "item8").
std::string uniqueName(const std::string& requested) {
    if (!taken(requested))
        return requested;
    std::size_t digits = requested.size();
    while (digits > 0 && std::isdigit(static_cast<unsigned char>(requested[digits - 1])))
        --digits;
    std::string base = requested.substr(0, digits);
    long n = digits < requested.size() ? std::stol(requested.substr(digits)) + 1 : 1;
    while (taken(base + std::to_string(n)))
        ++n;
    return base + std::to_string(n);
}

std::string generatedName(const std::string& prefix, int& counter) {
    std::string name;
    do
        name = prefix + std::to_string(++counter);
    while (taken(name));
    return name;
}

bool holdsItems(const Element& e) {
    return e.kind == ElementKind::kMenu || (e.kind == ElementKind::kMenuItem && e.subMenu);
}

std::string create(ElementKind kind, const std::string& requestedName, Element& parent) {
    Model& m = model();
    std::string name = requestedName.empty()
                           ? (kind == ElementKind::kMenu ? generatedName("menu", m.menuCounter)
                                                         : generatedName("menuItem", m.itemCounter))
                           : uniqueName(shortName(requestedName));
    parent.children.push_back(name);
    Element e;
    e.kind = kind;
    e.name = name;
    e.parent = parent.name;
    m.elements[name] = e;
    return name;
}

void eraseTree(const std::string& name) {
    auto& elements = model().elements;
    auto it = elements.find(name);
    if (it == elements.end())
        return;
    std::vector<std::string> children = it->second.children;
    for (const std::string& child : children)
        eraseTree(child);
    elements.erase(name);
}

} // namespace

bool exists(const std::string& name) {
    return find(name) != nullptr;
}

bool menuExists(const std::string& name) {
    const Element* e = find(name);
    return e && e->kind == ElementKind::kMenu;
}

bool menuItemExists(const std::string& name) {
    const Element* e = find(name);
    return e && e->kind == ElementKind::kMenuItem;
}

std::optional<Element> element(const std::string& name) {
    const Element* e = find(name);
    if (!e)
        return std::nullopt;
    return *e;
}

std::string fullPath(const std::string& name) {
    const Element* e = find(name);
    if (!e)
        return "";
    std::string path = e->name;
    while (!e->parent.empty()) {
        e = find(e->parent);
        if (!e)
            break;
        path = e->name + "|" + path;
    }
    return path;
}

std::vector<std::string> menusOf(const std::string& window) {
    const Element* e = find(window);
    return e && e->kind == ElementKind::kWindow ? e->children : std::vector<std::string>();
}

std::vector<std::string> itemNames(const std::string& menu) {
    const Element* e = find(menu);
    return e && holdsItems(*e) ? e->children : std::vector<std::string>();
}

std::vector<std::string> itemLabels(const std::string& menu) {
    std::vector<std::string> labels;
    for (const std::string& item : itemNames(menu))
        if (const Element* e = find(item))
            labels.push_back(e->label);
    return labels;
}

std::string findItemByLabel(const std::string& menu, const std::string& label) {
    for (const std::string& item : itemNames(menu))
        if (const Element* e = find(item))
            if (!e->divider && e->label == label)
                return e->name;
    return "";
}

std::string currentWindow() {
    return model().currentWindow;
}
std::string currentMenu() {
    return model().currentMenu;
}

std::string createMenu(const std::string& requestedName, const std::string& parentWindow) {
    Element* parent = find(parentWindow);
    if (!parent || parent->kind != ElementKind::kWindow)
        return "";
    std::string name = create(ElementKind::kMenu, requestedName, *parent);
    model().currentMenu = name;
    return name;
}

std::string createMenuItem(const std::string& requestedName, const std::string& parentMenu) {
    Element* parent = find(parentMenu);
    if (!parent || !holdsItems(*parent))
        return "";
    return create(ElementKind::kMenuItem, requestedName, *parent);
}

Element* edit(const std::string& name) {
    return find(name);
}

bool deleteElement(const std::string& name) {
    Element* e = find(name);
    if (!e || e->name == kMainWindow)
        return false;
    std::string shortN = e->name;
    if (Element* parent = find(e->parent)) {
        auto& siblings = parent->children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), shortN), siblings.end());
    }
    eraseTree(shortN);
    Model& m = model();
    if (!m.currentMenu.empty() && !taken(m.currentMenu))
        m.currentMenu.clear();
    if (!taken(m.currentWindow))
        m.currentWindow = kMainWindow;
    return true;
}

bool deleteAllItems(const std::string& menu) {
    Element* e = find(menu);
    if (!e || !holdsItems(*e))
        return false;
    std::vector<std::string> children = e->children;
    for (const std::string& child : children)
        deleteElement(child);
    return true;
}

bool setCurrentWindow(const std::string& window) {
    Element* e = find(window);
    if (!e || e->kind != ElementKind::kWindow)
        return false;
    model().currentWindow = e->name;
    return true;
}

bool setCurrentMenu(const std::string& menu) {
    if (menu.empty()) {
        model().currentMenu.clear();
        return true;
    }
    Element* e = find(menu);
    if (!e || !holdsItems(*e))
        return false;
    model().currentMenu = e->name;
    return true;
}

MStatus invokeMenuItem(const std::string& name) {
    const Element* e = find(name);
    if (!e || e->kind != ElementKind::kMenuItem || e->divider || e->subMenu || !e->enabled)
        return MS::kFailure;
    if (e->command.empty())
        return MS::kSuccess;
    std::string command = e->command; // the command may delete the item
    return melExecute(command);
}

void reset() {
    model().clear();
}

void queueDialogAnswer(DialogAnswer answer) {
    model().answers.push_back(std::move(answer));
}

std::optional<DialogAnswer> takeDialogAnswer() {
    auto& answers = model().answers;
    if (answers.empty())
        return std::nullopt;
    DialogAnswer answer = std::move(answers.front());
    answers.pop_front();
    return answer;
}

void recordDialog(ShownDialog dialog) {
    model().shown.push_back(std::move(dialog));
}

std::vector<ShownDialog> shownDialogs() {
    return model().shown;
}

} // namespace ui
} // namespace host
