#pragma once
// Feathers from fuzz bytes for the export writers: a description (every field, within the
// feather node's attribute ranges most of the time and outside them, NaN and infinities
// included, the rest), its ramps, a guide path and one to three builds of it.
//
// Counts are drawn small, or from a few values past the build limits (which must be refused
// at once), so that one input never takes long; a slow or huge build under the limits is then
// a finding, not the decoder's doing.

#include "export/featherExportNode.h"
#include "feather/featherGeometry.h"
#include "feather/featherInfo.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <string>
#include <vector>

namespace fuzz {

struct fuzzedFeathers {
    featherInfo info;
    std::vector<featherGeometry> feathers;
    // The writers' view: name, type and the node settings taken from the description.
    featherExportNode node;
};

// Decodes one input and builds its feathers into `out` (loads the host's ramp node type on
// first use). Checks what a build promises about refused inputs.
void buildFuzzedFeathers(FuzzedDataProvider& in, fuzzedFeathers& out);

} // namespace fuzz
