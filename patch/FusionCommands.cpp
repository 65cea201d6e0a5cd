#include "patch/FusionCommands.h"

#include <algorithm>

namespace tessark {

namespace {

void appendVertex(MString& text, const MString& path, int vertex) {
    text += path;
    text += ".vtx[";
    text += vertex;
}

}  // namespace

MString magnetMergeCommand(const MDagPath& mesh, int first, int second) {
    MString path = mesh.fullPathName();
    MString text = "polyMergeVertex -d 9999 - am 1 ";
    for (int m : {first, second}) {
        text += " \"";
        appendVertex(text, path, m);
        text += "]\"";
    }
    return text;
}

MString weldCommand(const MDagPath& mesh, const std::vector<int>& player,
                    const std::vector<int>& weld, const MPointArray& targets) {
    MString path = mesh.fullPathName();
    const size_t n = std::min({player.size(), weld.size(), static_cast<size_t>(targets.length())});
    MString text;
    for (size_t i = 0; i < n; ++i) {
        const MPoint& m = targets[static_cast<unsigned>(i)];
        for (int vertex : {player[i], weld[i]}) {
            text += "move -a ";
            text += m.x;
            text += " ";
            text += m.y;
            text += " ";
            text += m.z;
            text += " ";
            appendVertex(text, path, vertex);
            text += "];";
        }
    }
    text += "polyMergeVertex -am 1 -d 0.01 ";
    for (size_t i = 0; i < n; ++i) {
        appendVertex(text, path, player[i]);
        text += "] ";
        appendVertex(text, path, weld[i]);
        text += "] ";
    }
    return text;
}

MString bridgeCommand(const MDagPath& mesh, const std::vector<int>& playerEdges,
                      const std::vector<int>& fuseEdges, int divisions) {
    MString path = mesh.fullPathName();
    MString text = "polyBridgeEdge ";
    text += "-divisions ";
    text += divisions;
    text += " -direction 0";
    const size_t n = std::min(playerEdges.size(), fuseEdges.size());
    for (size_t i = 0; i < n; ++i)
        for (int edge : {playerEdges[i], fuseEdges[i]}) {
            text += " \"";
            text += path;
            text += ".e[";
            text += edge;
            text += "]\"";
        }
    return text;
}

}  // namespace tessark
