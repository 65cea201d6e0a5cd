#include <algorithm>
#include <vector>

#include "host/src/command/Commands.h"

namespace ehost {

namespace {
std::vector<MPxCommand*>& pending() {
    static std::vector<MPxCommand*> list;
    return list;
}
}  // namespace

void trackToolCommand(MPxCommand* command) {
    pending().push_back(command);
}

bool toolCommandFinalized(MPxCommand* command) {
    auto& p = pending();
    auto it = std::find(p.begin(), p.end(), command);
    if (it == p.end()) return false;
    p.erase(it);
    return true;
}

void dropPendingToolCommands() {
    for (MPxCommand* c : pending()) delete c;
    pending().clear();
}

}  // namespace ehost
