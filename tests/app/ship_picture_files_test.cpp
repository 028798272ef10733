// The ship pictures "Save as" writes: every export keeps its own pair of
// files, whatever was exported before and whatever became of the folder.
#include <algorithm>

#include "editor_session.h"

class ShipPictureFiles : public EditorSession {
protected:
    void SetUp() override {
        EditorSession::SetUp();
        if (IsSkipped()) return;
        MakePicture(1, "hull.png", 40, 20, 0x0000FF);
        PartSetup hull;
        hull.PrototypeIndex = 0;
        MakeSetup(1, "hull.png", hull);
        MakePrototypes(1, {{"hull"}});
        OpenDesign(1);
        ClickGadget(kGadgetMode);
        ASSERT_EQ(design.TestMode, 1);
        Testing_SetDateNow(1147640820);  // 14 May 2006, 21:07
    }
    std::vector<std::string> Pictures() const {
        std::vector<std::string> names;
        std::error_code ignored;
        for (const auto& e : fs::directory_iterator(work_ / "ShipPics", ignored)) names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    static std::vector<std::string> Sorted(std::vector<std::string> names) {
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST_F(ShipPictureFiles, ALaterExportInTheSameMinuteGetsACounterForBothFiles) {
    ClickRow(kGadgetSaveAs, 0);  // "tiny"
    ClickRow(kGadgetSaveAs, 2);  // "medium"
    ClickRow(kGadgetSaveAs, 2);
    EXPECT_EQ(Pictures(), Sorted({"1 - 2006.05.14-21.07.png", "1 - tiny - 2006.05.14-21.07.png",
                                  "1 - 2006.05.14-21.07 (2).png", "1 - medium - 2006.05.14-21.07 (2).png",
                                  "1 - 2006.05.14-21.07 (3).png", "1 - medium - 2006.05.14-21.07 (3).png"}));
    const int small = Image_Load(kServiceAuto, (work_ / "ShipPics" / "1 - medium - 2006.05.14-21.07 (3).png").string(), 0);
    EXPECT_EQ(Image_Width(small), 48);
    Image_Free(small);
}

TEST_F(ShipPictureFiles, ADeletedFolderIsMadeAgain) {
    fs::remove_all(work_ / "ShipPics");
    ClickRow(kGadgetSaveAs, 1);  // "small"
    EXPECT_EQ(Pictures(), Sorted({"1 - 2006.05.14-21.07.png", "1 - small - 2006.05.14-21.07.png"}));
}

// Each size class of "Save as" gives a small picture of its own width.
TEST_F(ShipPictureFiles, EachSizeHasItsWidth) {
    const struct {
        const char* size;
        int width;
    } sizes[] = {{"tiny", 24}, {"small", 32}, {"medium", 48}, {"large", 64}, {"huge", 96}};
    for (int row = 0; row < 5; ++row) {
        SCOPED_TRACE(sizes[row].size);
        fs::remove_all(work_ / "ShipPics");
        ClickRow(kGadgetSaveAs, row);
        const fs::path small = work_ / "ShipPics" / (std::string("1 - ") + sizes[row].size + " - 2006.05.14-21.07.png");
        const int image = Image_Load(kServiceAuto, small.string(), 0);
        ASSERT_NE(image, 0);
        EXPECT_EQ(Image_Width(image), sizes[row].width);
        Image_Free(image);
    }
}
