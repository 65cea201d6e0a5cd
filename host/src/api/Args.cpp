#include <maya/MArgDatabase.h>
#include <maya/MArgList.h>
#include <maya/MArgParser.h>
#include <maya/MGlobal.h>
#include <maya/MSelectionList.h>
#include <maya/MSyntax.h>

#include <cmath>
#include <cstring>

#include "host/src/command/ArgConvert.h"
#include "host/src/command/Lexer.h"
#include "host/src/core/NumberText.h"
#include "host/src/dg/Api.h"

using ehost::api::fail;
using ehost::api::setStatus;

// ---------------------------------------------------------------- MArgList

namespace {

MStatus badIndex(unsigned index, size_t size) {
    return fail(MStatus::kInvalidParameter, "argument " + std::to_string(index) +
                                                " does not exist (" + std::to_string(size) +
                                                " arguments)");
}

template <class T, class F>
T readArg(const std::vector<MArgList::Arg>& args, unsigned index, MStatus* status, const char* what,
          F parse) {
    T value{};
    if (index >= args.size()) {
        setStatus(status, badIndex(index, args.size()));
        return value;
    }
    if (!parse(args[index].text, value)) {
        setStatus(status,
                  fail(MStatus::kInvalidParameter, "argument " + std::to_string(index) + " (\"" +
                                                       args[index].text + "\") is not " + what));
        return T{};
    }
    setStatus(status, MStatus::kSuccess);
    return value;
}

}  // namespace

namespace {

template <class T>
MStatus readArgInto(const MArgList& args, T (MArgList::*read)(unsigned int, MStatus*) const,
                    unsigned index, T& value) {
    MStatus st;
    value = (args.*read)(index, &st);
    return st;
}

}  // namespace

unsigned int MArgList::length(MStatus* status) const {
    setStatus(status, MStatus::kSuccess);
    return static_cast<unsigned>(impl_.args.size());
}

bool MArgList::asBool(unsigned int index, MStatus* status) const {
    return readArg<bool>(impl_.args, index, status, "a boolean", ehost::parseBool);
}

int MArgList::asInt(unsigned int index, MStatus* status) const {
    return readArg<int>(impl_.args, index, status, "an integer", ehost::parseInt);
}

double MArgList::asDouble(unsigned int index, MStatus* status) const {
    return readArg<double>(impl_.args, index, status, "a number", ehost::parseNumber);
}

MString MArgList::asString(unsigned int index, MStatus* status) const {
    if (index >= impl_.args.size()) {
        setStatus(status, badIndex(index, impl_.args.size()));
        return MString();
    }
    setStatus(status, MStatus::kSuccess);
    return MString(impl_.args[index].text);
}

MDistance MArgList::asDistance(unsigned int index, MStatus* status) const {
    return MDistance(MDistance::uiToInternal(asDouble(index, status)));
}

MAngle MArgList::asAngle(unsigned int index, MStatus* status) const {
    return MAngle(MAngle::uiToInternal(asDouble(index, status)));
}

MVector MArgList::asVector(unsigned int& index, unsigned int numElements, MStatus* status) const {
    MVector v;
    for (unsigned k = 0; k < numElements && k < 3; ++k) {
        MStatus st;
        v[k] = asDouble(index + k, &st);
        if (!st) {
            setStatus(status, st);
            return MVector();
        }
    }
    index += numElements;
    setStatus(status, MStatus::kSuccess);
    return v;
}

MPoint MArgList::asPoint(unsigned int& index, unsigned int numElements, MStatus* status) const {
    MPoint p;
    for (unsigned k = 0; k < numElements && k < 4; ++k) {
        MStatus st;
        p[k] = asDouble(index + k, &st);
        if (!st) {
            setStatus(status, st);
            return MPoint();
        }
    }
    index += numElements;
    setStatus(status, MStatus::kSuccess);
    return p;
}

