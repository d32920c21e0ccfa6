// MEL's menu commands over the host's UI model: menu, menuItem, setParent, deleteUI.

#include "mel/interpreter.h"

#include "host/ui.h"

#include <algorithm>

namespace host {
namespace mel {

namespace {

using ui::Element;
using ui::ElementKind;

std::string firstArg(const MelCall& call) {
    return call.args().empty() ? std::string() : call.args().front().asString();
}

MStatus notFound(MelCall& call, const std::string& name) {
    call.error(call.command() + ": Object '" + name + "' not found.");
    return MS::kFailure;
}

// The flags that menus and items share, applied at creation and by -edit.
void applyCommon(const MelCall& call, Element& e) {
    if (call.has("label"))
        e.label = call.stringValue("label");
    if (call.has("enable"))
        e.enabled = call.boolValue("enable");
    if (call.has("tearOff"))
        e.tearOff = call.boolValue("tearOff");
    if (call.has("allowOptionBoxes"))
        e.allowOptionBoxes = call.boolValue("allowOptionBoxes");
}

// Query answers common to menus and items; false if the call asks for none of them.
bool queryCommon(MelCall& call, const Element& e) {
    if (call.has("label"))
        call.setResult(MelValue(e.label));
    else if (call.has("enable"))
        call.setResult(MelValue(e.enabled ? 1 : 0));
    else if (call.has("tearOff"))
        call.setResult(MelValue(e.tearOff ? 1 : 0));
    else if (call.has("allowOptionBoxes"))
        call.setResult(MelValue(e.allowOptionBoxes ? 1 : 0));
    else if (call.has("parent"))
        call.setResult(MelValue(ui::fullPath(e.parent)));
    else
        return false;
    return true;
}

MStatus menu(MelCall& call) {
    std::string name = firstArg(call);
    if (call.has("exists")) {
        call.setResult(MelValue(ui::menuExists(name) ? 1 : 0));
        return MS::kSuccess;
    }
    if (call.isQuery() || call.isEdit()) {
        Element* e = ui::edit(name);
        if (!e || e->kind != ElementKind::kMenu)
            return notFound(call, name);
        if (call.isEdit()) {
            applyCommon(call, *e);
            if (call.has("deleteAllItems"))
                ui::deleteAllItems(name);
            return MS::kSuccess;
        }
        if (call.has("itemArray"))
            call.setResult(MelValue(ui::itemNames(name)));
        else if (call.has("numberOfItems"))
            call.setResult(MelValue(static_cast<int>(ui::itemNames(name).size())));
        else if (!queryCommon(call, *e)) {
            call.error("menu: give the flag to query.");
            return MS::kFailure;
        }
        return MS::kSuccess;
    }
    std::string parent = call.has("parent") ? call.stringValue("parent") : ui::currentWindow();
    std::string created = ui::createMenu(name, parent);
    if (created.empty()) {
        call.error("menu: the parent '" + parent + "' is not a window.");
        return MS::kFailure;
    }
    applyCommon(call, *ui::edit(created));
    call.setResult(MelValue(ui::fullPath(created)));
    return MS::kSuccess;
}

void applyItem(const MelCall& call, Element& e) {
    applyCommon(call, e);
    if (call.has("command"))
        e.command = call.stringValue("command");
    if (call.has("annotation"))
        e.annotation = call.stringValue("annotation");
    if (call.has("divider"))
        e.divider = call.boolValue("divider");
    if (call.has("dividerLabel"))
        e.label = call.stringValue("dividerLabel");
    if (call.has("checkBox")) {
        e.checkBox = true;
        e.checked = call.boolValue("checkBox");
    }
}

MStatus menuItem(MelCall& call) {
    std::string name = firstArg(call);
    if (call.has("exists")) {
        call.setResult(MelValue(ui::menuItemExists(name) ? 1 : 0));
        return MS::kSuccess;
    }
    if (call.isQuery() || call.isEdit()) {
        Element* e = ui::edit(name);
        if (!e || e->kind != ElementKind::kMenuItem)
            return notFound(call, name);
        if (call.isEdit()) {
            applyItem(call, *e);
            return MS::kSuccess;
        }
        if (call.has("command"))
            call.setResult(MelValue(e->command));
        else if (call.has("annotation"))
            call.setResult(MelValue(e->annotation));
        else if (call.has("divider"))
            call.setResult(MelValue(e->divider ? 1 : 0));
        else if (call.has("subMenu"))
            call.setResult(MelValue(e->subMenu ? 1 : 0));
        else if (call.has("optionBox") || call.has("isOptionBox"))
            call.setResult(MelValue(e->optionBox ? 1 : 0));
        else if (call.has("checkBox"))
            call.setResult(MelValue(e->checked ? 1 : 0));
        else if (!queryCommon(call, *e)) {
            call.error("menuItem: give the flag to query.");
            return MS::kFailure;
        }
        return MS::kSuccess;
    }

    std::string parentName = call.has("parent") ? call.stringValue("parent") : ui::currentMenu();
    std::optional<Element> parent = ui::element(parentName);
    if (parentName.empty() || !parent || !(parent->kind == ElementKind::kMenu || parent->subMenu)) {
        call.error(parentName.empty()
                       ? "menuItem: there is no current menu; give -parent or use setParent -menu."
                       : "menuItem: the parent '" + parentName + "' is not a menu.");
        return MS::kFailure;
    }
    bool optionBox = call.boolValue("optionBox");
    if (optionBox) {
        if (!parent->allowOptionBoxes) {
            call.error("menuItem: the menu '" + parent->name + "' does not allow option boxes.");
            return MS::kFailure;
        }
        std::optional<Element> before;
        if (!parent->children.empty())
            before = ui::element(parent->children.back());
        if (!before || before->divider || before->optionBox || before->subMenu) {
            call.error("menuItem: an option box must follow a command item.");
            return MS::kFailure;
        }
    }

    std::string created = ui::createMenuItem(name, parentName);
    Element& item = *ui::edit(created);
    applyItem(call, item);
    item.optionBox = optionBox;
    if (call.boolValue("subMenu")) {
        item.subMenu = true;
        ui::setCurrentMenu(created);
    }
    if (call.has("insertAfter")) {
        // "" puts the item first; otherwise right after the named sibling.
        Element& holder = *ui::edit(parentName);
        auto& order = holder.children;
        order.pop_back();
        std::string after = call.stringValue("insertAfter");
        auto at = order.begin();
        if (!after.empty()) {
            std::string shortAfter = after.substr(after.rfind('|') + 1);
            at = std::find(order.begin(), order.end(), shortAfter);
            at = at == order.end() ? order.end() : at + 1;
        }
        order.insert(at, created);
    }
    call.setResult(MelValue(ui::fullPath(created)));
    return MS::kSuccess;
}

MStatus setParent(MelCall& call) {
    if (call.isQuery()) {
        std::string current = call.has("menu") ? ui::currentMenu() : ui::currentWindow();
        call.setResult(MelValue(current.empty() ? std::string("NONE") : ui::fullPath(current)));
        return MS::kSuccess;
    }
    if (call.has("topLevel")) {
        ui::setCurrentWindow("MayaWindow");
        call.setResult(MelValue(std::string("MayaWindow")));
        return MS::kSuccess;
    }
    if (call.args().empty() && !call.has("upLevel")) {
        call.error("setParent: give the new parent or \"..\".");
        return MS::kFailure;
    }
    std::string target = call.has("upLevel") ? std::string("..") : firstArg(call);
    if (call.has("menu")) {
        if (target == "..") {
            // Up from a sub-menu to the menu holding it; up from a menu leaves no current menu.
            std::optional<Element> current = ui::element(ui::currentMenu());
            ui::setCurrentMenu(current && current->kind == ElementKind::kMenuItem ? current->parent
                                                                                  : "");
        } else if (!ui::setCurrentMenu(target)) {
            return notFound(call, target);
        }
        call.setResult(MelValue(ui::fullPath(ui::currentMenu())));
        return MS::kSuccess;
    }
    // The model has windows but no layouts, so ".." stays in the current window.
    if (target != ".." && !ui::setCurrentWindow(target))
        return notFound(call, target);
    call.setResult(MelValue(ui::fullPath(ui::currentWindow())));
    return MS::kSuccess;
}

MStatus deleteUI(MelCall& call) {
    for (const MelValue& v : call.args()) {
        std::string name = v.asString();
        std::optional<Element> e = ui::element(name);
        bool kindMatches = e.has_value();
        if (e && call.has("menu"))
            kindMatches = e->kind == ElementKind::kMenu;
        else if (e && call.has("menuItem"))
            kindMatches = e->kind == ElementKind::kMenuItem;
        else if (e && call.has("window"))
            kindMatches = e->kind == ElementKind::kWindow;
        if (!kindMatches || !ui::deleteElement(name))
            return notFound(call, name);
    }
    return MS::kSuccess;
}

} // namespace

void registerUiCommands(Interpreter& in) {
    MelSyntax menuSyntax;
    menuSyntax.queryable = true;
    menuSyntax.editable = true;
    menuSyntax.maxPositional = 1;
    menuSyntax.flag("l", "label", 1)
        .flag("p", "parent", 1)
        .flag("to", "tearOff", 1)
        .flag("aob", "allowOptionBoxes", 1)
        .flag("ex", "exists")
        .flag("ia", "itemArray")
        .flag("ni", "numberOfItems")
        .flag("dai", "deleteAllItems")
        .flag("en", "enable", 1)
        .flag("vis", "visible", 1)
        .flag("pmc", "postMenuCommand", 1)
        .flag("pmo", "postMenuCommandOnce", 1)
        .flag("hm", "helpMenu", 1)
        .flag("mn", "mnemonic", 1)
        .flag("fi", "familyImage", 1)
        .flag("dtg", "docTag", 1)
        .flag("dt", "defineTemplate", 1)
        .flag("ut", "useTemplate", 1);
    in.registerCommand("menu", menu, menuSyntax);

    MelSyntax itemSyntax;
    itemSyntax.queryable = true;
    itemSyntax.editable = true;
    itemSyntax.maxPositional = 1;
    itemSyntax.flag("l", "label", 1)
        .flag("c", "command", 1)
        .flag("d", "divider", 1)
        .flag("dl", "dividerLabel", 1)
        .flag("sm", "subMenu", 1)
        .flag("p", "parent", 1)
        .flag("ob", "optionBox", 1)
        .flag("iob", "isOptionBox")
        .flag("ann", "annotation", 1)
        .flag("en", "enable", 1)
        .flag("cb", "checkBox", 1)
        .flag("rb", "radioButton", 1)
        .flag("to", "tearOff", 1)
        .flag("aob", "allowOptionBoxes", 1)
        .flag("ia", "insertAfter", 1)
        .flag("ex", "exists")
        .flag("i", "image", 1)
        .flag("ec", "echoCommand", 1)
        .flag("stp", "sourceType", 1)
        .flag("bld", "boldFont", 1)
        .flag("itl", "italicized", 1)
        .flag("mn", "mnemonic", 1)
        .flag("ke", "keyEquivalent", 1)
        .flag("alt", "altModifier", 1)
        .flag("ctl", "ctrlModifier", 1)
        .flag("sh", "shiftModifier", 1)
        .flag("cmd", "commandModifier", 1)
        .flag("opt", "optionModifier", 1)
        .flag("da", "data", 1)
        .flag("ver", "version", 1)
        .flag("pmc", "postMenuCommand", 1)
        .flag("pmo", "postMenuCommandOnce", 1)
        .flag("dtg", "docTag", 1)
        .flag("rp", "radialPosition", 1)
        .flag("fi", "familyImage", 1)
        .flag("ecr", "enableCommandRepeat", 1);
    in.registerCommand("menuItem", menuItem, itemSyntax);

    MelSyntax parentSyntax;
    parentSyntax.queryable = true;
    parentSyntax.maxPositional = 1;
    parentSyntax.flag("m", "menu").flag("top", "topLevel").flag("u", "upLevel");
    in.registerCommand("setParent", setParent, parentSyntax);

    MelSyntax deleteSyntax;
    deleteSyntax.minPositional = 1;
    deleteSyntax.flag("m", "menu")
        .flag("mi", "menuItem")
        .flag("wnd", "window")
        .flag("ctl", "control")
        .flag("lay", "layout")
        .flag("pnl", "panel")
        .flag("ed", "editor");
    in.registerCommand("deleteUI", deleteUI, deleteSyntax);
}

} // namespace mel
} // namespace host
