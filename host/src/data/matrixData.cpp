#include "data/matrixData.h"

#include <memory>

namespace host {

MObject makeMatrixData(const MMatrix& value) {
    auto data = std::make_shared<MatrixData>();
    data->value = value;
    return MObject(data);
}

const MMatrix& matrixIn(const MObject& data) {
    const MatrixData* holder = dataAs<MatrixData>(data);
    return holder ? holder->value : MMatrix::identity;
}

} // namespace host
