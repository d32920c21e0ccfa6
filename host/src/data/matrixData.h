#pragma once
// The value of a matrix plug (a transform's "worldMatrix", a skinCluster's "bindPreMatrix").
// Shared between plugs and never changed in place: a new value is a new data object.

#include "data/dataObjects.h"

#include <maya/MMatrix.h>

namespace host {

struct MatrixData : DataObject {
    MMatrix value;

    MFn::Type apiType() const override { return MFn::kMatrixData; }
    const char* apiTypeStr() const override { return "kMatrixData"; }
    MFnData::Type dataType() const override { return MFnData::kMatrix; }
};

MObject makeMatrixData(const MMatrix& value);
// The matrix a data object holds; the identity for anything else (an unset matrix plug).
const MMatrix& matrixIn(const MObject& data);

} // namespace host
