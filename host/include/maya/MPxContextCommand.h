#pragma once
#include <maya/MArgParser.h>
#include <maya/MDoubleArray.h>
#include <maya/MIntArray.h>
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MStringArray.h>
#include <maya/MSyntax.h>

#include <memory>

class MPxContext;

namespace ehost {
struct ApiAccess;
}

//! Base class of the command that makes a tool's contexts. Run plainly it
//! makes a new context (makeObj) and returns its name; with -edit or -query
//! and a context's name, the host hands the arguments to the object that made
//! that context (doEditFlags, doQueryFlags). appendSyntax adds the command's
//! flags to syntax().
class OPENMAYAUI_EXPORT MPxContextCommand {
public:
    MPxContextCommand();
    virtual ~MPxContextCommand();

    virtual MStatus doEditFlags();
    virtual MStatus doQueryFlags();
    virtual MPxContext* makeObj() = 0;
    virtual MStatus appendSyntax();

    MSyntax syntax() const;
    //! The arguments of the current invocation, read against syntax().
    MArgParser parser() const;

    MStatus setResult(bool result);
    MStatus setResult(int result);
    MStatus setResult(double result);
    MStatus setResult(const MString& result);
    MStatus setResult(const MIntArray& result);
    MStatus setResult(const MDoubleArray& result);
    MStatus setResult(const MStringArray& result);
    MStatus appendToResult(int result);
    MStatus appendToResult(double result);
    MStatus appendToResult(const MString& result);
    MStatus clearResult();

private:
    friend struct ehost::ApiAccess;
    struct Impl {
        MSyntax syntax;
        MArgParser parser;
    };
    Impl impl_;
};
