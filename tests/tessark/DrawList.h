#pragma once
// Reading back what the host's views recorded: the UI drawing of a panel's
// last refresh, as the draw overrides and the tool issued it.

#include <string>
#include <vector>

#include "host/src/session/Session.h"
#include "host/src/view/DrawList.h"
#include "host/src/view/Panel.h"
#include "host/src/view/Views.h"

inline std::vector<const ehost::Drawable*> activePanelDrawables() {
    return ehost::session().views().activePanel().drawables();
}

inline const ehost::Panel* findPanel(const std::string& name) {
    return ehost::session().views().findPanel(name);
}

//! The primitives of every draw-override drawable, in draw order.
inline std::vector<ehost::Primitive> drawnByOverride(
    const std::vector<const ehost::Drawable*>& drawables) {
    std::vector<ehost::Primitive> out;
    for (const ehost::Drawable* d : drawables)
        if (d->source == ehost::Drawable::Source::DrawOverride)
            out.insert(out.end(), d->primitives.begin(), d->primitives.end());
    return out;
}

inline std::vector<ehost::Primitive> ofKind(const std::vector<ehost::Primitive>& all,
                                            ehost::PrimitiveKind kind) {
    std::vector<ehost::Primitive> out;
    for (const auto& p : all)
        if (p.kind == kind) out.push_back(p);
    return out;
}
