#pragma once
// The body of the OBJ and OFF import harnesses: the bytes as a mesh file of
// the given extension, imported into a fresh scene. A mesh that imports must
// export as OBJ and read back with the same points and polygons, survive a
// scene save and open (fuzz/SceneChecks.h), and answer the mesh queries.

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>

#include "fuzz/SceneChecks.h"
#include "fuzz/ScratchDir.h"
#include "host/src/core/MessageLog.h"
#include "host/src/io/MeshFiles.h"
#include "host/src/session/Session.h"

namespace fuzz {

inline constexpr std::size_t kMaxMeshFile = 64 * 1024;

inline void expectSameGeometry(const ehost::ImportedMesh& in, const ehost::ImportedMesh& out) {
    bool same = in.points.size() == out.points.size() && in.counts == out.counts &&
                in.connects == out.connects;
    for (std::size_t i = 0; same && i < in.points.size(); ++i)
        same = in.points[i].x == out.points[i].x && in.points[i].y == out.points[i].y &&
               in.points[i].z == out.points[i].z;
    if (!same) broken("an imported mesh exported as OBJ reads back different");
}

inline void importMeshFile(const std::uint8_t* data, std::size_t size, const char* extension) {
    if (size > kMaxMeshFile) return;
    const ScratchDir& dir = ScratchDir::get();
    const std::string path = dir.file(std::string("scan") + extension);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    ehost::startIsolatedSession();
    ehost::session().messages().echo = false;
    std::string error;
    ehost::ImportedMesh read;
    const bool readable = ehost::readMeshFile(path, read, error);
    ehost::NodePtr node = ehost::importMesh(path, &error);
    if (!readable && node) broken("a mesh file the reader refuses imports");
    if (node) {
        const std::string exported = dir.file("exported.obj");
        if (!ehost::exportMeshObj({node.get()}, exported, &error))
            broken("an imported mesh does not export: " + error);
        ehost::ImportedMesh back;
        if (!ehost::readObj(exported, back, error))
            broken("an exported mesh does not read back: " + error);
        expectSameGeometry(read, back);
        run("polyEvaluate -v -e -f -uv -t " + node->name);
        run("select -r " + node->name + "; polyAverageVertex -i 2; undo; polyMergeVertex -d 0.5");
        expectSaveOpenRoundTrip();
        pullEverything();
    }
    node.reset();
    ehost::stopSession();
    dir.wipe();
}

}  // namespace fuzz
