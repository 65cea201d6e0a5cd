#include "host/src/dg/AttrBuild.h"

namespace ehost {

AttrPtr numericAttr(const std::string& name, const std::string& shortName,
                    MFnNumericData::Type type, double defaultValue) {
    auto a = std::make_shared<Attribute>();
    a->kind = AttrKind::Numeric;
    a->name = name;
    a->shortName = shortName;
    a->numericType = type;
    a->defaults[0] = storeAsNumeric(type, defaultValue);
    return a;
}

AttrPtr compoundAttr(const std::string& name, const std::string& shortName,
                     std::vector<AttrPtr> children) {
    auto a = std::make_shared<Attribute>();
    a->kind = AttrKind::Numeric;
    a->name = name;
    a->shortName = shortName;
    MFnNumericData::Type childType =
        children.empty() ? MFnNumericData::kDouble : children.front()->numericType;
    bool isFloat = childType == MFnNumericData::kFloat;
    bool isInt = childType == MFnNumericData::kInt || childType == MFnNumericData::kShort;
    int n = static_cast<int>(children.size());
    if (n == 2)
        a->numericType = isFloat ? MFnNumericData::k2Float
                         : isInt ? MFnNumericData::k2Int
                                 : MFnNumericData::k2Double;
    else if (n == 3)
        a->numericType = isFloat ? MFnNumericData::k3Float
                         : isInt ? MFnNumericData::k3Int
                                 : MFnNumericData::k3Double;
    else
        a->numericType = MFnNumericData::k4Double;
    for (int k = 0; k < n; ++k) {
        children[k]->parent = a.get();
        children[k]->childIndex = k;
        a->defaults[k] = children[k]->defaults[0];
    }
    a->children = std::move(children);
    return a;
}

AttrPtr compound3(const std::string& name, const std::string& shortName, const char* const names[3],
                  const char* const shortNames[3], MFnNumericData::Type type, double defaultValue) {
    std::vector<AttrPtr> kids;
    for (int k = 0; k < 3; ++k)
        kids.push_back(numericAttr(names[k], shortNames[k], type, defaultValue));
    return compoundAttr(name, shortName, std::move(kids));
}

AttrPtr typedAttr(const std::string& name, const std::string& shortName, MFnData::Type type) {
    auto a = std::make_shared<Attribute>();
    a->kind = AttrKind::Typed;
    a->name = name;
    a->shortName = shortName;
    a->dataType = type;
    return a;
}

AttrPtr messageAttr(const std::string& name, const std::string& shortName) {
    auto a = std::make_shared<Attribute>();
    a->kind = AttrKind::Message;
    a->name = name;
    a->shortName = shortName;
    a->storable = false;
    return a;
}

AttrPtr matrixAttr(const std::string& name, const std::string& shortName) {
    auto a = std::make_shared<Attribute>();
    a->kind = AttrKind::Matrix;
    a->name = name;
    a->shortName = shortName;
    a->dataType = MFnData::kMatrix;
    return a;
}

AttrPtr enumAttr(const std::string& name, const std::string& shortName, int defaultValue,
                 std::vector<std::pair<std::string, int>> fields) {
    auto a = numericAttr(name, shortName, MFnNumericData::kShort, defaultValue);
    a->kind = AttrKind::Enum;
    a->enumFields = std::move(fields);
    return a;
}

const BaseAttributes& baseAttributes() {
    static const BaseAttributes base = [] {
        BaseAttributes b;
        b.message = messageAttr("message", "msg");
        b.message->hidden = true;
        b.caching = numericAttr("caching", "cch", MFnNumericData::kBoolean, 0);
        b.caching->hidden = true;
        b.state = enumAttr("nodeState", "nds", 0,
                           {{"Normal", 0},
                            {"HasNoEffect", 1},
                            {"Blocking", 2},
                            {"Waiting-Normal", 8},
                            {"Waiting-HasNoEffect", 9},
                            {"Waiting-Blocking", 10}});
        b.frozen = numericAttr("frozen", "fzn", MFnNumericData::kBoolean, 0);
        b.frozen->hidden = true;
        b.isHistoricallyInteresting =
            numericAttr("isHistoricallyInteresting", "ihi", MFnNumericData::kChar, 2);
        b.isHistoricallyInteresting->hidden = true;
        return b;
    }();
    return base;
}

const DagAttributes& dagAttributes() {
    static const DagAttributes dag = [] {
        DagAttributes d;
        d.visibility = numericAttr("visibility", "v", MFnNumericData::kBoolean, 1);
        d.visibility->keyable = true;
        d.intermediateObject = numericAttr("intermediateObject", "io", MFnNumericData::kBoolean, 0);
        d.instObjGroups = messageAttr("instObjGroups", "iog");
        d.instObjGroups->array = true;
        return d;
    }();
    return dag;
}

void addInheritedAttributes(NodeClass& cls) {
    const auto& b = baseAttributes();
    for (const auto& a : {b.message, b.caching, b.state, b.frozen, b.isHistoricallyInteresting})
        cls.addAttribute(a);
    if (cls.role != NodeRole::Depend) {
        const auto& d = dagAttributes();
        for (const auto& a : {d.visibility, d.intermediateObject, d.instObjGroups})
            cls.addAttribute(a);
    }
}

}  // namespace ehost
