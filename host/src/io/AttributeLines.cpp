#include "host/src/io/AttributeLines.h"

#include <algorithm>
#include <cctype>
#include <set>

#include "host/src/dg/AttrBuild.h"
#include "host/src/io/SceneFormat.h"

namespace ehost::io {

namespace {

// Flags written when they differ from a new attribute's.
struct FlagWord {
    const char* word;
    bool Attribute::*field;
    bool whenSet;  // the value the word stands for
};
constexpr FlagWord kFlags[] = {
    {"array", &Attribute::array, true},
    {"hidden", &Attribute::hidden, true},
    {"keyable", &Attribute::keyable, true},
    {"channelBox", &Attribute::channelBox, true},
    {"unstorable", &Attribute::storable, false},
    {"unwritable", &Attribute::writable, false},
    {"unreadable", &Attribute::readable, false},
    {"unconnectable", &Attribute::connectable, false},
    {"uncached", &Attribute::cached, false},
    {"noIndexMatters", &Attribute::indexMatters, false},
    {"builder", &Attribute::usesArrayDataBuilder, true},
    {"internal", &Attribute::internal, true},
};

struct LimitWord {
    const char* word;
    Attribute::Limit Attribute::*field;
};
constexpr LimitWord kLimits[] = {{"min", &Attribute::min},
                                 {"max", &Attribute::max},
                                 {"softMin", &Attribute::softMin},
                                 {"softMax", &Attribute::softMax}};

bool isTuple(const Attribute& a) {
    return a.kind == AttrKind::Numeric && a.isCompound();
}

void describe(TextWriter& out, const Attribute& a) {
    switch (a.kind) {
        case AttrKind::Numeric:
            if (isTuple(a))
                out.word("tuple").word(numericTypeName(a.numericType));
            else if (a.isAngle)
                out.word("angle").number(a.defaults[0]);
            else
                out.word("number").word(numericTypeName(a.numericType)).number(a.defaults[0]);
            break;
        case AttrKind::Enum:
            out.word("enum").number(a.defaults[0]).number(a.enumFields.size());
            for (const auto& [field, value] : a.enumFields) out.quoted(field).number(value);
            break;
        case AttrKind::Typed:
            out.word("typed").word(dataTypeName(a.dataType));
            break;
        case AttrKind::Generic:
            out.word("generic").number(a.acceptedData.size());
            for (MFnData::Type t : a.acceptedData) out.word(dataTypeName(t));
            out.number(a.acceptedNumeric.size());
            for (MFnNumericData::Type t : a.acceptedNumeric) out.word(numericTypeName(t));
            break;
        case AttrKind::Message:
            out.word("message");
            break;
        case AttrKind::Matrix:
            out.word("matrix");
            break;
        case AttrKind::Compound:
            out.word("compound").number(a.children.size());
            break;
    }
}

void line(TextWriter& out, const char* keyword, const Attribute& a) {
    out.word(keyword).word(a.name).word(a.shortName);
    describe(out, a);
    const Attribute fresh;
    for (const FlagWord& f : kFlags)
        if (a.*(f.field) != fresh.*(f.field)) out.word(f.word);
    for (const LimitWord& l : kLimits)
        if ((a.*(l.field)).set) out.word(l.word).number((a.*(l.field)).value);
    out.endLine();
    for (const auto& c : a.children) line(out, "child", *c);
}

std::string str(std::string_view s) {
    return std::string(s);
}

MFnNumericData::Type numericType(LineScanner& in) {
    std::string_view name = in.token("a numeric type");
    MFnNumericData::Type t;
    if (!numericTypeFromName(name, t)) in.fail("unknown numeric type \"" + str(name) + "\"");
    return t;
}

MFnData::Type dataType(LineScanner& in) {
    std::string_view name = in.token("a data type");
    MFnData::Type t;
    if (!dataTypeFromName(name, t)) in.fail("unknown data type \"" + str(name) + "\"");
    return t;
}

void checkName(LineScanner& in, const std::string& name) {
    const bool ok = !name.empty() && !std::isdigit(static_cast<unsigned char>(name[0])) &&
                    std::all_of(name.begin(), name.end(), [](char c) {
                        return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
                    });
    if (!ok) in.fail("\"" + name + "\" is not a valid attribute name");
}

//! One line's attribute (the keyword taken); its children are read after it.
AttrPtr readOne(LineScanner& in, std::size_t& childCount) {
    auto a = std::make_shared<Attribute>();
    a->name = str(in.token("an attribute name"));
    a->shortName = str(in.token("a short attribute name"));
    checkName(in, a->name);
    checkName(in, a->shortName);
    std::string_view kind = in.token("an attribute kind");
    childCount = 0;
    if (kind == "number") {
        a->numericType = numericType(in);
        if (numericComponents(a->numericType) != 1)
            in.fail("a number attribute holds one value; " + str(numericTypeName(a->numericType)) +
                    " is a tuple");
        a->defaults[0] = in.number<double>("default value");
    } else if (kind == "angle") {
        a->numericType = MFnNumericData::kDouble;
        a->isAngle = true;
        a->defaults[0] = in.number<double>("default value");
    } else if (kind == "tuple") {
        a->numericType = numericType(in);
        const int n = numericComponents(a->numericType);
        if (n < 2) in.fail("a tuple attribute needs a tuple type (double3 ...)");
        childCount = static_cast<std::size_t>(n);
    } else if (kind == "compound") {
        a->kind = AttrKind::Compound;
        childCount = in.count("child count");
        if (childCount == 0) in.fail("a compound attribute needs children");
    } else if (kind == "enum") {
        a->kind = AttrKind::Enum;
        a->numericType = MFnNumericData::kShort;
        a->defaults[0] = in.number<double>("default value");
        std::size_t n = in.count("field count", 4);
        for (std::size_t i = 0; i < n; ++i) {
            std::string field = in.quoted("a field name");
            a->enumFields.emplace_back(field, in.number<int>("field value"));
        }
    } else if (kind == "typed") {
        a->kind = AttrKind::Typed;
        a->dataType = dataType(in);
    } else if (kind == "generic") {
        a->kind = AttrKind::Generic;
        std::size_t n = in.count("data type count");
        for (std::size_t i = 0; i < n; ++i) a->acceptedData.push_back(dataType(in));
        std::size_t m = in.count("numeric type count");
        for (std::size_t i = 0; i < m; ++i) a->acceptedNumeric.push_back(numericType(in));
    } else if (kind == "message") {
        a->kind = AttrKind::Message;
    } else if (kind == "matrix") {
        a->kind = AttrKind::Matrix;
    } else {
        in.fail("unknown attribute kind \"" + str(kind) + "\"");
    }
    std::string_view word;
    while (in.tryToken(word)) {
        auto f = std::find_if(std::begin(kFlags), std::end(kFlags),
                              [&](const FlagWord& x) { return word == x.word; });
        if (f != std::end(kFlags)) {
            a.get()->*(f->field) = f->whenSet;
            continue;
        }
        auto l = std::find_if(std::begin(kLimits), std::end(kLimits),
                              [&](const LimitWord& x) { return word == x.word; });
        if (l == std::end(kLimits)) in.fail("unknown attribute flag \"" + str(word) + "\"");
        (a.get()->*(l->field)) = Attribute::Limit{true, in.number<double>("limit")};
    }
    return a;
}

AttrPtr readTree(LineScanner& in, int depth) {
    if (depth > 32) in.fail("compound attributes nest too deep");
    std::size_t n = 0;
    AttrPtr a = readOne(in, n);
    const int begin = in.lineNumber();
    std::vector<AttrPtr> kids;
    for (std::size_t i = 0; i < n; ++i) {
        if (!in.next())
            throw ParseError(in.lineNumber(), "the file ends inside the attribute begun at line " +
                                                  std::to_string(begin));
        in.expectKeyword("child");
        AttrPtr c = readTree(in, depth + 1);
        if (a->kind == AttrKind::Numeric && (c->kind != AttrKind::Numeric || c->isCompound()))
            in.fail("a child of tuple " + a->name + " must be a number");
        kids.push_back(std::move(c));
    }
    for (size_t k = 0; k < kids.size(); ++k) {
        kids[k]->parent = a.get();
        kids[k]->childIndex = static_cast<int>(k);
        // A tuple's values start from its children's defaults.
        if (a->kind == AttrKind::Numeric && k < 4) a->defaults[k] = kids[k]->defaults[0];
    }
    a->children = std::move(kids);
    return a;
}

}  // namespace

void writeAttributeLines(TextWriter& out, const Attribute& attr) {
    line(out, "attr", attr);
}

AttrPtr readAttributeLines(LineScanner& in) {
    AttrPtr a = readTree(in, 0);
    // Names are unique within the attribute.
    std::set<std::string> names;
    std::vector<const Attribute*> all{a.get()};
    for (size_t i = 0; i < all.size(); ++i)
        for (auto& c : all[i]->children) all.push_back(c.get());
    for (const Attribute* x : all)
        for (const std::string* n : {&x->name, &x->shortName})
            if ((n == &x->name || x->shortName != x->name) && !names.insert(*n).second)
                in.fail("attribute " + a->name + " uses the name " + *n + " twice");
    return a;
}

}  // namespace ehost::io
