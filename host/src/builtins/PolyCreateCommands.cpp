// polySphere, polyCube and polyPlane: a transform with a mesh shape in the
// default shading group, fed by a creator node when history is recorded.

#include <maya/MStringArray.h>

#include <cctype>
#include <cmath>

#include "host/src/builtins/Builtin.h"
#include "host/src/dag/DagOps.h"
#include "host/src/dag/Selection.h"
#include "host/src/dg/MeshData.h"
#include "host/src/dg/Registry.h"
#include "host/src/dg/Scene.h"
#include "host/src/mesh/ops/MeshOps.h"
#include "host/src/nodes/History.h"
#include "host/src/nodes/ObjectSet.h"
#include "host/src/nodes/PolyNodes.h"

namespace ehost {

namespace {

//! "pSphere1" -> "pSphereShape1", "foo" -> "fooShape".
std::string shapeNameFor(const std::string& transform) {
    size_t end = transform.size();
    while (end > 0 && std::isdigit(static_cast<unsigned char>(transform[end - 1]))) --end;
    return transform.substr(0, end) + "Shape" + transform.substr(end);
}

//! One numeric parameter: its flags, the creator attribute it sets and its range.
struct Parameter {
    const char* shortFlag;
    const char* longFlag;
    AttrPtr attr;
    double lowest, highest;
    bool whole;  // an integer count
    double value;

    void read(const MArgDatabase& db) {
        if (!db.isFlagSet(shortFlag)) return;
        if (whole) {
            int v = 0;
            db.getFlagArgument(shortFlag, 0, v);
            value = v;
        } else {
            db.getFlagArgument(shortFlag, 0, value);
        }
    }
    bool check(std::string& why) const {
        const bool inside =
            whole ? value >= lowest && value <= highest : value > lowest && std::isfinite(value);
        if (inside) return true;
        why = whole ? std::string(longFlag) + " must be between " +
                          std::to_string(static_cast<int>(lowest)) + " and " +
                          std::to_string(static_cast<int>(highest))
                    : std::string(longFlag) + " must be a positive number";
        return false;
    }
};

class PolyCreateCommand : public BuiltinCommand {
public:
    bool isUndoable() const override { return true; }
    MStatus run(const MArgDatabase& db) override {
        std::vector<Parameter> params = parameters();
        std::string why;
        for (auto& p : params) {
            p.read(db);
            if (!p.check(why)) return error(why);
        }
        MString wanted;
        if (db.isFlagSet("-n")) {
            db.getFlagArgument("-n", 0, wanted);
            if (!Scene::validName(wanted.str(), &why)) return error(why);
        }
        bool history = historyRecording();
        if (db.isFlagSet("-ch")) {
            bool ch = true;
            db.getFlagArgument("-ch", 0, ch);
            history = history && ch;
        }
        std::string name = wanted.length() ? wanted.str() : std::string(transformBase()) + "1";
        MStatus st;
        try {
            st = create(name, params, history);
        } catch (...) {
            takeBack();  // no half-made mesh stays behind (the interpreter reports the failure)
            throw;
        }
        if (!st) {
            takeBack();
            return error(st.errorString().str());
        }
        before_ = theSelection().items;
        select();
        MStringArray result;
        result.append(MString(transform_->name));
        if (creator_) result.append(MString(creator_->name));
        setResult(result);
        return MStatus::kSuccess;
    }
    MStatus undoIt() override {
        takeBack();
        auto& sel = theSelection().items;
        sel.clear();
        for (const auto& i : before_)
            if (i.node->alive) sel.push_back(i);
        return MStatus::kSuccess;
    }
    MStatus redoIt() override {
        restore(removal_);
        select();
        return MStatus::kSuccess;
    }

protected:
    virtual const char* transformBase() const = 0;  // "pSphere"
    virtual const char* creatorType() const = 0;    // "polySphere"
    //! The parameters with their defaults.
    virtual std::vector<Parameter> parameters() const = 0;
    //! The mesh for the parameters (the creator's own geometry without history).
    virtual MeshGeometry build(const std::vector<Parameter>& params) const = 0;

    static MSyntax syntaxOf(const std::vector<Parameter>& params) {
        MSyntax s;
        s.addFlag("-n", "-name", MSyntax::kString);
        s.addFlag("-ch", "-constructionHistory", MSyntax::kBoolean);
        for (const auto& p : params)
            s.addFlag(p.shortFlag, p.longFlag, p.whole ? MSyntax::kLong : MSyntax::kDouble);
        return s;
    }

private:
    MStatus create(const std::string& name, const std::vector<Parameter>& params, bool history) {
        Registry& registry = theRegistry();
        MStatus st;
        Created t = createNode(*registry.findClass("transform"), name, nullptr, &st);
        if (!t.node) return st;
        transform_ = t.node;
        Created s = createNode(*registry.findClass("mesh"), shapeNameFor(transform_->name),
                               static_cast<DagNode*>(transform_.get()), &st);
        if (!s.node) return st;
        Node& shape = *s.node;
        const PlugAddr inMesh{meshAttributes().inMesh.get(), -1};
        if (history) {
            creator_ = theScene().create(*registry.findClass(creatorType()),
                                         std::string(creatorType()) + "1", &st);
            if (!creator_) return st;
            for (const auto& p : params) writeNumeric(*creator_, {p.attr.get(), -1}, &p.value, 1);
            const Attribute* out = creator_->cls->find("output");
            st = connect(PlugRef{creator_.get(), {out, -1}}, PlugRef{&shape, inMesh});
            if (!st) return st;
        } else {
            auto mesh = std::make_shared<const MeshGeometry>(build(params));
            writeData(shape, {meshAttributes().cachedInMesh.get(), -1},
                      std::make_shared<MeshData>(mesh));
        }
        if (Node* group = theScene().find("initialShadingGroup"))
            return addSetMember(*group, shape);
        return MStatus::kSuccess;
    }

