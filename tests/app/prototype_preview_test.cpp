#include <cmath>
#include <numbers>

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
    ToggleConnectionActive(PrototypePosition{0}, 0);
    design.SelectedProtoConnection = -1;
    DrawPrototypePreview(0);
    EXPECT_EQ(Pixel(DotX(0), DotY(0)), kInactiveDotColour);
    EXPECT_NE(Pixel(DotX(4) + 7, DotY(4)), kSelectedRingColour);
}

// Where a person sees each connection's dot: connection 1 on the left side,
// and the others following round the square clockwise.
TEST_F(PrototypePreviewTest, ConnectionDotsGoRoundClockwiseFromTheLeft) {
    Prototype& p = design.Prototypes.Append();
    design.SelectedProtoConnection = -1;
    std::vector<std::pair<double, double>> dots;
    for (int i = 0; i < kConnections; ++i) {
        p.ConnectionMask = {};
        p.ConnectionMask[static_cast<std::size_t>(i)] = ConnectionActive;
        DrawPrototypePreview(0);
        double sumX = 0, sumY = 0;
        int count = 0;
        ASSERT_TRUE(Draw_Begin(Draw_SpriteOutput(kPreviewSprite)));
        for (int y = 0; y < 185; ++y)
            for (int x = 0; x < 245; ++x)
                if (Draw_Point(x, y) == kActiveDotColour) sumX += x, sumY += y, ++count;
        Draw_End();
        ASSERT_GT(count, 0) << "connection " << i + 1;
        dots.emplace_back(sumX / count, sumY / count);
    }
    double midX = 0, midY = 0;
    for (const auto& [x, y] : dots) midX += x / kConnections, midY += y / kConnections;
    EXPECT_LE(dots[0].first, std::min_element(dots.begin(), dots.end())->first + 0.5) << "connection 1 leftmost";
    // Clockwise on the screen (y down) is a growing angle, starting from the left (pi).
    double previous = -1;
    for (int i = 0; i < kConnections; ++i) {
        double angle = std::atan2(dots[static_cast<std::size_t>(i)].second - midY, dots[static_cast<std::size_t>(i)].first - midX);
        angle = std::fmod(angle - std::atan2(dots[0].second - midY, dots[0].first - midX) + 4 * std::numbers::pi, 2 * std::numbers::pi);
        EXPECT_GT(angle, previous) << "connection " << i + 1;
        previous = angle;
    }
}
