// The format's folder reader and the editor's check read a folder alike: the
// same images, prototypes and, for what needs no picture, the same findings.
#include <algorithm>
#include <filesystem>

#include "design_check.h"
#include "design_folder.h"
#include "designs_fixture.h"
#include "part_setup.h"
#include "prototypes.h"

namespace fs = std::filesystem;

namespace {

bool NeedsPictures(FindingKind kind) {
    return kind == FindingKind::UndecodablePicture || kind == FindingKind::PrototypeWithoutPart ||
           kind == FindingKind::ConnectionOutsidePicture || kind == FindingKind::OffsetOutsidePicture;
}

std::vector<std::string> ByteFindings(const std::vector<DesignFinding>& findings) {
    std::vector<std::string> lines;
    for (const DesignFinding& f : findings)
        if (!NeedsPictures(f.kind)) lines.push_back(std::string(FindingKindName(f.kind)) + " " + f.file + ": " + f.message);
    std::sort(lines.begin(), lines.end());
    return lines;
}

void ExpectAgreement(const fs::path& folder) {
    SCOPED_TRACE(folder.string());
    const DesignCheck check = CheckDesignFolder(folder.string());
    const DesignFolder read = ReadDesignFolder(folder);
    ASSERT_EQ(read.readable, check.readable != 0) << check.failure << " / " << read.failure;
    EXPECT_EQ(read.failure, check.failure);
    if (!read.readable) return;
    EXPECT_EQ(static_cast<int>(read.images.size()), check.images);
    EXPECT_EQ(static_cast<int>(read.prototypeList.prototypes.size()), check.prototypes);
    EXPECT_EQ(ByteFindings(read.findings), ByteFindings(check.findings));
}

}  // namespace

TEST_F(DesignsTest, FormatAndCheckAgreeOnTheSampleAndOnDamagedFolders) {
    const fs::path sample = fs::path(KEELWRIGHT_BINARY_DIR) / "Sample";
    if (fs::exists(sample / "Prototypes.pt")) ExpectAgreement(sample);

    // Each prototype list of the corpus beside a few setups, some damaged.
    const fs::path corpus = fs::path(KEELWRIGHT_SOURCE_DIR) / "tests/designs/corpus/prototypes";
    ASSERT_TRUE(fs::exists(corpus));
    PartSetup setup;
    setup.PrototypeIndex = 1;
    ASSERT_EQ(WriteSetupFile((Folder() / "a.png.spset").string(), setup), 1);
    setup.PrototypeIndex = -1;
    ASSERT_EQ(WriteSetupFile((Folder() / "B.png.spset").string(), setup), 1);
    WriteBytes(Folder() / "c.PNG.spset", Bytes{1, 2, 3});
    for (const char* image : {"a.png", "B.png", "c.PNG"}) WriteBytes(Folder() / image, Bytes{});
    for (const auto& entry : fs::directory_iterator(corpus)) {
        fs::copy_file(entry.path(), Folder() / kPrototypeFileName, fs::copy_options::overwrite_existing);
        ExpectAgreement(Folder());
    }
    fs::remove(Folder() / kPrototypeFileName);
    ExpectAgreement(Folder());
    ExpectAgreement(root / "nothing");
}
