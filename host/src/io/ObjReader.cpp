// OBJ import. tinyobjloader reads the file's structure (faces, their vertex
// and texture coordinate references, relative indices). A validating pass of
// our own runs first, because tinyobjloader accepts what we must refuse
// (truncated lines read as zeros, "nan" read as 0, indices out of range) and
// knows no line numbers; that pass also supplies the numbers, read correctly
// rounded (tinyobjloader's own reader can be an ulp off, and an exported mesh
// must read back bit for bit), and the corner counts (tinyobjloader keeps
// them in 8 bits). Lines are read strictly: "v" needs x y z (w or a colour
// may follow), "vt" needs u and v.

#include <tiny_obj_loader.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "host/src/io/MeshFiles.h"
#include "host/src/io/TextFile.h"

namespace ehost {

namespace {

using io::LineScanner;
using io::ParseError;

struct ObjScan {
    std::vector<Vec3> points;
    std::vector<float> u, v;
    std::vector<int> faceCorners;
};

//! A positive index beyond what was defined so far: legal if the file
//! defines enough later.
struct ForwardReference {
    int line;
    long long index;
    bool uv;
};

bool hasRepeat(std::vector<int>& ids) {
    if (ids.size() <= 16) {
        for (std::size_t i = 1; i < ids.size(); ++i)
            for (std::size_t j = 0; j < i; ++j)
                if (ids[i] == ids[j]) return true;
        return false;
    }
    std::sort(ids.begin(), ids.end());
    return std::adjacent_find(ids.begin(), ids.end()) != ids.end();
}

class ObjScanner {
public:
    explicit ObjScanner(std::string_view text) : in_(text, true) {}

    ObjScan scan() {
        while (in_.next()) {
            std::string_view keyword = in_.token("a keyword");
            if (keyword == "v")
                vertex();
            else if (keyword == "vt")
                texcoord();
            else if (keyword == "f")
                face();
            // Normals, groups, materials, smoothing groups, lines: not part of the mesh we keep.
        }
        for (const ForwardReference& r : forward_) {
            std::size_t defined = r.uv ? out_.u.size() : out_.points.size();
            if (static_cast<unsigned long long>(r.index) > defined)
                throw ParseError(r.line, std::string(r.uv ? "texture coordinate" : "vertex") +
                                             " index " + std::to_string(r.index) +
                                             " is out of range (the file has " +
                                             std::to_string(defined) + ")");
        }
        if (out_.faceCorners.empty()) throw ParseError(0, "the file has no polygons");
        return std::move(out_);
    }

private:
    double finite(const char* what) {
        double x = in_.number<double>(what);
        if (!std::isfinite(x)) in_.fail(std::string("the ") + what + " is not a finite number");
        return x;
    }

    void extraNumbers(int allowed) {
        std::string_view t;
        for (int k = 0; in_.tryToken(t); ++k) {
            double ignored;
            if (k >= allowed || !io::parseNumber(t, ignored))
                in_.fail("unexpected \"" + std::string(t) + "\"");
        }
    }

    void vertex() {
        out_.points.push_back({finite("coordinate"), finite("coordinate"), finite("coordinate")});
        extraNumbers(4);  // w, or a colour
    }

    void texcoord() {
        float u = in_.number<float>("texture coordinate");
        float v = in_.number<float>("texture coordinate");
        if (!std::isfinite(u) || !std::isfinite(v))
            in_.fail("the texture coordinate is not a finite number");
        out_.u.push_back(u);
        out_.v.push_back(v);
        extraNumbers(1);
    }

    void face() {
        corners_.clear();
        std::string_view t;
        while (in_.tryToken(t)) corners_.push_back(corner(t));
        if (corners_.size() < 3)
            in_.fail("a face needs at least 3 corners, this one has " +
                     std::to_string(corners_.size()));
        if (hasRepeat(corners_)) in_.fail("the face uses one vertex more than once");
        out_.faceCorners.push_back(static_cast<int>(corners_.size()));
    }

