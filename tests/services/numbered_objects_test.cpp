// Every kind of numbered object keeps the same rules for numbers and references.
#include <fstream>
#include <functional>

#include "fixture.h"

namespace {

struct NumberedKind {
    const char* name;
    std::function<int(int)> create;  // a creation that succeeds
    std::function<int(int)> fail;    // a creation that fails
    std::function<bool(int)> exists;
    std::function<void(int)> free;
};

class NumberedObjectTest : public ScratchTest {
protected:
    void SetUp() override {
        ScratchTest::SetUp();
        ASSERT_NE(Sound_Init(), 0);
        ASSERT_NE(Image_Create(0, 2, 2), 0);
        ASSERT_NE(Image_Save(0, Path("p.png"), kPngEncoder), 0);
        Image_Free(0);
        std::ofstream(OsPath("empty"), std::ios::binary);
        // The smallest WAV: a header and no samples.
        const unsigned char wav[] = {'R', 'I', 'F', 'F', 36, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' ', 16, 0, 0, 0, 1, 0, 1, 0,
                                     0x22, 0x56, 0, 0, 0x44, 0xAC, 0, 0, 2, 0, 16, 0, 'd', 'a', 't', 'a', 0, 0, 0, 0};
        std::ofstream(OsPath("s.wav"), std::ios::binary).write(reinterpret_cast<const char*>(wav), sizeof wav);
    }

    std::vector<NumberedKind> Kinds() {
        const std::string png = Path("p.png"), missing = Path("missing"), wav = Path("s.wav"), empty = Path("empty");
        const std::string dir = dir_;
        return {
            {"window", [](int n) { return Window_Open(n, 0, 0, 64, 64, "t", 0); },
             [](int n) { return Window_Open(n, 0, 0, 0, 64, "t", 0); }, [](int n) { return Window_Handle(n) != 0; },
             Window_Close},
            {"sprite", [](int n) { return Sprite_Create(n, 2, 2); }, [](int n) { return Sprite_Create(n, 0, 2); },
             [](int n) { return Sprite_Width(n) != 0; }, Sprite_Free},
            {"sprite load", [=](int n) { return Sprite_Load(n, png, 0); }, [=](int n) { return Sprite_Load(n, missing, 0); },
             [](int n) { return Draw_SpriteOutput(n) != 0; }, Sprite_Free},
            {"image", [](int n) { return Image_Create(n, 2, 2); }, [](int n) { return Image_Create(n, 2, -1); },
             [](int n) { return Image_Handle(n) != 0; }, Image_Free},
            {"image load", [=](int n) { return Image_Load(n, png, 0); }, [=](int n) { return Image_Load(n, missing, 0); },
             [](int n) { return Image_Width(n) != 0; }, Image_Free},
            {"font", [](int n) { return Font_Load(n, "sans", 9, 0); }, [](int n) { return Font_Load(n, "sans", 0, 0); },
             [](int n) { return Font_Handle(n) != 0; }, Font_Free},
            {"sound", [=](int n) { return Sound_Load(n, wav); }, [=](int n) { return Sound_Load(n, missing); },
             [](int n) { return Testing_SoundVolume(n) >= 0; }, Sound_Free},
            {"file", [=](int n) { return File_OpenRead(n, empty); }, [=](int n) { return File_OpenRead(n, missing); },
             [](int n) { return File_Eof(n) != 0; }, [](int n) { File_Close(n); }},
            {"directory scan", [=](int n) { return Dir_Examine(n, dir, "*.*"); },
             [=](int n) { return Dir_Examine(n, missing, "*.*"); }, [](int n) { return Dir_Next(n) != 0; }, Dir_Finish},
        };
    }
};

}  // namespace

TEST_F(NumberedObjectTest, EveryKindKeepsTheSameRules) {
    for (const NumberedKind& k : Kinds()) {
        SCOPED_TRACE(k.name);
        // Caller numbers: a creation replaces, a failed one leaves the number empty.
        EXPECT_EQ(k.create(3), 1);
        EXPECT_EQ(k.create(3), 1);
        EXPECT_TRUE(k.exists(3));
        EXPECT_EQ(k.create(kServiceMaxNumber), 1);
        EXPECT_EQ(k.fail(kServiceMaxNumber), 0);
        EXPECT_FALSE(k.exists(kServiceMaxNumber));
        // Numbers no one may choose are refused.
        for (int refused : {-2, kServiceMaxNumber + 1, kServiceReferenceBase - 1, kServiceReferenceBase + 999999}) {
            EXPECT_EQ(k.create(refused), 0) << refused;
            EXPECT_FALSE(k.exists(refused)) << refused;
        }
        // References: fresh each time, taken in place of a number, never reused.
        const int a = k.create(kServiceAuto), b = k.create(kServiceAuto);
        EXPECT_GE(a, kServiceReferenceBase);
        EXPECT_GT(b, a);
        EXPECT_TRUE(k.exists(a));
        EXPECT_EQ(k.create(a), 1) << "a live reference is created under like a number";
        EXPECT_TRUE(k.exists(a));
        k.free(a);
        EXPECT_FALSE(k.exists(a));
        EXPECT_EQ(k.create(a), 0) << "a freed reference stays free";
        EXPECT_GT(k.create(kServiceAuto), b);
        EXPECT_EQ(k.fail(b), 0);
        EXPECT_FALSE(k.exists(b));
        EXPECT_EQ(k.fail(kServiceAuto), 0);
    }
}

TEST_F(NumberedObjectTest, RecreatingGivesANewHandleAndEndsDrawingOnTheOld) {
    ASSERT_NE(Sprite_Create(1, 4, 4), 0);
    const int old = Draw_SpriteOutput(1);
    ASSERT_NE(Draw_Begin(old), 0);
    ASSERT_NE(Sprite_Create(1, 4, 4), 0);  // the target goes: drawing ends
    Draw_Plot(0, 0, 0xFFFFFF);
    EXPECT_EQ(Draw_Point(0, 0), 0);
    EXPECT_NE(Draw_SpriteOutput(1), old);
    EXPECT_EQ(Draw_Begin(old), 0);
    for (auto [make, handle] : {std::pair{+[] { return Image_Create(1, 2, 2); }, +[] { return Image_Handle(1); }},
                                {+[] { return Font_Load(1, "sans", 9, 0); }, +[] { return Font_Handle(1); }},
                                {+[] { return Window_Open(1, 0, 0, 8, 8, "t", 0); }, +[] { return Window_Handle(1); }}}) {
        ASSERT_NE(make(), 0);
        const int first = handle();
        ASSERT_NE(make(), 0);
        EXPECT_NE(handle(), first);
        EXPECT_NE(handle(), 0);
    }
}
