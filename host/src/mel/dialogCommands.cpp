// MEL's modal dialogs for a session without a screen: confirmDialog, promptDialog and
// fileDialog2 answer from the UI model's queue of answers, or with their defaults (host/ui.h).

#include "mel/interpreter.h"

#include "host/ui.h"

namespace host {
namespace mel {

namespace {

std::vector<std::string> buttonsOf(const MelCall& call) {
    std::vector<std::string> buttons;
    for (const std::vector<MelValue>& use : call.uses("button"))
        buttons.push_back(use.empty() ? std::string() : use.front().asString());
    return buttons;
}

// What pressing nothing but Enter (or closing the dialog) gives.
std::string defaultButton(const MelCall& call) {
    if (call.has("defaultButton"))
        return call.stringValue("defaultButton");
    return call.stringValue("dismissString", "dismiss");
}

void record(const MelCall& call, const std::string& message, const std::string& text = "") {
    ui::recordDialog({call.command(), call.stringValue("title"), message, buttonsOf(call), text});
}

MStatus confirmDialog(MelCall& call) {
    record(call, call.stringValue("message"));
    std::optional<ui::DialogAnswer> answer = ui::takeDialogAnswer();
    call.setResult(MelValue(answer ? answer->button : defaultButton(call)));
    return MS::kSuccess;
}

MStatus promptDialog(MelCall& call) {
    if (call.isQuery()) {
        if (!call.has("text")) {
            call.error("promptDialog: only -text can be queried.");
            return MS::kFailure;
        }
        // The text of the last prompt shown.
        std::string text;
        for (const ui::ShownDialog& shown : ui::shownDialogs())
            if (shown.command == "promptDialog")
                text = shown.text;
        call.setResult(MelValue(text));
        return MS::kSuccess;
    }
    std::optional<ui::DialogAnswer> answer = ui::takeDialogAnswer();
    record(call, call.stringValue("message"), answer ? answer->text : call.stringValue("text"));
    call.setResult(MelValue(answer ? answer->button : defaultButton(call)));
    return MS::kSuccess;
}

MStatus fileDialog2(MelCall& call) {
    const int mode = call.intValue("fileMode", 1);
    if (mode < 0 || mode > 4) {
        call.error("fileDialog2: -fileMode takes 0 to 4, not " + std::to_string(mode) + ".");
        return MS::kFailure;
    }
    record(call, call.stringValue("caption"));
    std::optional<ui::DialogAnswer> answer = ui::takeDialogAnswer();
    // Maya gives an array of the chosen paths, and nothing at all when the user cancels.
    if (answer && !answer->text.empty())
        call.setResult(MelValue(std::vector<std::string>{answer->text}));
    else
        call.setResult(MelValue(std::vector<std::string>{}));
    return MS::kSuccess;
}

} // namespace

void registerDialogCommands(Interpreter& in) {
    MelSyntax confirm;
    confirm.maxPositional = 0;
    confirm.flag("t", "title", 1)
        .flag("m", "message", 1)
        .flag("ma", "messageAlign", 1)
        .flag("b", "button", 1, true)
        .flag("db", "defaultButton", 1)
        .flag("cb", "cancelButton", 1)
        .flag("ds", "dismissString", 1)
        .flag("icn", "icon", 1)
        .flag("bgc", "backgroundColor", 3)
        .flag("p", "parent", 1);
    in.registerCommand("confirmDialog", confirmDialog, confirm);

    MelSyntax prompt = confirm;
    prompt.queryable = true;
    prompt.flag("tx", "text", 1).flag("st", "style", 1).flag("sf", "scrollableField", 1);
    in.registerCommand("promptDialog", promptDialog, prompt);

    MelSyntax file;
    file.maxPositional = 0;
    file.flag("fm", "fileMode", 1)
        .flag("cap", "caption", 1)
        .flag("ff", "fileFilter", 1)
        .flag("sff", "selectFileFilter", 1)
        .flag("dir", "startingDirectory", 1)
        .flag("okc", "okCaption", 1)
        .flag("cc", "cancelCaption", 1)
        .flag("ds", "dialogStyle", 1)
        .flag("rf", "returnFilter", 1)
        .flag("hne", "hideNameEdit", 1)
        .flag("spe", "setProjectBtnEnabled", 1);
    in.registerCommand("fileDialog2", fileDialog2, file);
}

} // namespace mel
} // namespace host
