#pragma once
#include <maya/MArgList.h>
#include <maya/MDoubleArray.h>
#include <maya/MIntArray.h>
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MStringArray.h>
#include <maya/MSyntax.h>

namespace ehost {
struct ApiAccess;
}

//! Base class of commands: doIt runs the command from its arguments; an
//! undoable command is kept by the host, which calls undoIt and redoIt on it.
class OPENMAYA_EXPORT MPxCommand {
public:
    enum MResultType { kLong, kDouble, kString, kNoArg };

    MPxCommand();
    virtual ~MPxCommand();

    virtual MStatus doIt(const MArgList& args);
    virtual MStatus undoIt();
    virtual MStatus redoIt();
    virtual bool isUndoable() const;
    virtual bool hasSyntax() const;

    //! The syntax registered with the command.
    MSyntax syntax(MStatus* status = NULL) const;
    bool isHistoryOn(MStatus* status = NULL) const;
    MString commandString(MStatus* status = NULL) const;
    MStatus setHistoryOn(bool state);
    MStatus setCommandString(const MString& command);

    static void displayInfo(const MString& message);
    static void displayWarning(const MString& message, bool showLineNumber = false);
    static void displayError(const MString& message, bool showLineNumber = false);

    static void clearResult();
    static void setResult(unsigned int value);
    static void setResult(int value);
    static void setResult(float value);
    static void setResult(double value);
    static void setResult(bool value);
    static void setResult(const char* value);
    static void setResult(const MString& value);
    static void setResult(const MIntArray& value);
    static void setResult(const MDoubleArray& value);
    static void setResult(const MStringArray& value);
    static void appendToResult(int value);
    static void appendToResult(double value);
    static void appendToResult(bool value);
    static void appendToResult(const char* value);
    static void appendToResult(const MString& value);
    static void appendToResult(const MStringArray& value);
    static bool isCurrentResultArray();
    static MResultType currentResultType();
    static int currentIntResult(MStatus* status = NULL);
    static double currentDoubleResult(MStatus* status = NULL);
    static MString currentStringResult(MStatus* status = NULL);

private:
    friend struct ehost::ApiAccess;
    struct Impl {
        MString name;
        MCreateSyntaxFunction syntax = nullptr;
        MString commandString;
        bool historyOn = true;
    };
    Impl impl_;
};

typedef void* (*MCreatorFunction)();
