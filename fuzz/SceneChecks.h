#pragma once
// What the file harnesses do with a scene once it is in: save it, open what
// was saved and save again (the two files must be the same bytes: scenes
// read back exactly), then pull every computed output of every node, as
// getAttr does, and draw every view, so that values a file smuggled in reach
// every compute and draw override.

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz/ScratchDir.h"
#include "host/src/command/Commands.h"
#include "host/src/dg/Graph.h"
#include "host/src/dg/Scene.h"
#include "host/src/io/SceneFile.h"
#include "host/src/io/TextFile.h"

namespace fuzz {

[[noreturn]] inline void broken(const std::string& promise) {
    std::fprintf(stderr, "promise broken: %s\n", promise.c_str());
    std::abort();
}

inline std::string contentOf(const std::string& path) {
    std::string text, error;
    if (!ehost::io::readWholeFile(path, text, error)) broken("cannot read back " + error);
    return text;
}

inline void expectSaveOpenRoundTrip() {
    const ScratchDir& dir = ScratchDir::get();
    const std::string first = dir.file("first.tsk"), second = dir.file("second.tsk");
    std::string error;
    // A scene may be refused a save (a name it must not hold); it then has no file to compare.
    if (!ehost::saveScene(first, &error)) return;
    if (!ehost::openScene(first, &error)) broken("a saved scene does not open: " + error);
    if (!ehost::saveScene(second, &error)) broken("an opened scene does not save: " + error);
    const std::string a = contentOf(first), b = contentOf(second);
    if (a != b) broken("saved, opened and saved again, a scene changes:\n" + a + "----\n" + b);
}

inline void run(const std::string& command) {
    ehost::runCommands(command, {.display = false, .undoable = true});
}

//! getAttr on every attribute that something affects (the computed ones), then a refresh.
inline void pullEverything() {
    std::vector<std::string> plugs;
    for (const ehost::NodePtr& node : ehost::theScene().nodes()) {
        if (node->name.empty()) continue;
        for (const ehost::AttrPtr& attr : node->cls->attrs) {
            if (!node->cls->isAffected(attr.get()) || !attr->readable) continue;
            const ehost::Attribute* root = attr->root();
            std::string name = node->name + "." + (root == attr.get() ? attr->name : root->name);
            if (!root->array) {
                plugs.push_back(name);
                continue;
            }
            for (int index : node->elementIndices(root))
                plugs.push_back(name + "[" + std::to_string(index) + "]");
        }
    }
    for (const std::string& plug : plugs) run("getAttr " + plug);
    run("refresh -f");
}

}  // namespace fuzz
