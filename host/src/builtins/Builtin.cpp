#include "host/src/builtins/Builtin.h"
#include "host/src/builtins/MeshTargets.h"
#include "host/src/core/MessageLog.h"
#include "host/src/core/StatusText.h"
#include "host/src/dag/Resolve.h"
#include "host/src/dag/Selection.h"

namespace ehost {

namespace {
std::vector<void (*)(Commands&)>& registrars() {
    // Filled while the library loads, before any session: each session reads it.
    static std::vector<void (*)(Commands&)> list;
    return list;
}
}  // namespace

BuiltinRegistrar::BuiltinRegistrar(void (*add)(Commands&)) {
    registrars().push_back(add);
}

void registerBuiltinCommands(Commands& commands) {
    for (auto add : registrars()) add(commands);
}

MStatus BuiltinCommand::doIt(const MArgList& args) {
    MStatus st;
    const MArgDatabase db(syntax(), args, &st);
    if (!st) return error(statusText(st), st.statusCode());
    return run(db);
}

MStatus BuiltinCommand::error(const std::string& text, MStatus::MStatusCode code) {
    theMessages().error(name() + ": " + text);
    return MStatus(code, text);
}

std::string BuiltinCommand::name() const {
    return ApiAccess::impl(static_cast<const MPxCommand&>(*this)).name.str();
}

MStatus ModifierCommand::applyModifier() {
    MStatus st = modifier.doIt();
    if (!st) return error(st.errorString().str());
    return MStatus::kSuccess;
}

MStringArray BuiltinCommand::objectNames(const MArgDatabase& db) {
    MStringArray names;
    db.getObjects(names);
    return names;
}

MStatus BuiltinCommand::notEnoughObjects() {
    return error("Not enough objects or values.");
}

MStatus BuiltinCommand::resolveObjects(const MStringArray& names, std::vector<SelItem>& items) {
    for (unsigned i = 0; i < names.length(); ++i) {
        std::string why;
        if (!resolveName(names[i].str(), items, why)) return error(why);
    }
    return MStatus::kSuccess;
}

MStatus BuiltinCommand::objectsOrSelection(const MArgDatabase& db, std::vector<SelItem>& items) {
    const MStringArray names = objectNames(db);
    if (names.length() == 0)
        items = theSelection().items;
    else if (MStatus st = resolveObjects(names, items); !st)
        return st;
    return items.empty() ? notEnoughObjects() : MStatus(MStatus::kSuccess);
}

MStatus BuiltinCommand::objectsOrSelection(const MArgDatabase& db, std::vector<Pick>& picks) {
    std::string why;
    if (!picksOrSelection(objectNames(db), picks, why)) return error(why);
    return picks.empty() ? notEnoughObjects() : MStatus(MStatus::kSuccess);
}

}  // namespace ehost
