#include <maya/MFileIO.h>

#include <string>

// No scene file is read or written yet; the file reader sets these while it works.
namespace host {
bool readingFile = false;
bool writingFile = false;
std::string currentFile;
} // namespace host

bool MFileIO::isReadingFile() {
    return host::readingFile;
}
bool MFileIO::isWritingFile() {
    return host::writingFile;
}
bool MFileIO::isOpeningFile() {
    return host::readingFile;
}
bool MFileIO::isNewingFile() {
    return false;
}
MString MFileIO::currentFile() {
    return MString(host::currentFile.c_str());
}
