#pragma once
// Messages to the user, MEL scripts and commands.

#include <maya/MStatus.h>
#include <maya/MString.h>

class MStringArray;

class OPENMAYA_EXPORT MGlobal {
  public:
    enum MMayaState { kBatch, kInteractive, kLibraryApp, kBaseUIMode };

    static void displayInfo(const MString& text);
    static void displayWarning(const MString& text);
    static void displayError(const MString& text);

    static MMayaState mayaState(MStatus* status = nullptr);

    // Finds the file on the script path and runs it.
    static MStatus sourceFile(const MString& fileName);
    static MStatus executeCommand(const MString& command, bool displayEnabled = false,
                                  bool undoEnabled = false);
    static MStatus executeCommand(const MString& command, int& result, bool displayEnabled = false,
                                  bool undoEnabled = false);
    static MStatus executeCommand(const MString& command, double& result,
                                  bool displayEnabled = false, bool undoEnabled = false);
    static MStatus executeCommand(const MString& command, MString& result,
                                  bool displayEnabled = false, bool undoEnabled = false);
    static MStatus executeCommand(const MString& command, MStringArray& result,
                                  bool displayEnabled = false, bool undoEnabled = false);
};
