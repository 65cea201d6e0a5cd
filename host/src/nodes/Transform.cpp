#include "host/src/nodes/Transform.h"

#include <maya/MEulerRotation.h>
#include <maya/MTransformationMatrix.h>
#include <maya/MVector.h>

#include "host/src/dg/AttrBuild.h"
#include "host/src/dg/Registry.h"
#include "host/src/nodes/Builtins.h"

namespace ehost {

const TransformAttributes& transformAttributes() {
    static const TransformAttributes t = [] {
        static const char* const tn[3] = {"translateX", "translateY", "translateZ"};
        static const char* const ts[3] = {"tx", "ty", "tz"};
        static const char* const rn[3] = {"rotateX", "rotateY", "rotateZ"};
        static const char* const rs[3] = {"rx", "ry", "rz"};
        static const char* const sn[3] = {"scaleX", "scaleY", "scaleZ"};
        static const char* const ss[3] = {"sx", "sy", "sz"};
        TransformAttributes a;
        a.translate = compound3("translate", "t", tn, ts, MFnNumericData::kDouble, 0);
        a.rotate = compound3("rotate", "r", rn, rs, MFnNumericData::kDouble, 0);
        a.rotate->isAngle = true;
        for (auto& c : a.rotate->children) c->isAngle = true;
        a.scale = compound3("scale", "s", sn, ss, MFnNumericData::kDouble, 1);
        a.rotateOrder =
            enumAttr("rotateOrder", "ro", 0,
                     {{"xyz", 0}, {"yzx", 1}, {"zxy", 2}, {"xzy", 3}, {"yxz", 4}, {"zyx", 5}});
        for (auto* p : {&a.translate, &a.rotate, &a.scale}) {
            (*p)->keyable = true;
            for (auto& c : (*p)->children) c->keyable = true;
        }
        return a;
    }();
    return t;
}

MMatrix TransformNode::localMatrix() const {
    // Connected inputs are pulled, which may dirty the node: read them first.
    const auto& a = transformAttributes();
    auto* self = const_cast<TransformNode*>(this);
    bool driven = false;
    for (auto& [addr, src] : inputs)
        driven = driven || addr.attr->root() == a.translate.get() ||
                 addr.attr->root() == a.rotate.get() || addr.attr->root() == a.scale.get() ||
                 addr.attr == a.rotateOrder.get();
    if (!driven && cachedStamp_ == changeStamp) return cached_;
    const Cell& t = evaluate(*self, {a.translate.get(), -1});
    const Cell& r = evaluate(*self, {a.rotate.get(), -1});
    const Cell& s = evaluate(*self, {a.scale.get(), -1});
    int order = static_cast<int>(evaluate(*self, {a.rotateOrder.get(), -1}).num[0]);
    MTransformationMatrix m;
    double scale[3] = {s.num[0], s.num[1], s.num[2]};
    m.setScale(scale, MSpace::kTransform);
    m.rotateTo(MEulerRotation(r.num[0], r.num[1], r.num[2],
                              static_cast<MEulerRotation::RotationOrder>(order)));
    m.setTranslation(MVector(t.num[0], t.num[1], t.num[2]), MSpace::kTransform);
    cached_ = m.asMatrix();
    cachedStamp_ = changeStamp;
    return cached_;
}

void registerTransformType(Registry& registry) {
    auto cls = std::make_unique<NodeClass>();
    cls->typeName = "transform";
    cls->typeId = MTypeId(0x5846524d);
    cls->kind = MFn::kTransform;
    cls->role = NodeRole::Transform;
    cls->make = [](NodeClass* c) { return std::make_shared<TransformNode>(c); };
    addInheritedAttributes(*cls);
    const auto& a = transformAttributes();
    for (const auto& attr : {a.translate, a.rotate, a.scale, a.rotateOrder})
        cls->addAttribute(attr);
    registry.addClass(std::move(cls));
}

}  // namespace ehost