    //! "v", "v/vt", "v//vn" or "v/vt/vn"; returns the 0-based vertex.
    int corner(std::string_view token) {
        std::string_view parts[3];
        int n = 0;
        for (std::size_t start = 0;; ++n) {
            if (n == 3) in_.fail("\"" + std::string(token) + "\" is not a face corner (v/vt/vn)");
            std::size_t slash = token.find('/', start);
            parts[n] = token.substr(
                start, slash == std::string_view::npos ? std::string_view::npos : slash - start);
            if (slash == std::string_view::npos) break;
            start = slash + 1;
        }
        int vertex = resolve(parts[0], out_.points.size(), false, token);
        if (n >= 1 && !parts[1].empty()) resolve(parts[1], out_.u.size(), true, token);
        if (n == 2 && !parts[2].empty()) {
            long long normal;
            if (!io::parseNumber(parts[2], normal) || normal == 0)
                in_.fail("\"" + std::string(token) + "\" has an invalid normal index");
        }
        return vertex;
    }

    int resolve(std::string_view text, std::size_t defined, bool uv, std::string_view token) {
        const char* what = uv ? "texture coordinate" : "vertex";
        long long index;
        if (!io::parseNumber(text, index))
            in_.fail("\"" + std::string(token) + "\" is not a face corner (v/vt/vn)");
        if (index == 0)
            in_.fail(std::string(what) + " index 0 in \"" + std::string(token) +
                     "\": OBJ indices start at 1");
        if (index < 0) {
            long long absolute = static_cast<long long>(defined) + index;
            if (absolute < 0)
                in_.fail(std::string("relative ") + what + " index " + std::to_string(index) +
                         " reaches before the first one");
            return static_cast<int>(absolute);
        }
        if (index > std::numeric_limits<int>::max())
            in_.fail(std::string(what) + " index " + std::to_string(index) + " is out of range");
        if (static_cast<unsigned long long>(index) > defined)
            forward_.push_back({in_.lineNumber(), index, uv});
        return static_cast<int>(index - 1);
    }

    LineScanner in_;
    ObjScan out_;
    std::vector<ForwardReference> forward_;
    std::vector<int> corners_;
};

//! Polygons as tinyobjloader read them, with the corner counts of our pass.
void assemble(const tinyobj::ObjReader& reader, const ObjScan& scan, ImportedMesh& out) {
    const auto& shapes = reader.GetShapes();
    std::size_t faces = 0;
    for (const auto& s : shapes) faces += s.mesh.num_face_vertices.size();
    if (faces != scan.faceCorners.size() ||
        reader.GetAttrib().vertices.size() != 3 * scan.points.size())
        throw ParseError(0, "the OBJ structure could not be read consistently");
    out.points = scan.points;
    out.counts = scan.faceCorners;
    out.connects.clear();
    out.uvCounts.assign(scan.faceCorners.size(), 0);
    out.uvIds.clear();
    std::size_t face = 0;
    for (const auto& s : shapes) {
        std::size_t next = 0;
        for (std::size_t k = 0; k < s.mesh.num_face_vertices.size(); ++k, ++face) {
            const int n = scan.faceCorners[face];
            if (next + n > s.mesh.indices.size())
                throw ParseError(0, "the OBJ structure could not be read consistently");
            bool textured = !scan.u.empty();
            for (int c = 0; c < n; ++c) {
                const tinyobj::index_t& idx = s.mesh.indices[next + c];
                out.connects.push_back(idx.vertex_index);
                textured = textured && idx.texcoord_index >= 0;
            }
            if (textured) {
                out.uvCounts[face] = n;
                for (int c = 0; c < n; ++c)
                    out.uvIds.push_back(s.mesh.indices[next + c].texcoord_index);
            }
            next += n;
        }
        if (next != s.mesh.indices.size())
            throw ParseError(0, "the OBJ structure could not be read consistently");
    }
    if (!scan.u.empty()) {
        out.u = scan.u;
        out.v = scan.v;
    } else {
        out.uvCounts.clear();
    }
}

}  // namespace

bool readObj(const std::string& path, ImportedMesh& out, std::string& error) {
    std::string text;
    if (!io::readWholeFile(path, text, error)) return false;
    try {
        ObjScan scan = ObjScanner(text).scan();
        tinyobj::ObjReaderConfig config;
        config.triangulate = false;
        config.vertex_color = false;
        tinyobj::ObjReader reader;
        if (!reader.ParseFromString(text, "", config)) {
            error = path + ": " + reader.Error();
            return false;
        }
        assemble(reader, scan, out);
    } catch (const ParseError& e) {
        error = path + ": " + e.describe();
        return false;
    }
    return true;
}

}  // namespace ehost
