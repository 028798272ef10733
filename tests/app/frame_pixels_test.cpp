// Frames drawn from the texts and widths the services keep between frames
// match frames drawn from scratch, also after typing changed a text.
#include <vector>

#include "editor_session.h"

namespace {

class FramePixels : public EditorSession {
protected:
    // The prototype list's pixels as the last frame left them.
    static std::vector<int> ListPixels() {
        const GadgetRecord* g = FindGadget(kGadgetPrototypeList);
        std::vector<int> out;
        if (!g || !Draw_Begin(Draw_ScreenOutput())) return out;
        for (int y = g->y; y <= g->y + g->height; ++y)
            for (int x = g->x; x <= g->x + g->width; ++x) out.push_back(Draw_Point(x, y));
        Draw_End();
        return out;
    }
    // Every kept text and width is dropped when any font is freed.
    static void ForgetKeptTexts() {
        const int font = Font_Load(kServiceAuto, "sans", 9, 0);
        ASSERT_NE(font, 0);
        Font_Free(font);
    }
};

}  // namespace

TEST_F(FramePixels, KeptTextsDrawWhatFreshOnesDraw) {
    MakePrototypes(1, {{"hull", {}}, {"wing", {}}});
    OpenDesign(1);
    ClickRow(kGadgetPrototypeList, 1);
    ClickGadget(kGadgetPrototypeName);
    Frames(2);
    const std::vector<int> kept = ListPixels();
    ASSERT_FALSE(kept.empty());
    ForgetKeptTexts();
    Frames(1);
    EXPECT_EQ(ListPixels(), kept);

    Testing_TypeText("x");
    Frames(2);
    ASSERT_EQ(Gadget_GetItemText(kGadgetPrototypeList, 1), "wingx");
    const std::vector<int> renamed = ListPixels();
    EXPECT_NE(renamed, kept) << "the new name is drawn";
    ForgetKeptTexts();
    Frames(1);
    EXPECT_EQ(ListPixels(), renamed);
}