MMatrix MArgList::asMatrix(unsigned int& index, MStatus* status) const {
    MMatrix m;
    for (unsigned k = 0; k < 16; ++k) {
        MStatus st;
        m[k / 4][k % 4] = asDouble(index + k, &st);
        if (!st) {
            setStatus(status, st);
            return MMatrix();
        }
    }
    index += 16;
    setStatus(status, MStatus::kSuccess);
    return m;
}

namespace {

//! Reads values up to the next flag (or the end) and moves index past them.
template <class Array, class F>
Array readRun(const std::vector<MArgList::Arg>& args, unsigned& index, MStatus* status, F read) {
    Array out;
    while (index < args.size()) {
        const auto& a = args[index];
        if (!a.quoted && ehost::isFlagWord(a.text)) break;
        MStatus st;
        auto v = read(index, &st);
        if (!st) {
            setStatus(status, st);
            return Array();
        }
        out.append(v);
        ++index;
    }
    setStatus(status, MStatus::kSuccess);
    return out;
}

}  // namespace

MIntArray MArgList::asIntArray(unsigned int& index, MStatus* status) const {
    return readRun<MIntArray>(impl_.args, index, status,
                              [&](unsigned i, MStatus* s) { return asInt(i, s); });
}

MDoubleArray MArgList::asDoubleArray(unsigned int& index, MStatus* status) const {
    return readRun<MDoubleArray>(impl_.args, index, status,
                                 [&](unsigned i, MStatus* s) { return asDouble(i, s); });
}

MStringArray MArgList::asStringArray(unsigned int& index, MStatus* status) const {
    return readRun<MStringArray>(impl_.args, index, status,
                                 [&](unsigned i, MStatus* s) { return asString(i, s); });
}

unsigned int MArgList::flagIndex(const char* shortFlag, const char* longFlag) const {
    for (unsigned i = 0; i < impl_.args.size(); ++i) {
        if (impl_.args[i].quoted) continue;
        const std::string& t = impl_.args[i].text;
        if ((shortFlag && t == shortFlag) || (longFlag && t == longFlag)) return i;
    }
    return kInvalidArgIndex;
}

MStatus MArgList::get(unsigned int index, bool& value) const {
    return readArgInto(*this, &MArgList::asBool, index, value);
}
MStatus MArgList::get(unsigned int index, int& value) const {
    return readArgInto(*this, &MArgList::asInt, index, value);
}
MStatus MArgList::get(unsigned int index, double& value) const {
    return readArgInto(*this, &MArgList::asDouble, index, value);
}
MStatus MArgList::get(unsigned int index, MString& value) const {
    return readArgInto(*this, &MArgList::asString, index, value);
}
MStatus MArgList::get(unsigned int index, MDistance& value) const {
    return readArgInto(*this, &MArgList::asDistance, index, value);
}
MStatus MArgList::get(unsigned int index, MAngle& value) const {
    return readArgInto(*this, &MArgList::asAngle, index, value);
}

MArgList& MArgList::addArg(bool value) {
    impl_.args.push_back({value ? "true" : "false", false});
    return *this;
}
MArgList& MArgList::addArg(int value) {
    impl_.args.push_back({std::to_string(value), false});
    return *this;
}
MArgList& MArgList::addArg(double value) {
    impl_.args.push_back({ehost::shortestText(value), false});
    return *this;
}
MArgList& MArgList::addArg(const MString& value) {
    // A string added by code is an argument, never a flag, unless it looks like one.
    impl_.args.push_back({value.str(), false});
    return *this;
}
MArgList& MArgList::addArg(const MDistance& value) {
    return addArg(MDistance::internalToUI(value.value()));
}
MArgList& MArgList::addArg(const MAngle& value) {
    return addArg(MAngle::internalToUI(value.asRadians()));
}
MArgList& MArgList::addArg(const MVector& value) {
    for (int k = 0; k < 3; ++k) addArg(value[k]);
    return *this;
}
MArgList& MArgList::addArg(const MPoint& value) {
    for (int k = 0; k < 3; ++k) addArg(value[k]);
    return *this;
}

