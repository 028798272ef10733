// The prototype preview: a white square with the eight connection dots on
// its edges, drawn into sprite 4.
#include <utility>

#include "editor_tables.h"
#include "prototype_views.h"
#include "prototypes.h"
#include "services.h"

void DrawPrototypePreview(int position) {
    const Prototype* prototype = std::as_const(design.Prototypes).At(position);
    if (!prototype) return;
    if (Draw_Begin(Draw_SpriteOutput(kPreviewSprite))) {
        // Filled shapes from the start: a mode left by an earlier drawing must not outline the background.
        Draw_Mode(0);
        Draw_Box(0, 0, kPreviewWidth, kPreviewHeight, 0x000000);
        Draw_Box(kPreviewSquareX, kPreviewSquareY, kPreviewSquareSide, kPreviewSquareSide, 0xFFFFFF);
        for (int i = 0; i < kConnections; ++i) {
            const int x = kPreviewSquareX + ConnectionSlots[2 * i];
            const int y = kPreviewSquareY + ConnectionSlots[2 * i + 1];
            const int colour = HasActiveFlag(prototype->ConnectionMask[i]) ? kActiveDotColour
                                                                                   : kInactiveDotColour;
            // The ring first: the dot drawn over it leaves a green edge.
            if (i == design.SelectedProtoConnection) Draw_Circle(x, y, kRingRadius, kSelectedRingColour);
            Draw_Circle(x, y, kDotRadius, colour);
        }
        Draw_End();
    }
    design.PreviewVisible = 1;
}
