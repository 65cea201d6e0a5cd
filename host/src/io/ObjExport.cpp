#include <maya/MPoint.h>

#include <algorithm>
#include <charconv>
#include <stdexcept>

#include "host/src/dg/AttrBuild.h"
#include "host/src/io/MeshFiles.h"
#include "host/src/io/TextFile.h"
#include "host/src/nodes/MeshShape.h"

namespace ehost {

namespace {

bool isIntermediate(Node& shape) {
    return evaluate(shape, PlugAddr{dagAttributes().intermediateObject.get(), -1}).num[0] != 0;
}

//! The mesh shapes the nodes stand for, in order; throws a reason.
std::vector<MeshShape*> shapesOf(const std::vector<Node*>& nodes) {
    std::vector<MeshShape*> shapes;
    for (Node* n : nodes) {
        if (!n || !n->alive) throw std::runtime_error("a node to export is not in the scene");
        if (auto* shape = dynamic_cast<MeshShape*>(n)) {
            shapes.push_back(shape);
            continue;
        }
        auto* dag = dynamic_cast<DagNode*>(n);
        if (!dag || n->cls->role != NodeRole::Transform)
            throw std::runtime_error(n->name + " is neither a mesh nor a transform");
        std::size_t before = shapes.size();
        for (const NodePtr& child : dag->children)
            if (auto* shape = dynamic_cast<MeshShape*>(child.get());
                shape && !isIntermediate(*shape))
                shapes.push_back(shape);
        if (shapes.size() == before) throw std::runtime_error(n->name + " has no mesh to export");
    }
    if (shapes.empty()) throw std::runtime_error("nothing to export");
    return shapes;
}

class ObjWriter {
public:
    explicit ObjWriter(io::TextWriter& out) : out_(out) {}

    void mesh(MeshShape& shape) {
        std::shared_ptr<const MeshGeometry> g = shape.output();
        const MMatrix world = shape.worldMatrix();
        out_.word("o").word(shape.name).endLine();
        for (const Vec3& p : g->points()) {
            MPoint w = MPoint(p.x, p.y, p.z) * world;
            out_.word("v").number(w.x).number(w.y).number(w.z).endLine();
        }
        std::vector<float> u, v;
        std::vector<int> uvCounts, uvIds;
        g->getUVs(u, v);
        g->getAssignedUVs(uvCounts, uvIds);
        bool textured = std::any_of(uvCounts.begin(), uvCounts.end(), [](int c) { return c > 0; });
        if (textured)
            for (std::size_t i = 0; i < u.size(); ++i)
                out_.word("vt").number(u[i]).number(v[i]).endLine();
        std::size_t nextUV = 0;
        for (int f = 0; f < g->numFaces(); ++f) {
            out_.word("f");
            const bool faceTextured = textured && uvCounts[f] > 0;
            for (int vertex : g->faceVertices(f)) {
                corner_.clear();
                appendIndex(vertexBase_ + vertex);
                if (faceTextured) {
                    corner_.push_back('/');
                    appendIndex(uvBase_ + uvIds[nextUV++]);
                }
                out_.word(corner_);
            }
            out_.endLine();
        }
        vertexBase_ += g->numVertices();
        if (textured) uvBase_ += static_cast<long long>(u.size());
    }

private:
    //! OBJ indices count from 1 across the whole file.
    void appendIndex(long long zeroBased) {
        char text[24];
        auto r = std::to_chars(text, text + sizeof text, zeroBased + 1);
        corner_.append(text, r.ptr);
    }

    io::TextWriter& out_;
    long long vertexBase_ = 0, uvBase_ = 0;
    std::string corner_;
};

}  // namespace

MStatus exportMeshObj(const std::vector<Node*>& nodes, const std::string& path,
                      std::string* error) {
    auto failure = [&](const std::string& text) {
        if (error) *error = text;
        return MStatus(MStatus::kFailure, text);
    };
    try {
        std::vector<MeshShape*> shapes = shapesOf(nodes);
        io::ReplacingFile file(path);
        std::string why;
        if (!file.open(why)) return failure(why);
        ObjWriter writer(file.out());
        for (MeshShape* shape : shapes) writer.mesh(*shape);
        if (!file.commit(why)) return failure(why);
    } catch (const std::bad_alloc&) {
        return failure("cannot export " + path + ": out of memory");
    } catch (const std::runtime_error& e) {
        return failure("cannot export " + path + ": " + e.what());
    }
    return MStatus::kSuccess;
}

}  // namespace ehost
