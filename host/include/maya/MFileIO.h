#pragma once
// Scene file state.

#include <maya/MStatus.h>
#include <maya/MString.h>

class OPENMAYA_EXPORT MFileIO {
  public:
    static bool isReadingFile();
    static bool isWritingFile();
    static bool isOpeningFile();
    static bool isNewingFile();
    static MString currentFile();
};
