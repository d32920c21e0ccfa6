#pragma once
// MEL-only scene queries that files never contain: objExists and filterExpand.

namespace host {

void registerMelSelectionCommands();
void deregisterMelSelectionCommands();

} // namespace host
