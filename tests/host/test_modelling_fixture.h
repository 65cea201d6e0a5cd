#pragma once
// Shared set-up for the modelling command tests: running command text as
// the product does (undoable), reading results and meshes.

#include <maya/MCommandResult.h>

#include <string>
#include <vector>

#include "host/src/command/Commands.h"
#include "host/src/core/MessageLog.h"
#include "host/src/dg/MeshData.h"
#include "host/src/dg/Scene.h"
#include "host/src/nodes/MeshShape.h"
#include "tests/host/HostFixture.h"

class ModellingTest : public HostTest {
protected:
    MStatus run(const std::string& text, MCommandResult* result = nullptr) {
        return ehost::runCommands(text, {false, true}, result);
    }
    //! Runs text that must succeed and returns its result as printed.
    std::string result(const std::string& text) {
        MCommandResult r;
        EXPECT_TRUE(run(text, &r)) << text << ": " << lastError();
        return r.stringResult().str();
    }
    std::vector<std::string> strings(const std::string& text) {
        MCommandResult r;
        EXPECT_TRUE(run(text, &r)) << text << ": " << lastError();
        MStringArray a;
        r.getResult(a);
        std::vector<std::string> out;
        for (unsigned i = 0; i < a.length(); ++i) out.push_back(a[i].str());
        return out;
    }
    std::vector<double> numbers(const std::string& text) {
        MCommandResult r;
        EXPECT_TRUE(run(text, &r)) << text << ": " << lastError();
        MDoubleArray a;
        r.getResult(a);
        return std::vector<double>(&a[0], &a[0] + a.length());
    }
    int integer(const std::string& text) {
        MCommandResult r;
        EXPECT_TRUE(run(text, &r)) << text << ": " << lastError();
        int v = -1;
        r.getResult(v);
        return v;
    }
    std::string lastError() {
        const auto& e = ehost::session().messages().entries();
        for (auto it = e.rbegin(); it != e.rend(); ++it)
            if (it->kind == ehost::MessageLog::Kind::Error) return it->text;
        return "";
    }

    ehost::Node* node(const std::string& name) { return ehost::session().scene().find(name); }
    ehost::MeshShape& shape(const std::string& name) {
        auto* s = dynamic_cast<ehost::MeshShape*>(node(name));
        EXPECT_NE(s, nullptr) << name;
        return *s;
    }
    //! A copy of what the shape shows now.
    ehost::MeshGeometry shown(const std::string& name) { return *shape(name).output(); }
    size_t nodeCount() { return ehost::session().scene().nodes().size(); }

    //! A mesh shape named name under transform "name minus Shape", without
    //! history, holding the given polygons.
    ehost::MeshShape& makeMesh(const std::string& transform, const std::vector<ehost::Vec3>& points,
                               const std::vector<int>& counts, const std::vector<int>& connects) {
        EXPECT_TRUE(run("createNode transform -n " + transform + "; createNode mesh -n " +
                        transform + "Shape -p " + transform))
            << lastError();
        ehost::MeshShape& s = shape(transform + "Shape");
        ehost::MeshGeometry* own = s.editOwnGeometry(nullptr);
        EXPECT_TRUE(own->create(points, counts, connects).ok());
        s.ownGeometryEdited();
        return s;
    }
};
