#pragma once
// Opaque handle to a host object: a node, an attribute, a data value or a component.
// Copies share the object; a default MObject is null.

#include <maya/MFn.h>
#include <maya/MStatus.h>
#include <maya/MTypes.h>

#include <memory>

namespace host {
class Object;
}

class OPENMAYA_EXPORT MObject {
  public:
    MObject() = default;
    MObject(const MObject&) = default;
    MObject& operator=(const MObject&) = default;

    bool isNull() const { return !impl_; }
    MFn::Type apiType() const;
    bool hasFn(MFn::Type type) const;
    const char* apiTypeStr() const;
    bool operator==(const MObject& other) const { return impl_ == other.impl_; }
    bool operator!=(const MObject& other) const { return impl_ != other.impl_; }

    static MObject kNullObj;

    // Host side: wraps and unwraps the shared object.
    explicit MObject(std::shared_ptr<host::Object> impl) : impl_(std::move(impl)) {}
    const std::shared_ptr<host::Object>& impl() const { return impl_; }

  private:
    std::shared_ptr<host::Object> impl_;
};
