// Shared set-up for the services tests: a fresh service state, a scratch
// folder, and (for screen tests) the 1024 x 768 screen in window 0.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "services.h"
#include "temp_folder.h"
#include "testing.h"

class ScratchTest : public ::testing::Test {
protected:
    void SetUp() override {
        Testing_ResetServices();
        dir_ = MakeTempFolder("kw-services-").string();
        ASSERT_FALSE(dir_.empty());
    }
    void TearDown() override {
        Testing_ResetServices();
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    // A path in the scratch folder (the services take paths in the system's form).
    std::string Path(const std::string& name) const { return dir_ + "/" + name; }
    std::string OsPath(const std::string& name) const { return dir_ + "/" + name; }

    std::string dir_;
};

class ScreenTest : public ScratchTest {
protected:
    void SetUp() override {
        ScratchTest::SetUp();
        ASSERT_NE(Sprite_Init(), 0);
        ASSERT_NE(Window_Open(0, 0, 0, 1024, 768, "test", kWindowSystemMenu), 0);
        ASSERT_NE(Screen_OpenInWindow(Window_Handle(0), 0, 0, 1024, 768, 0, 0, 0), 0);
    }
    // Colour of a back-buffer pixel.
    static int ScreenPixel(int x, int y) {
        if (!Draw_Begin(Draw_ScreenOutput())) return -1;
        const int c = Draw_Point(x, y);
        Draw_End();
        return c;
    }
    static void ClearScreen(int colour) {
        Draw_Begin(Draw_ScreenOutput());
        Draw_Box(0, 0, 1024, 768, colour);
        Draw_End();
    }
};
