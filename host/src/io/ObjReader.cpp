// OBJ import in one pass over the file, read block by block (io::LineBlocks):
// a source scan of ten million triangles is mostly its mesh, and the reader
// holds that mesh and one block of text, never the whole file or a second
// copy of its structure. Lines are read strictly, with line numbers in every
// refusal: "v" needs x y z (w or a colour may follow), "vt" needs u and v,
// numbers are read correctly rounded (an exported mesh reads back bit for
// bit) and must be finite, face corners are "v", "v/vt", "v//vn" or
// "v/vt/vn" with 1-based or relative indices. A positive index may refer to
// a vertex defined further down; it is checked once the file has been read.
// Normals, groups, materials, smoothing groups and lines are not part of the
// mesh we keep and are skipped.

#include <algorithm>
#include <cmath>
#include <limits>
#include <span>

#include "host/src/io/MeshFiles.h"
#include "host/src/io/TextFile.h"

namespace ehost {

namespace {

using io::LineScanner;
using io::ParseError;

//! A positive index beyond what was defined so far: legal if the file
//! defines enough later.
struct ForwardReference {
    int line;
    long long index;
    bool uv;
};

//! A face corner's 0-based vertex and texture coordinate (-1 when it has none).
struct Corner {
    int vertex;
    int uv;
};

bool hasRepeat(std::span<const int> ids, std::vector<int>& scratch) {
    if (ids.size() <= 16) {
        for (std::size_t i = 1; i < ids.size(); ++i)
            for (std::size_t j = 0; j < i; ++j)
                if (ids[i] == ids[j]) return true;
        return false;
    }
    scratch.assign(ids.begin(), ids.end());
    std::sort(scratch.begin(), scratch.end());
    return std::adjacent_find(scratch.begin(), scratch.end()) != scratch.end();
}

class ObjParser {
public:
    ObjParser() : in_({}, true) {}

    //! The next run of whole lines of the file.
    void parse(std::string_view lines) {
        in_.continueWith(lines);
        while (in_.next()) {
            std::string_view keyword = in_.token("a keyword");
            if (keyword == "v")
                vertex();
            else if (keyword == "vt")
                texcoord();
            else if (keyword == "f")
                face();
        }
    }

    //! The mesh, once the whole file has been parsed.
    ImportedMesh finish() {
        for (const ForwardReference& r : forward_) {
            std::size_t defined = r.uv ? out_.u.size() : out_.points.size();
            if (static_cast<unsigned long long>(r.index) > defined)
                throw ParseError(r.line, std::string(r.uv ? "texture coordinate" : "vertex") +
                                             " index " + std::to_string(r.index) +
                                             " is out of range (the file has " +
                                             std::to_string(defined) + ")");
        }
        if (out_.counts.empty()) throw ParseError(0, "the file has no polygons");
        // Per polygon 0 or its corner count, once the file has texture coordinates.
        if (out_.u.empty())
            out_.uvCounts.clear();
        else
            out_.uvCounts.resize(out_.counts.size(), 0);
        // The mesh keeps these arrays: without the room their growth left
        // (up to as much again), one at a time.
        out_.points.shrink_to_fit();
        out_.counts.shrink_to_fit();
        out_.connects.shrink_to_fit();
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

    //! A polygon, textured when every corner has a texture coordinate.
    void face() {
        vertices_.clear();
        uvs_.clear();
        std::string_view t;
        while (in_.tryToken(t)) {
            const Corner c = corner(t);
            vertices_.push_back(c.vertex);
            if (c.uv >= 0) uvs_.push_back(c.uv);
        }
        if (vertices_.size() < 3)
            in_.fail("a face needs at least 3 corners, this one has " +
                     std::to_string(vertices_.size()));
        if (hasRepeat(vertices_, scratch_)) in_.fail("the face uses one vertex more than once");
        const int n = static_cast<int>(vertices_.size());
        if (uvs_.size() == vertices_.size()) {
            // The polygons before it, untextured.
            out_.uvCounts.resize(out_.counts.size(), 0);
            out_.uvCounts.push_back(n);
            out_.uvIds.insert(out_.uvIds.end(), uvs_.begin(), uvs_.end());
        }
        out_.counts.push_back(n);
        out_.connects.insert(out_.connects.end(), vertices_.begin(), vertices_.end());
    }

    Corner corner(std::string_view token) {
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
        Corner c{resolve(parts[0], out_.points.size(), false, token), -1};
        if (n >= 1 && !parts[1].empty()) c.uv = resolve(parts[1], out_.u.size(), true, token);
        if (n == 2 && !parts[2].empty()) {
            long long normal;
            if (!io::parseNumber(parts[2], normal) || normal == 0)
                in_.fail("\"" + std::string(token) + "\" has an invalid normal index");
        }
        return c;
    }

    //! A 1-based or relative (negative) index as a 0-based one.
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
    ImportedMesh out_;
    std::vector<ForwardReference> forward_;
    std::vector<int> vertices_, uvs_, scratch_;
};

}  // namespace

bool readObj(const std::string& path, ImportedMesh& out, std::string& error) {
    io::LineBlocks file;
    if (!file.open(path, error)) return false;
    try {
        ObjParser parser;
        std::string_view lines;
        std::string readError;
        while (file.next(lines, readError)) parser.parse(lines);
        if (!readError.empty()) {
            error = readError;
            return false;
        }
        out = parser.finish();
    } catch (const ParseError& e) {
        error = path + ": " + e.describe();
        return false;
    }
    return true;
}

}  // namespace ehost
