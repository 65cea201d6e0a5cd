#pragma once
#include <maya/MAngle.h>
#include <maya/MArgList.h>
#include <maya/MDistance.h>
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MStringArray.h>
#include <maya/MSyntax.h>

#include <memory>
#include <string>
#include <vector>

namespace ehost {
struct ApiAccess;
}

//! Reads an argument list against a syntax: which flags were given, their
//! arguments, the command arguments and the objects.
class OPENMAYA_EXPORT MArgParser {
public:
    MArgParser();
    MArgParser(const MSyntax& syntax, const MArgList& args, MStatus* status = NULL);
    MArgParser(const MArgParser& other);
    MArgParser& operator=(const MArgParser& other);
    virtual ~MArgParser();

    bool isFlagSet(const char* flag, MStatus* status = NULL) const;
    bool isEdit(MStatus* status = NULL) const;
    bool isQuery(MStatus* status = NULL) const;
    unsigned int numberOfFlagsUsed() const;
    unsigned int numberOfFlagUses(const char* flag) const;

    MStatus getFlagArgument(const char* flag, unsigned int index, bool& result) const;
    MStatus getFlagArgument(const char* flag, unsigned int index, int& result) const;
    MStatus getFlagArgument(const char* flag, unsigned int index, unsigned int& result) const;
    MStatus getFlagArgument(const char* flag, unsigned int index, double& result) const;
    MStatus getFlagArgument(const char* flag, unsigned int index, MString& result) const;
    MStatus getFlagArgument(const char* flag, unsigned int index, MDistance& result) const;
    MStatus getFlagArgument(const char* flag, unsigned int index, MAngle& result) const;
    bool flagArgumentBool(const char* flag, unsigned int index, MStatus* status = NULL) const;
    int flagArgumentInt(const char* flag, unsigned int index, MStatus* status = NULL) const;
    double flagArgumentDouble(const char* flag, unsigned int index, MStatus* status = NULL) const;
    MString flagArgumentString(const char* flag, unsigned int index, MStatus* status = NULL) const;
    //! All arguments of one use of a multi-use flag.
    MStatus getFlagArgumentList(const char* flag, unsigned int useIndex, MArgList& args) const;
    MStatus getFlagArgumentPosition(const char* flag, unsigned int index,
                                    unsigned int& position) const;

    MStatus getCommandArgument(unsigned int index, bool& result) const;
    MStatus getCommandArgument(unsigned int index, int& result) const;
    MStatus getCommandArgument(unsigned int index, double& result) const;
    MStatus getCommandArgument(unsigned int index, MString& result) const;
    bool commandArgumentBool(unsigned int index, MStatus* status = NULL) const;
    int commandArgumentInt(unsigned int index, MStatus* status = NULL) const;
    double commandArgumentDouble(unsigned int index, MStatus* status = NULL) const;
    MString commandArgumentString(unsigned int index, MStatus* status = NULL) const;
    MStatus getObjects(MStringArray& result) const;

protected:
    friend struct ehost::ApiAccess;
    struct FlagUse {
        int flag;                          // index into the syntax's flags
        std::vector<unsigned int> values;  // positions in the argument list
    };
    struct Impl {
        MSyntax syntax;
        MArgList args;
        std::vector<FlagUse> uses;
        std::vector<unsigned int> commandArgs;
        std::vector<unsigned int> objects;
        bool query = false, edit = false;
    };
    std::unique_ptr<Impl> impl_;
    const FlagUse* findUse(const char* flag, unsigned int useIndex, MStatus& status) const;
    MStatus argumentAt(const char* flag, unsigned int index, unsigned int& position) const;
};
