#include "ramp/rampDefaults.h"

#include "graph/node.h"
#include "ramp/rampLayout.h"

#include <maya/MFileIO.h>
#include <maya/MPlug.h>

namespace host {

void addDefaultRampEntries(Node& node) {
    if (MFileIO::isReadingFile())
        return;
    for (const AttributeDef* attribute : node.topAttributes()) {
        RampLayout layout;
        if (!findRampLayout(attribute, layout))
            continue;
        MPlug array(node.object(), attributeObject(attribute));
        if (array.numElements() > 0)
            continue;
        // A fresh element of a node nobody has touched yet: nothing can refuse the values.
        writeRampEntry(array.elementByLogicalIndex(0), layout, RampPoint());
    }
}

} // namespace host
