#include <maya/MStatus.h>

#include <maya/MString.h>

#include <iostream>

namespace {

const char* describe(MS::MStatusCode code) {
    switch (code) {
    case MS::kSuccess:
        return "(kSuccess): Success";
    case MS::kFailure:
        return "(kFailure): Failure";
    case MS::kInsufficientMemory:
        return "(kInsufficientMemory): Insufficient memory";
    case MS::kInvalidParameter:
        return "(kInvalidParameter): Invalid parameter";
    case MS::kLicenseFailure:
        return "(kLicenseFailure): License failure";
    case MS::kUnknownParameter:
        return "(kUnknownParameter): Unknown parameter";
    case MS::kNotImplemented:
        return "(kNotImplemented): Not implemented";
    case MS::kNotFound:
        return "(kNotFound): Not found";
    case MS::kEndOfFile:
        return "(kEndOfFile): End of file";
    }
    return "(unknown status code)";
}

} // namespace

MString MStatus::errorString() const {
    return MString(describe(code_));
}

void MStatus::perror(const char* text) const {
    if (text && *text)
        std::cerr << text << ": ";
    std::cerr << describe(code_) << std::endl;
}

void MStatus::perror(const MString& text) const {
    perror(text.asChar());
}

std::ostream& operator<<(std::ostream& os, const MStatus& status) {
    return os << describe(status.statusCode());
}