// ---------------------------------------------------------------- MSyntax

MSyntax::MSyntax() : impl_(std::make_shared<Impl>()) {}
MSyntax::MSyntax(const MSyntax& other) = default;
MSyntax& MSyntax::operator=(const MSyntax& other) = default;
MSyntax::~MSyntax() = default;

MStatus MSyntax::addFlag(const char* shortName, const char* longName, MArgType a1, MArgType a2,
                         MArgType a3, MArgType a4, MArgType a5, MArgType a6) {
    std::string s = shortName ? shortName : "", l = longName ? longName : "";
    if (s.empty() && l.empty()) return fail(MStatus::kInvalidParameter, "a flag needs a name");
    for (const auto& f : impl_->flags)
        if ((!s.empty() && (f.shortName == s || f.longName == s)) ||
            (!l.empty() && (f.shortName == l || f.longName == l)))
            return fail(MStatus::kInvalidParameter,
                        "flag " + (s.empty() ? l : s) + " is already in the syntax");
    Flag f;
    f.shortName = s;
    f.longName = l;
    for (MArgType t : {a1, a2, a3, a4, a5, a6}) {
        if (t == kNoArg) break;
        if (t <= kInvalidArgType || t >= kLastArgType)
            return fail(MStatus::kInvalidParameter, "flag " + s + " has an invalid argument type");
        f.args.push_back(t);
    }
    impl_->flags.push_back(std::move(f));
    return MStatus::kSuccess;
}

namespace {

template <class Flags>
auto findFlag(Flags& flags, const char* name) -> decltype(&flags[0]) {
    if (!name) return nullptr;
    for (auto& f : flags)
        if (f.shortName == name || f.longName == name) return &f;
    return nullptr;
}

}  // namespace

MStatus MSyntax::makeFlagMultiUse(const char* flagName) {
    auto* f = findFlag(impl_->flags, flagName);
    if (!f)
        return fail(MStatus::kInvalidParameter,
                    std::string("no flag ") + (flagName ? flagName : "") + " in the syntax");
    f->multiUse = true;
    return MStatus::kSuccess;
}

MStatus MSyntax::makeFlagQueryWithFullArgs(const char* flagName, bool) {
    auto* f = findFlag(impl_->flags, flagName);
    if (!f)
        return fail(MStatus::kInvalidParameter,
                    std::string("no flag ") + (flagName ? flagName : "") + " in the syntax");
    f->queryWithArgs = true;
    return MStatus::kSuccess;
}

MStatus MSyntax::addArg(MArgType argType) {
    if (argType <= kNoArg || argType >= kLastArgType)
        return fail(MStatus::kInvalidParameter, "invalid argument type");
    impl_->commandArgs.push_back(argType);
    return MStatus::kSuccess;
}

void MSyntax::useSelectionAsDefault(bool useSelection) {
    impl_->selectionAsDefault = useSelection;
}

MStatus MSyntax::setObjectType(MObjectFormat objectFormat, unsigned int minimumObjects) {
    return setObjectType(objectFormat, minimumObjects, 0xffffffff);
}

MStatus MSyntax::setObjectType(MObjectFormat objectFormat, unsigned int minimumObjects,
                               unsigned int maximumObjects) {
    if (objectFormat <= kInvalidObjectFormat || objectFormat >= kLastObjectFormat)
        return fail(MStatus::kInvalidParameter, "invalid object format");
    impl_->objectFormat = objectFormat;
    impl_->minObjects = minimumObjects;
    impl_->maxObjects = maximumObjects;
    return MStatus::kSuccess;
}

MStatus MSyntax::setMinObjects(unsigned int minimumObjects) {
    impl_->minObjects = minimumObjects;
    return MStatus::kSuccess;
}

MStatus MSyntax::setMaxObjects(unsigned int maximumObjects) {
    impl_->maxObjects = maximumObjects;
    return MStatus::kSuccess;
}

