#include "host/src/plugin/Refusal.h"

#include "host/src/plugin/Plugin.h"

namespace ehost {

void refuseRegistration(RegistrationKind kind, const std::string& name) {
    thePlugins().refused.insert({kind, name});
}
void clearRefusals() {
    thePlugins().refused.clear();
}
bool isRefused(RegistrationKind kind, const std::string& name) {
    return thePlugins().refused.count({kind, name}) > 0;
}

}  // namespace ehost
