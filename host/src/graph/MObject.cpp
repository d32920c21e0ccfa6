#include "graph/object.h"

#include <maya/MFnBase.h>
#include <maya/MObject.h>

MObject MObject::kNullObj;

MFn::Type MObject::apiType() const {
    return impl_ ? impl_->apiType() : MFn::kInvalid;
}

bool MObject::hasFn(MFn::Type type) const {
    return impl_ && impl_->hasFn(type);
}

const char* MObject::apiTypeStr() const {
    return impl_ ? impl_->apiTypeStr() : "kInvalid";
}

bool MFnBase::hasObj(const MObject& object) const {
    return !object.isNull();
}

MObject MFnBase::object(MStatus* status) const {
    if (status)
        *status = object_.isNull() ? MS::kFailure : MS::kSuccess;
    return object_;
}

MStatus MFnBase::setObject(const MObject& object) {
    object_ = object;
    return object.isNull() ? MS::kInvalidParameter : MS::kSuccess;
}
