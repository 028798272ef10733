// A workspace the editor cannot save in: it starts all the same, says so in
// one line, and every save fails quietly instead of crashing.
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <functional>

#include "app_fixture.h"
#include "design_model.h"
#include "part_setup.h"
#include "prototypes.h"

namespace {

int Lines(const std::string& text) { return static_cast<int>(std::count(text.begin(), text.end(), '\n')); }

// What start-up says about saving: the line naming the media used is left out.
std::string AboutSaving(const std::string& text) {
    const std::size_t media = text.find("keelwright: no Media folder");
    return media == std::string::npos ? text : text.substr(0, media) + text.substr(text.find('\n', media) + 1);
}

}  // namespace

class UnwritableWorkspace : public AppTest {};

TEST_F(UnwritableWorkspace, StartsAndSaysOnceThatNothingCanBeSaved) {
    struct Case {
        const char* name;
        fs::path folder;
        std::function<void()> prepare;
        std::string said;  // part of the one line; "" = nothing said
    };
    std::vector<Case> cases = {
        {"writable", work_ / "fine", [] {}, ""},
        {"Designs is a file", work_ / "file", [this] { std::ofstream(work_ / "file" / "Designs") << "x"; },
         "nothing can be saved in " + (work_ / "file").string() + "/Designs (not a writable folder)"},
        // Nothing can be created there, not even by the super-user.
        {"read-only place", "/proc", [] {}, "/proc/Designs or /proc/ShipPics (not a writable folder)"},
    };
    if (::geteuid() != 0)
        cases.push_back({"read-only workspace", work_ / "locked",
                         [this] {
                             fs::permissions(work_ / "locked", fs::perms::owner_write, fs::perm_options::remove);
                         },
                         "/locked/Designs or "});
    for (Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.folder.string().rfind(work_.string(), 0) == 0) fs::create_directories(c.folder);
        c.prepare();
        fs::current_path(c.folder);
        Testing_ResetServices();
        design = DesignState{};
        testing::internal::CaptureStderr();
        const int started = StartEditor();
        const std::string said = AboutSaving(testing::internal::GetCapturedStderr());
        ASSERT_TRUE(started) << editor.StartupFailure;
        if (!c.said.empty()) {
            EXPECT_EQ(Lines(said), 1) << said;
            EXPECT_NE(said.find(c.said), std::string::npos) << said;
        } else {
            EXPECT_EQ(said, "");
        }
        for (int i = 0; i < 3; ++i) RunFrame();
        // Saves fail without harm where nothing can be saved, and work elsewhere.
        EXPECT_EQ(SavePrototypes(design.BaseDir + "Designs/Prototypes.pt"), c.said.empty() ? 1 : 0);
        design.DesignFolder = 1;
        design.PartImageName = "Hull.png";
        EXPECT_EQ(SavePartSetup(), 0);
        EndEditor();
        fs::current_path(work_);
        std::error_code ignored;
        if (c.folder != "/proc") fs::permissions(c.folder, fs::perms::owner_all, fs::perm_options::add, ignored);
    }
}
