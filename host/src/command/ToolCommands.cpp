#include <algorithm>
#include <vector>

#include "host/src/command/Commands.h"

namespace ehost {

Commands::~Commands() {
    for (MPxCommand* c : pendingToolCommands) delete c;
}

void trackToolCommand(MPxCommand* command) {
    theCommands().pendingToolCommands.push_back(command);
}

bool toolCommandFinalized(MPxCommand* command) {
    auto& p = theCommands().pendingToolCommands;
    auto it = std::find(p.begin(), p.end(), command);
    if (it == p.end()) return false;
    p.erase(it);
    return true;
}

void dropPendingToolCommands() {
    auto& p = theCommands().pendingToolCommands;
    for (MPxCommand* c : p) delete c;
    p.clear();
}

}  // namespace ehost
