#pragma once
#include <maya/MArgParser.h>

class MSelectionList;

//! MArgParser that also resolves objects and selection-item arguments to
//! scene items.
class OPENMAYA_EXPORT MArgDatabase : public MArgParser {
public:
    MArgDatabase() = default;
    MArgDatabase(const MSyntax& syntax, const MArgList& args, MStatus* status = NULL);

    using MArgParser::getFlagArgument;
    MStatus getFlagArgument(const char* flag, unsigned int index, MSelectionList& result) const;
    using MArgParser::getCommandArgument;
    MStatus getCommandArgument(unsigned int index, MSelectionList& result) const;
    using MArgParser::getObjects;
    //! The objects as scene items (the active selection when none were given
    //! and the syntax says so).
    MStatus getObjects(MSelectionList& result) const;
};