unsigned int MSyntax::minObjects() const {
    return impl_->minObjects;
}
unsigned int MSyntax::maxObjects() const {
    return impl_->maxObjects;
}
void MSyntax::enableQuery(bool supportsQuery) {
    impl_->query = supportsQuery;
}
void MSyntax::enableEdit(bool supportsEdit) {
    impl_->edit = supportsEdit;
}
void MSyntax::clear() {
    *impl_ = Impl();
}

// ---------------------------------------------------------------- MArgParser

namespace {

//! A value read through one of the status-returning getters.
template <class T, class Get>
T valueOf(MStatus* status, Get get) {
    T v{};
    setStatus(status, get(v));
    return v;
}

}  // namespace

namespace {

const char* typeName(MSyntax::MArgType t) {
    switch (t) {
        case MSyntax::kBoolean:
            return "a boolean";
        case MSyntax::kLong:
            return "an integer";
        case MSyntax::kUnsigned:
            return "an unsigned integer";
        case MSyntax::kDouble:
        case MSyntax::kDistance:
        case MSyntax::kAngle:
        case MSyntax::kTime:
            return "a number";
        case MSyntax::kString:
            return "a string";
        case MSyntax::kSelectionItem:
            return "an object name";
        default:
            return "a value";
    }
}

bool fits(MSyntax::MArgType t, const std::string& text) {
    bool b;
    int i;
    unsigned u;
    double d;
    switch (t) {
        case MSyntax::kBoolean:
            return ehost::parseBool(text, b);
        case MSyntax::kLong:
            return ehost::parseInt(text, i);
        case MSyntax::kUnsigned:
            return ehost::parseUnsigned(text, u);
        case MSyntax::kDouble:
        case MSyntax::kDistance:
        case MSyntax::kAngle:
        case MSyntax::kTime:
            return ehost::parseNumber(text, d);
        default:
            return true;
    }
}

//! Why text does not fit: a whole number too big for an integer says so,
//! rather than that it is no integer.
std::string misfit(MSyntax::MArgType t, const std::string& text) {
    double d;
    const bool integral = t == MSyntax::kLong || t == MSyntax::kUnsigned;
    if (integral && ehost::parseNumber(text, d) && std::isfinite(d) && d == std::trunc(d))
        return "\"" + text + "\" is out of range for " + typeName(t) +
               (t == MSyntax::kLong ? " (-2147483648 to 2147483647)" : " (0 to 2147483647)");
    return "\"" + text + "\" is not " + typeName(t);
}

bool looksLikeFlag(const MArgList::Arg& a) {
    return !a.quoted && ehost::isFlagWord(a.text);
}

}  // namespace

MArgParser::MArgParser() : impl_(std::make_unique<Impl>()) {}
MArgParser::MArgParser(const MArgParser& other) : impl_(std::make_unique<Impl>(*other.impl_)) {}
MArgParser& MArgParser::operator=(const MArgParser& other) {
    *impl_ = *other.impl_;
    return *this;
}
MArgParser::~MArgParser() = default;

