#pragma once
#include <maya/MObject.h>
#include <maya/MStatus.h>
#include <maya/MString.h>

class MSelectionList;
class MDagPath;
class MIntArray;
class MDoubleArray;
class MStringArray;
class MCommandResult;

//! Host-wide services: the active selection, running command text, option
//! variables (preferences) and messages to the user.
class OPENMAYA_EXPORT MGlobal {
public:
    enum ListAdjustment {
        kReplaceList,
        kXORWithList,
        kAddToList,
        kRemoveFromList,
        kAddToHeadOfList
    };
    enum MMayaState { kBaseUIMode, kInteractive, kBatch, kLibraryApp };

    static MMayaState mayaState(MStatus* status = NULL);
    static MString mayaVersion();
    static int apiVersion();

    // ---- selection
    static MStatus getActiveSelectionList(MSelectionList& dest,
                                          bool orderedSelectionIfAvailable = false);
    static MStatus setActiveSelectionList(const MSelectionList& src,
                                          ListAdjustment mode = kReplaceList);
    static MStatus getSelectionListByName(const MString& name, MSelectionList& list);
    static MStatus selectByName(const MString& name, ListAdjustment mode = kAddToList);
    static MStatus unselectByName(const MString& name);
    static MStatus select(const MObject& object, ListAdjustment mode = kAddToList);
    static MStatus select(const MDagPath& path, const MObject& component,
                          ListAdjustment mode = kAddToList);
    static MStatus select(const MSelectionList& list, ListAdjustment mode = kAddToList);
    static MStatus unselect(const MObject& object);
    static MStatus clearSelectionList();
    //! Whether the object itself (not only some of its components) is on the
    //! active selection list.
    static bool isSelected(const MObject& object, MStatus* status = NULL);

    // ---- scene
    static MStatus deleteNode(MObject& node);

    // ---- command language
    static MStatus executeCommand(const MString& command, bool displayEnabled = false,
                                  bool undoEnabled = false);
    static MStatus executeCommand(const MString& command, MCommandResult& result,
                                  bool displayEnabled = false, bool undoEnabled = false);
    static MStatus executeCommand(const MString& command, int& result, bool displayEnabled = false,
                                  bool undoEnabled = false);
    static MStatus executeCommand(const MString& command, double& result,
                                  bool displayEnabled = false, bool undoEnabled = false);
    static MStatus executeCommand(const MString& command, MString& result,
                                  bool displayEnabled = false, bool undoEnabled = false);
    static MStatus executeCommand(const MString& command, MIntArray& result,
                                  bool displayEnabled = false, bool undoEnabled = false);
    static MStatus executeCommand(const MString& command, MDoubleArray& result,
                                  bool displayEnabled = false, bool undoEnabled = false);
    static MStatus executeCommand(const MString& command, MStringArray& result,
                                  bool displayEnabled = false, bool undoEnabled = false);
    static MString executeCommandStringResult(const MString& command, bool displayEnabled = false,
                                              bool undoEnabled = false, MStatus* status = NULL);
    //! The embedded host has no Python: this reports failure.
    static MStatus executePythonCommand(const MString& command, bool displayEnabled = false,
                                        bool undoEnabled = false);
    static bool isUndoing();
    static bool isRedoing();

    // ---- option variables
    static int optionVarIntValue(const MString& name, bool* exists = NULL);
    static double optionVarDoubleValue(const MString& name, bool* exists = NULL);
    static MString optionVarStringValue(const MString& name, bool* exists = NULL);
    static bool setOptionVarValue(const MString& name, int value);
    static bool setOptionVarValue(const MString& name, double value);
    static bool setOptionVarValue(const MString& name, const MString& value);
    static bool optionVarExists(const MString& name);
    static void removeOptionVar(const MString& name);

    // ---- messages
    static void displayInfo(const MString& message);
    static void displayWarning(const MString& message, bool showLineNumber = false);
    static void displayError(const MString& message, bool showLineNumber = false);
};
