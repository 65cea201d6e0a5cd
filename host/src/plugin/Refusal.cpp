#include "host/src/plugin/Refusal.h"

#include <set>
#include <utility>

namespace ehost {

namespace {
std::set<std::pair<RegistrationKind, std::string>>& refused() {
    static std::set<std::pair<RegistrationKind, std::string>> s;
    return s;
}
}  // namespace

void refuseRegistration(RegistrationKind kind, const std::string& name) {
    refused().insert({kind, name});
}
void clearRefusals() {
    refused().clear();
}
bool isRefused(RegistrationKind kind, const std::string& name) {
    return refused().count({kind, name}) > 0;
}

}  // namespace ehost
