// A clean editor in a scratch working folder: services reset, manual clock,
// and (on request) the generated media copied into "Media".
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app.h"
#include "design_folder_views.h"
#include "editor_gadgets.h"
#include "part_palette.h"
#include "part_setup_view.h"
#include "prototype_views.h"
#include "scratch_folder.h"
#include "services.h"
#include "testing.h"

class AppTest : public ::testing::Test {
protected:
    void SetUp() override {
        Testing_ResetServices();
        Testing_FailInit("");
        Testing_UseManualClock(true);
        editor = EditorState{};
        interaction = InteractionState{};
        design = DesignState{};
        scratch_ = std::make_unique<ScratchFolder>();
        work_ = scratch_->Path();
    }

    void TearDown() override {
        FinalCleanup();
        Testing_ResetServices();
        Testing_FailInit("");
        editor = EditorState{};
        interaction = InteractionState{};
        design = DesignState{};
        scratch_.reset();
    }

    // Copies the built media into the working folder, leaving out one file if asked.
    bool ProvideMedia(const std::string& except = "") {
        if (!fs::exists(BuiltMediaFolder() / "BG.png")) return false;
        fs::create_directories(work_ / "Media");
        for (const auto& entry : fs::directory_iterator(BuiltMediaFolder()))
            if (entry.path().filename() != except)
                fs::copy_file(entry.path(), work_ / "Media" / entry.path().filename());
        return true;
    }

    std::unique_ptr<ScratchFolder> scratch_;
    fs::path work_;
};

// Colour of one pixel of a sprite.
inline int SpritePixel(int sprite, int x, int y) {
    if (!Draw_Begin(Draw_SpriteOutput(sprite))) return -1;
    const int colour = Draw_Point(x, y);
    Draw_End();
    return colour;
}
inline int SpritePixel(SpriteNumber sprite, int x, int y) { return SpritePixel(sprite.value, x, y); }
