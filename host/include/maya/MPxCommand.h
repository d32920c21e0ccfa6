#pragma once
// Base of a plug-in command. The creator registered with MFnPlugin::registerCommand makes one
// object per call; the host runs doIt with the call's arguments and then deletes the object (it
// keeps no undo queue, so isUndoable, undoIt and redoIt are never asked).
//
// The result: setResult replaces the result of the command running now, appendToResult turns it
// into an array (ints, doubles or strings; appending another kind turns the whole result into
// strings) and adds to it, clearResult empties it. The result starts empty for every call.

#include <maya/MDoubleArray.h>
#include <maya/MIntArray.h>
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MStringArray.h>
#include <maya/MTypes.h>

class MArgList;

class OPENMAYA_EXPORT MPxCommand {
  public:
    MPxCommand();
    virtual ~MPxCommand();

    virtual MStatus doIt(const MArgList& args);
    virtual MStatus undoIt();
    virtual MStatus redoIt();
    virtual bool isUndoable() const;
    virtual bool hasSyntax() const;

    static void displayInfo(const MString& theInfo);
    static void displayWarning(const MString& theWarning, bool showLineNumber = false);
    static void displayError(const MString& theError, bool showLineNumber = false);

    static void clearResult();
    static void setResult(bool val);
    static void setResult(int val);
    static void setResult(unsigned int val);
    static void setResult(double val);
    static void setResult(const char* val);
    static void setResult(const MString& val);
    static void setResult(const MIntArray& val);
    static void setResult(const MDoubleArray& val);
    static void setResult(const MStringArray& val);
    static void appendToResult(bool val);
    static void appendToResult(int val);
    static void appendToResult(double val);
    static void appendToResult(const char* val);
    static void appendToResult(const MString& val);
    static void appendToResult(const MStringArray& val);
    static bool isCurrentResultArray();
};
