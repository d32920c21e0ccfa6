#pragma once
// Everything an MObject can stand for derives from host::Object.

#include <maya/MFn.h>

namespace host {

class Object {
  public:
    virtual ~Object() = default;
    virtual MFn::Type apiType() const = 0;
    virtual bool hasFn(MFn::Type type) const { return type == MFn::kBase || type == apiType(); }
    virtual const char* apiTypeStr() const { return "kBase"; }
};

} // namespace host
