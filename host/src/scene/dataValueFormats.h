#pragma once
// Text forms of data kinds that belong to no geometry: matrices and point arrays. Registered
// with the other typed value formats the first time one is looked up (typedValues.h).

namespace host {

void registerMatrixFormat();
void registerPointArrayFormat();

} // namespace host
