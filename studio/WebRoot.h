#pragma once
// The page's files as the studio serves them, from the project's web/
// folder: its own page (index.html, src/) and three.js as npm installed it
// there (node_modules/three). Nothing outside those is served, and nothing
// is fetched from anywhere else.

#include <string>

namespace tessark_studio {

class WebRoot {
public:
    explicit WebRoot(std::string folder) : folder_(std::move(folder)) {}

    //! Whether the folder holds the page and an installed three.js; the
    //! reason (and the cure) when not.
    bool check(std::string& why) const;

    //! The file a request target names: "/" is the page, "/src/..." its
    //! scripts and styles, "/three/..." the three.js package. False for any
    //! other target, one that climbs out ("..") or names no regular file.
    bool resolve(const std::string& target, std::string& file) const;

    //! The media type of a file by its extension.
    static std::string mediaType(const std::string& file);

    const std::string& folder() const { return folder_; }

private:
    std::string folder_;
};

}  // namespace tessark_studio
