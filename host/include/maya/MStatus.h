#pragma once
// Result codes of API calls, as in the devkit: plug-in code tests them and never throws.

#include <maya/MTypes.h>

#include <iosfwd>

class MString;

namespace MS {
enum MStatusCode {
    kSuccess = 0,
    kFailure,
    kInsufficientMemory,
    kInvalidParameter,
    kLicenseFailure,
    kUnknownParameter,
    kNotImplemented,
    kNotFound,
    kEndOfFile
};
}

class OPENMAYA_EXPORT MStatus {
  public:
    enum MStatusCode {
        kSuccess = MS::kSuccess,
        kFailure = MS::kFailure,
        kInsufficientMemory = MS::kInsufficientMemory,
        kInvalidParameter = MS::kInvalidParameter,
        kLicenseFailure = MS::kLicenseFailure,
        kUnknownParameter = MS::kUnknownParameter,
        kNotImplemented = MS::kNotImplemented,
        kNotFound = MS::kNotFound,
        kEndOfFile = MS::kEndOfFile
    };

    MStatus() : code_(MS::kSuccess) {}
    MStatus(MS::MStatusCode code) : code_(code) {}
    MStatus(const MStatus&) = default;
    MStatus& operator=(const MStatus&) = default;

    bool operator==(const MStatus& other) const { return code_ == other.code_; }
    bool operator==(MS::MStatusCode code) const { return code_ == code; }
    bool operator!=(const MStatus& other) const { return code_ != other.code_; }
    bool operator!=(MS::MStatusCode code) const { return code_ != code; }
    operator bool() const { return code_ == MS::kSuccess; }

    bool error() const { return code_ != MS::kSuccess; }
    void clear() { code_ = MS::kSuccess; }
    MS::MStatusCode statusCode() const { return code_; }
    MString errorString() const;
    // Writes the text and a description of the code to the error stream.
    void perror(const char* text = "") const;
    void perror(const MString& text) const;

  private:
    MS::MStatusCode code_;
};

OPENMAYA_EXPORT std::ostream& operator<<(std::ostream& os, const MStatus& status);
