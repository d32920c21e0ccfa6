#include "scene/sparseArrayValues.h"

#include "scene/attributeValues.h"
#include "scene/sceneCommands.h"
#include "scene/valueText.h"

#include "graph/graph.h"

#include <map>

namespace host {

bool takesSparseArrays(const ResolvedPlug& plug) {
    const AttributeDef* attribute = plug.ref.attribute;
    return plug.isArray() && attribute->isNumericLike() && attribute->children.empty();
}

bool setSparseArrays(CommandRun& run, const ResolvedPlug& plug, const std::string& plugText,
                     const std::vector<SceneToken>& values) {
    const AttributeDef* attribute = plug.ref.attribute;
    const double angle = isAngleAttribute(attribute) ? activeUnits(run).radiansPerAngleUnit() : 1.0;
    // Every element gives at least its count: fewer values cannot be this form.
    if (values.size() < plug.count()) {
        run.error("expected a count and (index, value) pairs for each of the " +
                  countText(plug.count(), "element") + " of '" + plugText + "', got " +
                  countText(values.size(), "value") + ".");
        return false;
    }
    std::vector<std::map<unsigned int, double>> elements(plug.count());
    size_t pos = 0;
    for (size_t k = 0; k < elements.size(); ++k) {
        int count = 0;
        if (pos >= values.size() || !parseIntText(values[pos].text, count) || count < 0) {
            run.error("expected the number of values of element " +
                      std::to_string(plug.first + static_cast<int>(k)) + " of '" + plugText +
                      "', got " +
                      (pos < values.size() ? "'" + values[pos].text + "'." : "the end."));
            return false;
        }
        ++pos;
        if (static_cast<size_t>(count) * 2 > values.size() - pos) {
            run.error("expected " + countText(static_cast<size_t>(count) * 2, "value") +
                      " (index and value pairs) for element " +
                      std::to_string(plug.first + static_cast<int>(k)) + " of '" + plugText +
                      "', only " + std::to_string(values.size() - pos) + " follow.");
            return false;
        }
        for (int i = 0; i < count; ++i, pos += 2) {
            int index = 0;
            double value = 0.0;
            if (!parseIntText(values[pos].text, index) || index < 0) {
                run.error("expected an element index in '" + plugText + "', got '" +
                          values[pos].text + "'.");
                return false;
            }
            if (!parseNumberText(values[pos + 1].text, value)) {
                run.error("expected a number in '" + plugText + "', got '" + values[pos + 1].text +
                          "'.");
                return false;
            }
            elements[k][static_cast<unsigned int>(index)] = value * angle;
        }
    }
    if (pos != values.size()) {
        run.error("expected " + countText(elements.size(), "element") + " for '" + plugText +
                  "', more values follow ('" + values[pos].text + "').");
        return false;
    }
    std::string error;
    for (size_t k = 0; k < elements.size(); ++k) {
        const PlugRef array = plug.element(k);
        if (plugLocked(array)) {
            run.error("'" + Graph::plugName(array) + "' is locked.");
            return false;
        }
        const MStatus status = Graph::instance().setValue(
            array,
            [&](Slot& container) {
                for (const auto& [index, value] : elements[k]) {
                    auto it = container.elements.find(index);
                    if (it == container.elements.end())
                        it = container.elements.emplace(index, Slot::make(attribute, false)).first;
                    it->second.set(attribute, attribute->clamp(value, nullptr));
                }
            },
            &error);
        if (!status) {
            run.error(error);
            return false;
        }
    }
    return true;
}

} // namespace host
