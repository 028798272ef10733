// Two editors saving into the same design folder at once: every read of a
// shared file finds one complete version, and each editor's own files stay.
#include <sys/wait.h>
#include <unistd.h>

#include <array>

#include "designs_fixture.h"
#include "part_setup.h"
#include "prototypes.h"

namespace {

constexpr int kSaves = 150;  // saves of each file by each editor

// The prototype list editor `writer` saves the `save`th time: its length
// changes from save to save, so a mix or a cut shows.
std::vector<Prototype> ListVersion(int writer, int save) {
    std::vector<Prototype> list(static_cast<std::size_t>(1 + save % 4));
    for (std::size_t p = 0; p < list.size(); ++p) {
        list[p].Name = "w" + std::to_string(writer) + "-" + std::to_string(save) + std::string(save % 7, 'x');
        list[p].Index = static_cast<std::int8_t>(p);
        list[p].ConnectionMask.fill(ConnectionActive | static_cast<std::uint32_t>(save));
    }
    return list;
}

// A setup whose 27 values all name the writer and the save.
PartSetup SetupVersion(int writer, int save) {
    PartSetup setup;
    const std::int32_t v = writer * 100000 + save;
    setup.OffsetX = setup.OffsetY = setup.PrototypeIndex = v;
    setup.ConnX.fill(v);
    setup.ConnY.fill(v);
    setup.ConnExtra.fill(v);
    return setup;
}

// The bytes the editor writes for a list version.
Bytes ListBytes(const std::vector<Prototype>& list) {
    Bytes bytes;
    for (int b = 0; b < 4; ++b) bytes.push_back(static_cast<std::uint8_t>(list.size() >> (8 * b)));
    for (const Prototype& p : list) {
        const PrototypeRecord record = EncodePrototypeRecord(p);
        bytes.insert(bytes.end(), record.begin(), record.end());
        bytes.insert(bytes.end(), p.Name.begin(), p.Name.end());
        bytes.push_back('\r');
        bytes.push_back('\n');
    }
    return bytes;
}

// Which (writer, save) a shared setup file holds; (-1, -1) unless all 27 values agree.
std::pair<int, int> SetupOf(const Bytes& bytes) {
    if (bytes.size() != 108) return {-1, -1};
    std::int32_t first = 0;
    for (int k = 0; k < 27; ++k) {
        std::int32_t v = 0;
        for (int b = 0; b < 4; ++b) v |= static_cast<std::int32_t>(bytes[static_cast<std::size_t>(4 * k + b)]) << (8 * b);
        if (k == 0) first = v;
        if (v != first) return {-1, -1};
    }
    return {first / 100000, first % 100000};
}

// Which (writer, save) a shared list file holds, judged by its first name.
std::pair<int, int> ListOf(const Bytes& bytes) {
    int writer = -1, save = -1;
    const std::size_t name = 4 + kPrototypeRecordSize;
    if (bytes.size() < name + 4) return {-1, -1};
    const std::string text(bytes.begin() + static_cast<long>(name), bytes.end());
    if (sscanf(text.c_str(), "w%d-%d", &writer, &save) != 2) return {-1, -1};
    return {writer, save};
}

}  // namespace

TEST_F(DesignsTest, TwoEditorsSavingTogetherNeverMixOrLoseFiles) {
    const std::filesystem::path list = Folder() / "Prototypes.pt", shared = Folder() / "Hull.png.spset";
    std::array<pid_t, 2> editors{};
    for (int writer = 0; writer < 2; ++writer) {
        editors[static_cast<std::size_t>(writer)] = fork();
        ASSERT_GE(editors[static_cast<std::size_t>(writer)], 0);
        if (editors[static_cast<std::size_t>(writer)] > 0) continue;
        // An editor: saves the shared list and setup, and a setup of its own.
        bool ok = true;
        for (int save = 0; save < kSaves; ++save) {
            design.Prototypes.Clear();
            for (const Prototype& p : ListVersion(writer, save)) design.Prototypes.Append() = p;
            ok = SavePrototypes(list.string()) == 1 && ok;
            ok = WriteSetupFile(shared.string(), SetupVersion(writer, save)) == 1 && ok;
            const auto own = Folder() / ("Part" + std::to_string(writer) + ".png.spset");
            ok = WriteSetupFile(own.string(), SetupVersion(writer, save)) == 1 && ok;
        }
        _exit(ok ? 0 : 1);
    }

    // Meanwhile a reader checks every version it finds.
    int reads = 0, bad = 0, running = 2;
    std::array<int, 2> status{};
    while (running > 0) {
        for (std::size_t e = 0; e < editors.size(); ++e)
            if (editors[e] > 0 && waitpid(editors[e], &status[e], WNOHANG) == editors[e]) {
                editors[e] = 0;
                --running;
            }
        if (std::filesystem::exists(list)) {
            const Bytes bytes = ReadBytes(list);
            const auto [writer, save] = ListOf(bytes);
            if (writer < 0 || writer > 1 || save < 0 || save >= kSaves || bytes != ListBytes(ListVersion(writer, save)))
                ++bad;
            ++reads;
        }
        if (std::filesystem::exists(shared)) {
            const auto [writer, save] = SetupOf(ReadBytes(shared));
            if (writer < 0 || writer > 1 || save < 0 || save >= kSaves) ++bad;
            ++reads;
        }
    }
    for (int s : status) EXPECT_TRUE(WIFEXITED(s) && WEXITSTATUS(s) == 0);
    EXPECT_GT(reads, 0);
    EXPECT_EQ(bad, 0) << "of " << reads << " reads";

    // Both own files hold their editor's last save; no temporary file is left.
    for (int writer = 0; writer < 2; ++writer) {
        PartSetup last;
        ASSERT_EQ(ReadSetupFile((Folder() / ("Part" + std::to_string(writer) + ".png.spset")).string(), last), 1);
        EXPECT_EQ(last.OffsetX, writer * 100000 + kSaves - 1);
    }
    for (const auto& entry : std::filesystem::directory_iterator(Folder()))
        EXPECT_NE(entry.path().filename().string().rfind(".kw-save-", 0), 0u) << entry.path();
    // The editor's reader takes the surviving list whole.
    ReadPrototypeList(list.string(), nullptr);
    const auto [writer, save] = ListOf(ReadBytes(list));
    ASSERT_GE(writer, 0);
    EXPECT_EQ(save, kSaves - 1);
    EXPECT_EQ(design.Prototypes.Count(), static_cast<int>(ListVersion(writer, save).size()));
}
