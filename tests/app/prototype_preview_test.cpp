#include "design_views_fixture.h"
#include "editor_tables.h"
#include "prototypes.h"

namespace {

class PrototypePreviewTest : public DesignViewsTest {
protected:
    static int Pixel(int x, int y) {
        if (!Draw_Begin(Draw_SpriteOutput(kPreviewSprite))) return -1;
        const int colour = Draw_Point(x, y);
        Draw_End();
        return colour;
    }
    static int DotX(int i) { return kPreviewSquareX + ConnectionSlots[2 * i]; }
    static int DotY(int i) { return kPreviewSquareY + ConnectionSlots[2 * i + 1]; }
};

}  // namespace

TEST_F(PrototypePreviewTest, NoPrototypeChangesNothing) {
    ASSERT_NE(Draw_Begin(Draw_SpriteOutput(kPreviewSprite)), 0);
    Draw_Box(0, 0, 245, 185, 0x123456);
    Draw_End();
    design.Prototypes.Append();
    for (int position : {-1, 1}) {
        DrawPrototypePreview(position);
        EXPECT_EQ(design.PreviewVisible, 0) << position;
        EXPECT_EQ(Pixel(125, 95), 0x123456) << position;
    }
}

TEST_F(PrototypePreviewTest, DotsSitOnTheSquareByState) {
    Prototype& p = design.Prototypes.Append();
    p.ConnectionMask[0] = ConnectionActive;
    p.ConnectionMask[4] = ConnectionActive | 0x3;
    p.ConnectionMask[6] = 0xFFFFFF;  // allowed prototypes but not in use
    design.SelectedProtoConnection = 4;
    DrawPrototypePreview(0);
    EXPECT_EQ(design.PreviewVisible, 1);

    EXPECT_EQ(Pixel(10, 10), 0x000000);
    EXPECT_EQ(Pixel(244, 184), 0x000000);
    EXPECT_EQ(Pixel(125, 95), 0xFFFFFF);
    EXPECT_EQ(Pixel(kPreviewSquareX + 1, kPreviewSquareY + 1), 0xFFFFFF);
    for (int i = 0; i < kConnections; ++i) {
        const bool active = i == 0 || i == 4;
        EXPECT_EQ(Pixel(DotX(i), DotY(i)), active ? kActiveDotColour : kInactiveDotColour) << i;
        EXPECT_EQ(Pixel(DotX(i) + 3, DotY(i)), active ? kActiveDotColour : kInactiveDotColour) << i;
    }
    // The selected connection has a bright ring just outside its dot; the others none.
    EXPECT_EQ(Pixel(DotX(4) + 7, DotY(4)), kSelectedRingColour);
    EXPECT_EQ(Pixel(DotX(4), DotY(4) - 7), kSelectedRingColour);
    EXPECT_NE(Pixel(DotX(0), DotY(0) + 7), kSelectedRingColour);

    // Redrawing after a change shows the new state.
    ToggleConnectionActive(0, 0);
    design.SelectedProtoConnection = -1;
    DrawPrototypePreview(0);
    EXPECT_EQ(Pixel(DotX(0), DotY(0)), kInactiveDotColour);
    EXPECT_NE(Pixel(DotX(4) + 7, DotY(4)), kSelectedRingColour);
}
