#pragma once
#include <maya/MStatus.h>
#include <maya/MString.h>

#include <memory>
#include <string>
#include <vector>

namespace ehost {
struct ApiAccess;
}

//! What a command accepts: its flags with their argument types, its
//! arguments and its objects; used by MArgDatabase to read an MArgList.
//! Copies share one description, as the host's do: a context command's
//! appendSyntax adds its flags through the copy that syntax() returns.
class OPENMAYA_EXPORT MSyntax {
public:
    enum MArgType {
        kInvalidArgType,
        kNoArg,
        kBoolean,
        kLong,
        kDouble,
        kString,
        kUnsigned,
        kDistance,
        kAngle,
        kTime,
        kSelectionItem,
        kLastArgType
    };
    enum MObjectFormat {
        kInvalidObjectFormat,
        kNone,
        kStringObjects,
        kSelectionList,
        kLastObjectFormat
    };

    MSyntax();
    MSyntax(const MSyntax& other);
    MSyntax& operator=(const MSyntax& other);
    ~MSyntax();

    MStatus addFlag(const char* shortName, const char* longName, MArgType argType1 = kNoArg,
                    MArgType argType2 = kNoArg, MArgType argType3 = kNoArg,
                    MArgType argType4 = kNoArg, MArgType argType5 = kNoArg,
                    MArgType argType6 = kNoArg);
    MStatus makeFlagMultiUse(const char* flagName);
    MStatus makeFlagQueryWithFullArgs(const char* flagName, bool queryArgsOptional);
    MStatus addArg(MArgType argType);
    void useSelectionAsDefault(bool useSelection);
    MStatus setObjectType(MObjectFormat objectFormat, unsigned int minimumObjects = 0);
    MStatus setObjectType(MObjectFormat objectFormat, unsigned int minimumObjects,
                          unsigned int maximumObjects);
    MStatus setMinObjects(unsigned int minimumObjects);
    MStatus setMaxObjects(unsigned int maximumObjects);
    unsigned int minObjects() const;
    unsigned int maxObjects() const;
    void enableQuery(bool supportsQuery = true);
    void enableEdit(bool supportsEdit = true);
    void clear();

private:
    friend struct ehost::ApiAccess;
    struct Flag {
        std::string shortName, longName;
        std::vector<MArgType> args;
        bool multiUse = false;
        bool queryWithArgs = false;
    };
    struct Impl {
        std::vector<Flag> flags;
        std::vector<MArgType> commandArgs;
        MObjectFormat objectFormat = kNone;
        unsigned int minObjects = 0, maxObjects = 0xffffffff;
        bool selectionAsDefault = false;
        bool query = false, edit = false;
    };
    std::shared_ptr<Impl> impl_;
};

typedef MSyntax (*MCreateSyntaxFunction)();