MArgParser::MArgParser(const MSyntax& syntax, const MArgList& argList, MStatus* status)
    : impl_(std::make_unique<Impl>()) {
    impl_->syntax = syntax;
    impl_->args = argList;
    const auto& syn = *ehost::ApiAccess::impl(syntax);
    const auto& args = ehost::ApiAccess::impl(argList).args;
    auto failWith = [&](const std::string& text) {
        setStatus(status, fail(MStatus::kInvalidParameter, text));
    };
    for (unsigned i = 0; i < args.size();) {
        const auto& a = args[i];
        int flag = -1;
        if (!a.quoted)
            for (size_t k = 0; k < syn.flags.size(); ++k)
                if (syn.flags[k].shortName == a.text || syn.flags[k].longName == a.text)
                    flag = static_cast<int>(k);
        if (flag < 0 && looksLikeFlag(a)) {
            if (syn.query && (a.text == "-q" || a.text == "-query")) {
                impl_->query = true;
                ++i;
                continue;
            }
            if (syn.edit && (a.text == "-e" || a.text == "-edit")) {
                impl_->edit = true;
                ++i;
                continue;
            }
            {
                failWith("Invalid flag: " + a.text);
                return;
            }
        }
        if (flag < 0) {
            if (impl_->commandArgs.size() < syn.commandArgs.size()) {
                auto t = syn.commandArgs[impl_->commandArgs.size()];
                if (!fits(t, a.text)) {
                    failWith("argument \"" + a.text + "\" should be " + typeName(t));
                    return;
                }
                impl_->commandArgs.push_back(i);
            } else {
                impl_->objects.push_back(i);
            }
            ++i;
            continue;
        }
        const auto& f = syn.flags[flag];
        for (const auto& u : impl_->uses)
            if (u.flag == flag && !f.multiUse) {
                failWith("Flag " + a.text + " can only be used once");
                return;
            }
        FlagUse use{flag, {}};
        ++i;
        bool takesArgs = !impl_->query || f.queryWithArgs;
        if (takesArgs)
            for (auto t : f.args) {
                if (i >= args.size() || (looksLikeFlag(args[i]) && t != MSyntax::kString)) {
                    failWith(
                        "Flag " + a.text + " needs " + typeName(t) + " argument" +
                        (f.args.size() > 1 ? "s (" + std::to_string(f.args.size()) + ")" : ""));
                    return;
                }
                if (!fits(t, args[i].text)) {
                    failWith("Flag " + a.text + ": " + misfit(t, args[i].text));
                    return;
                }
                use.values.push_back(i++);
            }
        impl_->uses.push_back(std::move(use));
    }
    if (impl_->query && impl_->edit) {
        failWith("-query and -edit cannot be used together");
        return;
    }
    if (!impl_->objects.empty() && syn.objectFormat == MSyntax::kNone) {
        {
            failWith("unexpected argument \"" + args[impl_->objects.front()].text + "\"");
            return;
        }
    }
    if (syn.objectFormat != MSyntax::kNone) {
        size_t n = impl_->objects.size();
        bool fromSelection = n == 0 && syn.selectionAsDefault;
        if (!fromSelection && n < syn.minObjects) {
            failWith("needs at least " + std::to_string(syn.minObjects) + " object(s)");
            return;
        }
        if (n > syn.maxObjects) {
            failWith("takes at most " + std::to_string(syn.maxObjects) + " object(s)");
            return;
        }
    }
    setStatus(status, MStatus::kSuccess);
}

const MArgParser::FlagUse* MArgParser::findUse(const char* flag, unsigned int useIndex,
                                               MStatus& status) const {
    const auto& syn = *ehost::ApiAccess::impl(impl_->syntax);
    unsigned seen = 0;
    for (const auto& u : impl_->uses) {
        const auto& f = syn.flags[u.flag];
        if (flag && (f.shortName == flag || f.longName == flag) && seen++ == useIndex) {
            status = MStatus::kSuccess;
            return &u;
        }
    }
    status = fail(MStatus::kInvalidParameter,
                  std::string("flag ") + (flag ? flag : "") + " was not given");
    return nullptr;
}

MStatus MArgParser::argumentAt(const char* flag, unsigned int index, unsigned int& position) const {
    MStatus st;
    const FlagUse* u = findUse(flag, 0, st);
    if (!u) return st;
    if (index >= u->values.size())
        return fail(MStatus::kInvalidParameter,
                    std::string("flag ") + flag + " has no argument " + std::to_string(index));
    position = u->values[index];
    return MStatus::kSuccess;
}

bool MArgParser::isFlagSet(const char* flag, MStatus* status) const {
    setStatus(status, MStatus::kSuccess);
    MStatus st;
    return findUse(flag, 0, st) != nullptr;
}

bool MArgParser::isEdit(MStatus* status) const {
    setStatus(status, MStatus::kSuccess);
    return impl_->edit;
}

