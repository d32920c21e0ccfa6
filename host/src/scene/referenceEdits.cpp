#include "scene/referenceEdits.h"

#include "scene/valueText.h"

namespace host {

namespace {

bool isCount(const SceneToken& token, int& value) {
    return !token.quoted && parseIntText(token.text, value) && value >= 0;
}

SceneToken word(const std::string& text, bool quoted) {
    SceneToken token;
    token.text = text;
    token.quoted = quoted;
    return token;
}

} // namespace

bool readReferenceEdits(const std::vector<SceneToken>& values, ReferenceEdits& edits,
                        std::string& error) {
    edits = ReferenceEdits();
    size_t at = 0;
    if (values.empty() || !values[0].quoted) {
        error = "expected the name of the reference node first";
        return false;
    }
    edits.owner = values[at++].text;
    while (at < values.size()) {
        ReferenceEditSection section;
        int count = 0;
        if (!values[at].quoted || at + 1 >= values.size() || !isCount(values[at + 1], count)) {
            error = "expected a reference node and its number of edits at word " +
                    std::to_string(at + 1);
            return false;
        }
        section.referenceNode = values[at].text;
        at += 2;
        for (int k = 0; k < count; ++k) {
            ReferenceEdit edit;
            if (at >= values.size() || !isCount(values[at], edit.kind)) {
                error = "expected the kind of edit " + std::to_string(k + 1) + " of '" +
                        section.referenceNode + "' at word " + std::to_string(at + 1);
                return false;
            }
            ++at;
            // A connection edit says which side its placeholder stands for before its words.
            if (edit.kind == 5 && at < values.size() && !values[at].quoted)
                edit.words.push_back(values[at++]);
            // The words run to the next edit's kind, or for the section's last edit to the next
            // section (a name and a count) or the end.
            const bool last = k + 1 == count;
            int ignored = 0;
            while (at < values.size()) {
                if (!values[at].quoted && !last)
                    break;
                if (last && values[at].quoted && at + 1 < values.size() &&
                    isCount(values[at + 1], ignored))
                    break;
                edit.words.push_back(values[at++]);
            }
            section.edits.push_back(std::move(edit));
        }
        edits.sections.push_back(std::move(section));
    }
    return true;
}

std::vector<SceneToken> referenceEditWords(const ReferenceEditSection& section) {
    std::vector<SceneToken> words{word(section.referenceNode, true),
                                  word(std::to_string(section.edits.size()), false)};
    for (const ReferenceEdit& edit : section.edits) {
        words.push_back(word(std::to_string(edit.kind), false));
        words.insert(words.end(), edit.words.begin(), edit.words.end());
    }
    return words;
}

} // namespace host
