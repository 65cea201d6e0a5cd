#include "host/src/io/SceneFile.h"

#include <new>

#include "host/src/dg/Scene.h"
#include "host/src/io/SceneFormat.h"
#include "host/src/io/TextFile.h"

namespace ehost {

namespace {

std::string& currentFileName() {
    return theScene().fileName;
}

MStatus failure(const std::string& text, std::string* error) {
    if (error) *error = text;
    return MStatus(MStatus::kFailure, text);
}

}  // namespace

MStatus saveScene(const std::string& path, std::string* error) {
    try {
        io::ReplacingFile file(path);
        std::string why;
        if (!file.open(why)) return failure(why, error);
        io::writeScene(file.out());
        if (!file.commit(why)) return failure(why, error);
    } catch (const io::SaveError& e) {
        return failure("cannot save " + path + ": " + e.what(), error);
    } catch (const std::bad_alloc&) {
        return failure("cannot save " + path + ": out of memory", error);
    }
    return MStatus::kSuccess;
}

MStatus openScene(const std::string& path, std::string* error) {
    try {
        std::string text, why;
        if (!io::readWholeFile(path, text, why)) return failure(why, error);
        io::StagedScene staged;
        staged.read(text);
        staged.apply();
    } catch (const io::ParseError& e) {
        return failure(path + ": " + e.describe(), error);
    } catch (const std::bad_alloc&) {
        return failure(path + ": out of memory while reading the scene", error);
    }
    currentFileName() = path;
    return MStatus::kSuccess;
}

const std::string& sceneFileName() {
    return currentFileName();
}

void setSceneFileName(const std::string& path) {
    currentFileName() = path;
}

MStatus saveCurrentScene(std::string* error) {
    if (currentFileName().empty())
        return failure("the scene has no file name yet: rename it (file -rename) before saving",
                       error);
    return saveScene(currentFileName(), error);
}

}  // namespace ehost