bool MArgParser::isQuery(MStatus* status) const {
    setStatus(status, MStatus::kSuccess);
    return impl_->query;
}

unsigned int MArgParser::numberOfFlagsUsed() const {
    return static_cast<unsigned>(impl_->uses.size());
}

unsigned int MArgParser::numberOfFlagUses(const char* flag) const {
    const auto& syn = *ehost::ApiAccess::impl(impl_->syntax);
    unsigned n = 0;
    for (const auto& u : impl_->uses)
        if (flag && (syn.flags[u.flag].shortName == flag || syn.flags[u.flag].longName == flag))
            ++n;
    return n;
}

MStatus MArgParser::getFlagArgument(const char* flag, unsigned int index, bool& result) const {
    unsigned p;
    MStatus st = argumentAt(flag, index, p);
    return st ? readArgInto(impl_->args, &MArgList::asBool, p, result) : st;
}
MStatus MArgParser::getFlagArgument(const char* flag, unsigned int index, int& result) const {
    unsigned p;
    MStatus st = argumentAt(flag, index, p);
    return st ? readArgInto(impl_->args, &MArgList::asInt, p, result) : st;
}
MStatus MArgParser::getFlagArgument(const char* flag, unsigned int index,
                                    unsigned int& result) const {
    unsigned p;
    MStatus st = argumentAt(flag, index, p);
    if (!st) return st;
    unsigned v = 0;
    if (!ehost::parseUnsigned(ehost::ApiAccess::impl(impl_->args).args[p].text, v))
        return fail(MStatus::kInvalidParameter,
                    std::string("flag ") + flag + ": not an unsigned integer");
    result = v;
    return MStatus::kSuccess;
}
MStatus MArgParser::getFlagArgument(const char* flag, unsigned int index, double& result) const {
    unsigned p;
    MStatus st = argumentAt(flag, index, p);
    return st ? readArgInto(impl_->args, &MArgList::asDouble, p, result) : st;
}
MStatus MArgParser::getFlagArgument(const char* flag, unsigned int index, MString& result) const {
    unsigned p;
    MStatus st = argumentAt(flag, index, p);
    return st ? readArgInto(impl_->args, &MArgList::asString, p, result) : st;
}
MStatus MArgParser::getFlagArgument(const char* flag, unsigned int index, MDistance& result) const {
    unsigned p;
    MStatus st = argumentAt(flag, index, p);
    return st ? readArgInto(impl_->args, &MArgList::asDistance, p, result) : st;
}
MStatus MArgParser::getFlagArgument(const char* flag, unsigned int index, MAngle& result) const {
    unsigned p;
    MStatus st = argumentAt(flag, index, p);
    return st ? readArgInto(impl_->args, &MArgList::asAngle, p, result) : st;
}

bool MArgParser::flagArgumentBool(const char* flag, unsigned int index, MStatus* status) const {
    return valueOf<bool>(status, [&](bool& v) { return getFlagArgument(flag, index, v); });
}
int MArgParser::flagArgumentInt(const char* flag, unsigned int index, MStatus* status) const {
    return valueOf<int>(status, [&](int& v) { return getFlagArgument(flag, index, v); });
}
double MArgParser::flagArgumentDouble(const char* flag, unsigned int index, MStatus* status) const {
    return valueOf<double>(status, [&](double& v) { return getFlagArgument(flag, index, v); });
}
MString MArgParser::flagArgumentString(const char* flag, unsigned int index,
                                       MStatus* status) const {
    return valueOf<MString>(status, [&](MString& v) { return getFlagArgument(flag, index, v); });
}

MStatus MArgParser::getFlagArgumentList(const char* flag, unsigned int useIndex,
                                        MArgList& args) const {
    MStatus st;
    const FlagUse* u = findUse(flag, useIndex, st);
    if (!u) return st;
    args = MArgList();
    for (unsigned p : u->values)
        ehost::ApiAccess::impl(args).args.push_back(ehost::ApiAccess::impl(impl_->args).args[p]);
    return MStatus::kSuccess;
}

