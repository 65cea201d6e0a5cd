#pragma once
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MTypes.h>

class MStringArray;

//! The scene's files: new, open, save, import and export, as the file
//! command does them (with the scene messages), and what is happening now.
class OPENMAYA_EXPORT MFileIO {
public:
    enum ReferenceMode { kLoadDefault = 0, kLoadAllReferences, kLoadNoReferences };

    //! The scene's file ("" while untitled).
    static MString currentFile();
    //! Names the scene for the next save; nothing is written.
    static MStatus setCurrentFile(const MString& fileName);
    //! The type of the host's scene files.
    static MString fileType();
    //! The files the scene uses: its own file once it has one.
    static MStatus getFiles(MStringArray& files, bool withoutCopyNumber = false,
                            bool unresolvedName = false);

    //! The embedded host keeps no record of unsaved changes: force is accepted.
    static MStatus newFile(bool force = false);
    //! type, if given, must be the host's scene type; there are no references.
    static MStatus open(const MString& fileName, const char* type = NULL, bool force = false,
                        ReferenceMode refMode = kLoadDefault, bool ignoreVersion = false);
    static MStatus save(bool force = false);
    static MStatus saveAs(const MString& fileName, const char* type = NULL, bool force = false);
    //! Imports a mesh file: "OBJ" or "OFF" (by the file's extension when no type).
    static MStatus importFile(const MString& fileName, const char* type = NULL,
                              bool preserveReferences = false, const char* nameSpace = NULL,
                              bool ignoreVersion = false);
    //! Exports the selected meshes as "OBJexport".
    static MStatus exportSelected(const MString& fileName, const char* type = NULL,
                                  bool preserveReferences = false);
    //! The whole scene as a scene file, or every mesh with "OBJexport".
    static MStatus exportAll(const MString& fileName, const char* type = NULL,
                             bool preserveReferences = false);

    static bool isNewingFile();
    static bool isOpeningFile();
    static bool isSavingReference();
    static bool isReadingFile();
    static bool isWritingFile();
    static bool isImportingFile();
    static bool isReferencingFile();

    //! The file of the open (save, import, export) under way or last done,
    //! readable in its before-callbacks.
    static MString beforeOpenFilename(MStatus* status = NULL);
    static MString beforeSaveFilename(MStatus* status = NULL);
    static MString beforeImportFilename(MStatus* status = NULL);
    static MString beforeExportFilename(MStatus* status = NULL);

    static const char* className() { return "MFileIO"; }
};
