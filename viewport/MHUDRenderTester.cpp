#include "viewport/MHUDRenderTester.h"

#include "viewport/NoThrow.h"

void MHUDRenderTester::addUIDrawables(MHWRender::MUIDrawManager& drawManager2D,
                                      const MHWRender::MFrameContext&) {
    stopOnThrow([&] {
        drawManager2D.beginDrawable();
        drawManager2D.setColor(MColor(0.1f, 0.05f, 0.05f, 1.0f));
        drawManager2D.text2d(MPoint(10, 5), "Plexwend Render", MHWRender::MUIDrawManager::kLeft);
        drawManager2D.endDrawable();
    });
}