MStatus MArgParser::getFlagArgumentPosition(const char* flag, unsigned int index,
                                            unsigned int& position) const {
    return argumentAt(flag, index, position);
}

namespace {
MStatus noCommandArg(unsigned index) {
    return fail(MStatus::kInvalidParameter,
                "command argument " + std::to_string(index) + " was not given");
}
}  // namespace

MStatus MArgParser::getCommandArgument(unsigned int index, bool& result) const {
    if (index >= impl_->commandArgs.size()) return noCommandArg(index);
    return readArgInto(impl_->args, &MArgList::asBool, impl_->commandArgs[index], result);
}
MStatus MArgParser::getCommandArgument(unsigned int index, int& result) const {
    if (index >= impl_->commandArgs.size()) return noCommandArg(index);
    return readArgInto(impl_->args, &MArgList::asInt, impl_->commandArgs[index], result);
}
MStatus MArgParser::getCommandArgument(unsigned int index, double& result) const {
    if (index >= impl_->commandArgs.size()) return noCommandArg(index);
    return readArgInto(impl_->args, &MArgList::asDouble, impl_->commandArgs[index], result);
}
MStatus MArgParser::getCommandArgument(unsigned int index, MString& result) const {
    if (index >= impl_->commandArgs.size()) return noCommandArg(index);
    return readArgInto(impl_->args, &MArgList::asString, impl_->commandArgs[index], result);
}
bool MArgParser::commandArgumentBool(unsigned int index, MStatus* status) const {
    return valueOf<bool>(status, [&](bool& v) { return getCommandArgument(index, v); });
}
int MArgParser::commandArgumentInt(unsigned int index, MStatus* status) const {
    return valueOf<int>(status, [&](int& v) { return getCommandArgument(index, v); });
}
double MArgParser::commandArgumentDouble(unsigned int index, MStatus* status) const {
    return valueOf<double>(status, [&](double& v) { return getCommandArgument(index, v); });
}
MString MArgParser::commandArgumentString(unsigned int index, MStatus* status) const {
    return valueOf<MString>(status, [&](MString& v) { return getCommandArgument(index, v); });
}

MStatus MArgParser::getObjects(MStringArray& result) const {
    result.clear();
    for (unsigned p : impl_->objects) result.append(impl_->args.asString(p));
    return MStatus::kSuccess;
}

// ---------------------------------------------------------------- MArgDatabase

MArgDatabase::MArgDatabase(const MSyntax& syntax, const MArgList& args, MStatus* status)
    : MArgParser(syntax, args, status) {
    if (status && !*status) return;
    // Objects must name something in the scene.
    if (ehost::ApiAccess::impl(syntax)->objectFormat == MSyntax::kSelectionList) {
        MSelectionList list;
        MStatus st = getObjects(list);
        if (!st) setStatus(status, st);
    }
}

MStatus MArgDatabase::getFlagArgument(const char* flag, unsigned int index,
                                      MSelectionList& result) const {
    MString name;
    MStatus st = getFlagArgument(flag, index, name);
    if (!st) return st;
    result.clear();
    return result.add(name);
}

MStatus MArgDatabase::getCommandArgument(unsigned int index, MSelectionList& result) const {
    MString name;
    MStatus st = getCommandArgument(index, name);
    if (!st) return st;
    result.clear();
    return result.add(name);
}

MStatus MArgDatabase::getObjects(MSelectionList& result) const {
    result.clear();
    const auto& syn = *ehost::ApiAccess::impl(impl_->syntax);
    if (impl_->objects.empty() && syn.selectionAsDefault)
        return MGlobal::getActiveSelectionList(result);
    for (unsigned p : impl_->objects) {
        MStatus st = result.add(impl_->args.asString(p));
        if (!st) return st;
    }
    return MStatus::kSuccess;
}
