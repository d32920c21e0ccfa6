#pragma once
// The host's model of Maya's menus: what MEL's menu, menuItem, setParent and deleteUI build and
// what tests query. Nothing is drawn; the model only keeps names, labels, commands and order.
//
// Elements are windows, menus and menu items. The main window "MayaWindow" always exists.
// A menu belongs to a window, an item to a menu or to a sub-menu item. Short names are unique
// across the model: a requested name that is taken gets a number (the trailing digits are
// incremented, "quilloMenu" -> "quilloMenu1"), and an element created without a name is called
// "menu<N>" or "menuItem<N>" from one counter per kind. Functions that take a name accept a
// short name or a full path ("MayaWindow|quilloMenu|menuItem3"; only the last component counts).
//
// Current parents, as Maya keeps them: the current window (the default parent of menus; starts as
// "MayaWindow") and the current menu (the default parent of menu items). Creating a menu makes it
// the current menu; creating a sub-menu item makes that item the current menu.

#include <maya/MStatus.h>

#include <optional>
#include <string>
#include <vector>

namespace host {
namespace ui {

enum class ElementKind { kWindow, kMenu, kMenuItem };

struct Element {
    ElementKind kind = ElementKind::kMenuItem;
    std::string name;   // short name
    std::string parent; // short name; "" for a window
    std::string label;
    std::string command;    // MEL run when the item is chosen
    std::string annotation; // status-line help
    bool divider = false;   // items
    bool subMenu = false;   // items that hold items
    bool optionBox = false; // items: the option box of the item before it
    bool checkBox = false;  // items: has a check box
    bool checked = false;   // its state
    bool enabled = true;
    bool tearOff = false;              // menus and sub-menus
    bool allowOptionBoxes = false;     // menus and sub-menus
    std::vector<std::string> children; // in order: a window's menus, a menu's items
};

// ---- Queries ---------------------------------------------------------------------------------

bool exists(const std::string& name);
bool menuExists(const std::string& name);     // a menu (not an item) of this name exists
bool menuItemExists(const std::string& name); // an item of this name exists
std::optional<Element> element(const std::string& name);
// "MayaWindow|quilloMenu|menuItem3"; "" if there is no such element.
std::string fullPath(const std::string& name);
// The menus of a window, in order.
std::vector<std::string> menusOf(const std::string& window = "MayaWindow");
// The items of a menu or sub-menu, in order: their short names, or their labels (a divider
// gives its label, normally "").
std::vector<std::string> itemNames(const std::string& menu);
std::vector<std::string> itemLabels(const std::string& menu);
// The item of a menu or sub-menu that has this label; "" if none.
std::string findItemByLabel(const std::string& menu, const std::string& label);
std::string currentWindow();
std::string currentMenu(); // "" when there is none

// ---- Changes, used by the MEL commands ---------------------------------------------------------

// Creates an element under parent (a short name or path) and returns its short name, or "" if the
// parent does not exist or cannot hold it (a menu needs a window, an item a menu or sub-menu).
// requestedName "" asks for a generated name.
std::string createMenu(const std::string& requestedName, const std::string& parentWindow);
std::string createMenuItem(const std::string& requestedName, const std::string& parentMenu);
// Direct access for editing; nullptr if absent. Valid until that element is deleted.
Element* edit(const std::string& name);
// Deletes the element and everything under it. False if it does not exist.
bool deleteElement(const std::string& name);
// Deletes every item of a menu or sub-menu.
bool deleteAllItems(const std::string& menu);
bool setCurrentWindow(const std::string& window);
bool setCurrentMenu(const std::string& menu); // "" clears it
// Runs the command of a menu item through MEL, as choosing it would. kFailure if the item does
// not exist, is disabled or a divider, or its command fails.
MStatus invokeMenuItem(const std::string& name);

// ---- Dialogs --------------------------------------------------------------------------------
//
// A headless session shows no dialog. confirmDialog, promptDialog and fileDialog2 record what they
// would show and take the oldest answer queued here; without one they answer as a user who
// accepts whatever the dialog offers: confirmDialog and promptDialog their -defaultButton (else
// their -dismissString, else "dismiss"), promptDialog keeping its -text; fileDialog2 is cancelled
// (it returns no path), since no default file could stand for the user's choice.

struct DialogAnswer {
    std::string button; // the button pressed: confirmDialog's and promptDialog's result
    std::string text;   // promptDialog's text, or fileDialog2's path ("" cancels)
};
struct ShownDialog {
    std::string command; // "confirmDialog", "promptDialog" or "fileDialog2"
    std::string title;
    std::string message; // fileDialog2: its caption
    std::vector<std::string> buttons;
    std::string text; // promptDialog: the text it was left with
};

void queueDialogAnswer(DialogAnswer answer);
// The oldest queued answer, removed from the queue; nothing when the queue is empty.
std::optional<DialogAnswer> takeDialogAnswer();
void recordDialog(ShownDialog dialog);
// The dialogs shown since the last reset, oldest first.
std::vector<ShownDialog> shownDialogs();

// Back to the start: only "MayaWindow", which is also the current window; no current menu; name
// counters restart; no dialog answers queued or dialogs recorded.
void reset();

} // namespace ui
} // namespace host