    void takeBack() {
        std::vector<Node*> made;
        for (const auto& n : {transform_, creator_})
            if (n && n->alive) made.push_back(n.get());
        removal_ = removeNodes(made);
    }

    void select() {
        auto& sel = theSelection().items;
        sel.clear();
        sel.push_back(SelItem{transform_, nullptr, {}});
    }

    NodePtr transform_, creator_;
    Removal removal_;
    std::vector<SelItem> before_;
};

double valueOf(const std::vector<Parameter>& params, const AttrPtr& attr) {
    for (const auto& p : params)
        if (p.attr == attr) return p.value;
    return 0;
}
int countOf(const std::vector<Parameter>& params, const AttrPtr& attr) {
    return static_cast<int>(valueOf(params, attr));
}

// ---------------------------------------------------------------- polySphere

class PolySphereCommand : public PolyCreateCommand {
public:
    static std::vector<Parameter> defaults() {
        const auto& a = polySphereAttributes();
        return {
            {"-r", "-radius", a.radius, 0, 0, false, 1},
            {"-sx", "-subdivisionsX", a.subdivisionsAxis, kMinSphereAxis, kMaxDivisions, true, 20},
            {"-sy", "-subdivisionsY", a.subdivisionsHeight, kMinSphereHeight, kMaxDivisions, true,
             20}};
    }
    static MSyntax syntax() { return syntaxOf(defaults()); }

protected:
    const char* transformBase() const override { return "pSphere"; }
    const char* creatorType() const override { return "polySphere"; }
    std::vector<Parameter> parameters() const override { return defaults(); }
    MeshGeometry build(const std::vector<Parameter>& p) const override {
        const auto& a = polySphereAttributes();
        return makeSphere(valueOf(p, a.radius), countOf(p, a.subdivisionsAxis),
                          countOf(p, a.subdivisionsHeight));
    }
};

// ---------------------------------------------------------------- polyCube

class PolyCubeCommand : public PolyCreateCommand {
public:
    static std::vector<Parameter> defaults() {
        const auto& a = polyCubeAttributes();
        return {{"-w", "-width", a.width, 0, 0, false, 1},
                {"-h", "-height", a.height, 0, 0, false, 1},
                {"-d", "-depth", a.depth, 0, 0, false, 1},
                {"-sx", "-subdivisionsX", a.subdivisionsWidth, kMinGridDivisions, kMaxDivisions,
                 true, 1},
                {"-sy", "-subdivisionsY", a.subdivisionsHeight, kMinGridDivisions, kMaxDivisions,
                 true, 1},
                {"-sz", "-subdivisionsZ", a.subdivisionsDepth, kMinGridDivisions, kMaxDivisions,
                 true, 1}};
    }
    static MSyntax syntax() { return syntaxOf(defaults()); }

protected:
    const char* transformBase() const override { return "pCube"; }
    const char* creatorType() const override { return "polyCube"; }
    std::vector<Parameter> parameters() const override { return defaults(); }
    MeshGeometry build(const std::vector<Parameter>& p) const override {
        const auto& a = polyCubeAttributes();
        return makeCube(valueOf(p, a.width), valueOf(p, a.height), valueOf(p, a.depth),
                        countOf(p, a.subdivisionsWidth), countOf(p, a.subdivisionsHeight),
                        countOf(p, a.subdivisionsDepth));
    }
};

// ---------------------------------------------------------------- polyPlane

class PolyPlaneCommand : public PolyCreateCommand {
public:
    static std::vector<Parameter> defaults() {
        const auto& a = polyPlaneAttributes();
        return {{"-w", "-width", a.width, 0, 0, false, 1},
                {"-h", "-height", a.height, 0, 0, false, 1},
                {"-sx", "-subdivisionsX", a.subdivisionsWidth, kMinGridDivisions, kMaxDivisions,
                 true, 10},
                {"-sy", "-subdivisionsY", a.subdivisionsHeight, kMinGridDivisions, kMaxDivisions,
                 true, 10}};
    }
    static MSyntax syntax() { return syntaxOf(defaults()); }

protected:
    const char* transformBase() const override { return "pPlane"; }
    const char* creatorType() const override { return "polyPlane"; }
    std::vector<Parameter> parameters() const override { return defaults(); }
    MeshGeometry build(const std::vector<Parameter>& p) const override {
        const auto& a = polyPlaneAttributes();
        return makePlane(valueOf(p, a.width), valueOf(p, a.height), countOf(p, a.subdivisionsWidth),
                         countOf(p, a.subdivisionsHeight));
    }
};

void add(Commands& c) {
    addBuiltin<PolySphereCommand>(c, "polySphere", PolySphereCommand::syntax);
    addBuiltin<PolyCubeCommand>(c, "polyCube", PolyCubeCommand::syntax);
    addBuiltin<PolyPlaneCommand>(c, "polyPlane", PolyPlaneCommand::syntax);
}

BuiltinRegistrar registrar(add);

}  // namespace
}  // namespace ehost
