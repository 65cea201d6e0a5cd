#pragma once
// What the studio sends the page of a frame the host drew: the camera and
// the background, the meshes it shaded (their geometry once per state, as
// binary), and the draw lists. The page is sent only what changed since it
// was last sent a frame: the geometry of a mesh that changed, the draw list
// groups that differ, so that a drag on a dense source stays small.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "host/src/session/ViewFeed.h"

namespace tessark_studio {

struct Outgoing {
    bool binary = false;
    std::string data;
};

//! One draw list group as JSON text.
std::string groupJson(const ehost::application::DrawnGroup& group);

//! A mesh's geometry as one binary message: a 4-byte little-endian length
//! of the JSON header that follows ({"type":"mesh", "path", "geometry",
//! "points", "triangles", "edges", "polygons"}), padded with blanks to a
//! multiple of 4 bytes, then the float32 points (x y z), the uint32 fan
//! triangles and the uint32 edge vertex pairs, little-endian.
std::string meshMessage(const std::string& path,
                        const ehost::application::MeshGeometryRecord& mesh);

//! What the page was last sent, so that the next frame carries only the difference.
class FrameDiff {
public:
    //! The messages that bring the page from what it has to this frame:
    //! first the geometry of each mesh it lacks, then the frame itself
    //! ({"type":"frame", "camera", "background", "meshes", "groups"}, where
    //! a group the page has already is {"same":true}).
    //! fetch reads a mesh's geometry; a mesh it cannot read is left out.
    template <class Fetch>
    std::vector<Outgoing> update(const ehost::application::DrawnFrame& frame, Fetch&& fetch);

    //! The page forgot everything (a new page): the next frame is whole.
    void reset() {
        meshes_.clear();
        groups_.clear();
    }

    //! How many groups the last frame sent in full (for tests).
    int lastSentGroups() const { return lastSentGroups_; }

private:
    std::string frameJson(const ehost::application::DrawnFrame& frame,
                          const std::vector<std::string>& shown);
    std::map<std::string, std::uint64_t> meshes_;  // path -> geometry the page has
    //! The groups the page has, compared as they were drawn: a group is made
    //! into text only when it changed.
    std::vector<ehost::application::DrawnGroup> groups_;
    int lastSentGroups_ = 0;
};

template <class Fetch>
std::vector<Outgoing> FrameDiff::update(const ehost::application::DrawnFrame& frame,
                                        Fetch&& fetch) {
    std::vector<Outgoing> out;
    std::map<std::string, std::uint64_t> now;
    std::vector<std::string> shown;
    for (const auto& mesh : frame.meshes) {
        auto had = meshes_.find(mesh.path);
        if (had != meshes_.end() && had->second == mesh.geometry) {
            now[mesh.path] = mesh.geometry;
            shown.push_back(mesh.path);
            continue;
        }
        ehost::application::MeshGeometryRecord geometry;
        if (!fetch(mesh.path, geometry)) continue;
        out.push_back({true, meshMessage(mesh.path, geometry)});
        now[mesh.path] = mesh.geometry;
        shown.push_back(mesh.path);
    }
    meshes_ = std::move(now);
    out.push_back({false, frameJson(frame, shown)});
    return out;
}

}  // namespace tessark_studio
