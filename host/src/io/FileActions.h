#pragma once
// What the file command and MFileIO do to the scene's files. Each action
// tells the scene messages' callbacks before and after (MSceneMessage), and
// its check callback can stop it before anything changed; while an action
// runs, fileActivity() says which (MFileIO::isOpeningFile ...).

#include <maya/MStatus.h>

#include <string>
#include <vector>

#include "host/src/dg/Graph.h"

namespace ehost {

//! The event a scene message (an MSceneMessage::Message) fires under.
std::string sceneMessageEvent(int message);
//! Whether a scene message is a check a callback can veto.
bool isSceneCheckMessage(int message);

struct FileActivity {
    bool newing = false, opening = false, saving = false, reading = false, writing = false,
         importing = false, exporting = false;
    //! The file of the last action of each kind, set before its callbacks run.
    std::string beforeOpen, beforeSave, beforeImport, beforeExport;
};
const FileActivity& fileActivity();

MStatus fileNew(std::string* why);
MStatus fileOpen(const std::string& path, std::string* why);
//! Saves to the scene's file; refused while the scene is untitled.
MStatus fileSave(std::string* why);
//! Names the scene after the file, then saves it there.
MStatus fileSaveAs(const std::string& path, std::string* why);
//! Writes the whole scene to a file, leaving the scene's own name alone.
MStatus fileExportAll(const std::string& path, std::string* why);
//! Imports a mesh file (OBJ, OFF); the new transform, or null.
NodePtr fileImport(const std::string& path, std::string* why);
//! Exports the meshes of the nodes as OBJ.
MStatus fileExportMeshes(const std::vector<Node*>& nodes, const std::string& path,
                         std::string* why);

}  // namespace ehost
