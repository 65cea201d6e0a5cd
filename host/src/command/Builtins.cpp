#include "host/src/command/Builtin.h"
#include "host/src/core/MessageLog.h"
#include "host/src/core/Session.h"

namespace ehost {

namespace {
std::vector<void (*)(Commands&)>& registrars() {
    static std::vector<void (*)(Commands&)> list;
    return list;
}
}  // namespace

BuiltinRegistrar::BuiltinRegistrar(void (*add)(Commands&)) { registrars().push_back(add); }

void registerBuiltinCommands(Commands& commands) {
    for (auto add : registrars()) add(commands);
}

MStatus BuiltinCommand::parse(const MArgList& args, MArgDatabase& db) {
    MStatus st;
    db = MArgDatabase(syntax(), args, &st);
    if (!st) {
        std::string detail = st.errorString().str();
        auto close = detail.find("): ");
        if (close != std::string::npos) detail = detail.substr(close + 3);
        return error(detail, st.statusCode());
    }
    return MStatus::kSuccess;
}

MStatus BuiltinCommand::error(const std::string& text, MStatus::MStatusCode code) {
    session().messages().error(name() + ": " + text);
    return MStatus(code, text);
}

std::string BuiltinCommand::name() const {
    return ApiAccess::impl(static_cast<const MPxCommand&>(*this)).name.str();
}

}  // namespace ehost
