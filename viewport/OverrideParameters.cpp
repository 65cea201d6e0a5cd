#include "viewport/OverrideParameters.h"

#include <iterator>

using MHWRender::MSceneRender;

bool sceneFilterOption(int value, unsigned int& option) {
    static const unsigned int kOptions[] = {
        MSceneRender::kNoSceneFilterOverride,   MSceneRender::kRenderPreSceneUIItems,
        MSceneRender::kRenderOpaqueShadedItems, MSceneRender::kRenderTransparentShadedItems,
        MSceneRender::kRenderShadedItems,       MSceneRender::kRenderPostSceneUIItems,
        MSceneRender::kRenderUIItems,
    };
    if (value < 0 || value >= static_cast<int>(std::size(kOptions))) return false;
    option = kOptions[value];
    return true;
}
