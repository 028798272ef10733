#include <sys/stat.h>

#include <algorithm>

#include "design_folder.h"
#include "format_fixture.h"
#include "part_setup_bytes.h"

namespace fs = std::filesystem;

namespace {

class DesignFolderTest : public ScratchFolder {
protected:
    void WriteSetup(const std::string& image, const PartSetup& setup) const {
        const PartSetupBytes bytes = EncodePartSetup(setup);
        Write(image + kSetupExtension, Bytes(bytes.begin(), bytes.end()));
    }
    void WritePrototypes(const std::vector<Prototype>& prototypes) const {
        Write(kPrototypeFileName, EncodePrototypeList(prototypes));
    }
    static std::vector<std::string> Kinds(const DesignFolder& folder) {
        std::vector<std::string> kinds;
        for (const DesignFinding& f : folder.findings) kinds.push_back(std::string(FindingKindName(f.kind)) + " " + f.file);
        return kinds;
    }
};

Prototype Named(const std::string& name, std::uint32_t mask0 = 0) {
    Prototype p;
    p.Name = name;
    p.ConnectionMask[0] = mask0;
    return p;
}

}  // namespace

TEST_F(DesignFolderTest, WhatIsNoDesignFolderSaysWhy) {
    Write("file", {1});
    fs::create_directories(root / "empty");
    const struct {
        fs::path path;
        const char* failure;
    } cases[] = {
        {root / "missing", "no such folder"},
        {fs::path(), "no such folder"},
        {root / "file", "not a folder"},
        {root / "empty", "not a design folder: no Prototypes.pt and no part image with a setup"},
    };
    for (const auto& c : cases) {
        const DesignFolder folder = ReadDesignFolder(c.path);
        EXPECT_FALSE(folder.readable) << c.path;
        EXPECT_EQ(folder.failure, c.failure) << c.path;
    }
}

TEST_F(DesignFolderTest, ListsSetUpImagesAsTheEditorDoes) {
    WritePrototypes({Named("hull")});
    for (const char* image : {"b.png", "A.png", "c.PNG", "a.png", "nosetup.png", "x.txt", "dir.png"}) Write(image, {});
    for (const char* image : {"b.png", "A.png", "c.PNG", "a.png", "x.txt", "orphan.png"}) WriteSetup(image, PartSetup{});
    fs::remove(root / "dir.png");
    fs::create_directories(root / "dir.png");  // a folder is no image
    WriteSetup("dir.png", PartSetup{});
    Write("linked.png.spset", {});
    fs::create_directories(root / "setupdir.png.spset");  // a folder is no setup
    Write("setupdir.png", {});
    fs::create_symlink(root / "nowhere.png", root / "linked.png");  // a broken link still counts as a file
    const DesignFolder folder = ReadDesignFolder(root);
    ASSERT_TRUE(folder.readable) << folder.failure;
    // Without regard to case, byte order breaking ties; a setup alone is no image.
    EXPECT_EQ(folder.images, (std::vector<std::string>{"A.png", "a.png", "b.png", "c.PNG", "linked.png"}));
    ASSERT_EQ(folder.parts.size(), 5u);
    EXPECT_EQ(folder.parts[4].setupSize, 0);
    EXPECT_EQ(Kinds(folder), (std::vector<std::string>{"damaged-setup linked.png.spset"}));
}

TEST_F(DesignFolderTest, ReadsPrototypesAndSetupsAndFindsWhatTheBytesShow) {
    // Prototype 0 allows 1 at connection 0; 2 is never reached and allows nothing.
    WritePrototypes({Named("hull", ConnectionActive | 2), Named("gun"), Named("gun", ConnectionActive | (1u << 5))});
    PartSetup hull;
    hull.OffsetX = 7;
    hull.ConnExtra[3] = -9;
    WriteSetup("Hull.png", hull);
    PartSetup stray;
    stray.PrototypeIndex = 4;
    WriteSetup("Stray.png", stray);
    PartSetup none;
    none.PrototypeIndex = -1;
    WriteSetup("None.png", none);
    Write("Short.png.spset", {1, 0, 0, 0, 2});
    for (const char* image : {"Hull.png", "Stray.png", "None.png", "Short.png"}) Write(image, {});

    const DesignFolder folder = ReadDesignFolder(root);
    ASSERT_TRUE(folder.readable);
    ASSERT_TRUE(folder.hasPrototypeList);
    ASSERT_EQ(folder.prototypeList.prototypes.size(), 3u);
    EXPECT_EQ(folder.prototypeList.prototypes[2].Name, "gun");
    ASSERT_EQ(folder.parts.size(), 4u);
    EXPECT_EQ(folder.parts[0].image, "Hull.png");
    EXPECT_EQ(folder.parts[0].setup, hull);
    EXPECT_EQ(folder.parts[2].setupSize, 5);
    EXPECT_EQ(folder.parts[2].setup.OffsetX, 1);
    EXPECT_EQ(folder.parts[2].setup.OffsetY, 2);
    EXPECT_EQ(Kinds(folder), (std::vector<std::string>{
                                 "missing-prototype None.png.spset",
                                 "damaged-setup Short.png.spset",
                                 "missing-prototype Stray.png.spset",
                                 "connection-allows-nothing Prototypes.pt",
                                 "unreachable-prototype Prototypes.pt",
                                 "duplicate-name Prototypes.pt",
                             }));
    EXPECT_EQ(folder.findings[2].message, "prototype 4 does not exist (the design has 3)");
    EXPECT_EQ(folder.findings[5].message, "prototype 2 \"gun\": the same name as prototype 1");
}

TEST_F(DesignFolderTest, ADamagedOrMissingPrototypeListIsAFindingNotAFailure) {
    Write("a.png", {});
    WriteSetup("a.png", PartSetup{});
    EXPECT_EQ(Kinds(ReadDesignFolder(root)), (std::vector<std::string>{"missing-prototype-list Prototypes.pt",
                                                                        "missing-prototype a.png.spset"}));
    fs::create_directories(root / kPrototypeFileName);
    const DesignFolder asFolder = ReadDesignFolder(root);
    ASSERT_FALSE(asFolder.findings.empty());
    EXPECT_EQ(asFolder.findings[0].message, "is a folder, not a prototype list");
    fs::remove(root / kPrototypeFileName);

    Bytes cut = EncodePrototypeList(std::vector<Prototype>{Named("hull")});
    cut.resize(60);
    Write(kPrototypeFileName, cut);
    const DesignFolder damaged = ReadDesignFolder(root);
    EXPECT_EQ(damaged.findings[0].message, "damaged: the file ends before its 1 prototypes");
    EXPECT_EQ(damaged.prototypeList.prototypes.size(), 1u);
}

TEST_F(DesignFolderTest, APipeInPlaceOfAFileNeverHangs) {
    ASSERT_EQ(mkfifo((root / kPrototypeFileName).c_str(), 0600), 0);
    Write("a.png", {});
    ASSERT_EQ(mkfifo((root / "a.png.spset").c_str(), 0600), 0);
    const DesignFolder folder = ReadDesignFolder(root);
    EXPECT_TRUE(folder.readable);
    EXPECT_FALSE(folder.hasPrototypeList);
    EXPECT_TRUE(folder.parts.empty());
    EXPECT_EQ(Kinds(folder), (std::vector<std::string>{"missing-prototype-list Prototypes.pt",
                                                       "damaged-setup a.png.spset"}));
}

TEST(DesignNames, PartImagesAndTheirOrder) {
    for (const char* yes : {"a.png", "A.PNG", ".png", "x.pNg"}) EXPECT_TRUE(IsPartImageName(yes)) << yes;
    for (const char* no : {"png", "a.png.spset", "a.pn", "a.png "}) EXPECT_FALSE(IsPartImageName(no)) << no;
    std::vector<std::string> names{"b", "B", "a", "_", "ab", "A"};
    std::sort(names.begin(), names.end(), DesignNameLess);
    EXPECT_EQ(names, (std::vector<std::string>{"_", "A", "a", "ab", "B", "b"}));
}

TEST(DesignNames, WhatANameLineCanCarry) {
    const struct {
        std::string name;
        bool saveable;
        const char* quoted;
    } cases[] = {
        {"Hull", true, "\"Hull\""},
        {"K\xC3\xA4" "fer", true, "\"K\xC3\xA4" "fer\""},                      // two bytes
        {"\xE2\x82\xAC", true, "\"\xE2\x82\xAC\""},                      // three
        {"\xF0\x9F\x9A\x80", true, "\"\xF0\x9F\x9A\x80\""},              // four
        {"\xF8\x88\x80\x80\x80", false, "\"\\xf8\\x88\\x80\\x80\\x80\""},  // no five-byte sequences
        {"Kr\xE4n", false, "\"Kr\\xe4n\""},                              // 8-bit, not UTF-8
        {"\xC0\xAF", false, "\"\\xc0\\xaf\""},                           // overlong
        {"\xF0\x9F\x9A", false, "\"\\xf0\\x9f\\x9a\""},                  // cut short
        {"tab\there", false, "\"tab\\x09here\""},
        {"del\x7F", false, "\"del\\x7f\""},
        {"say \"hi\" \\", true, "\"say \\\"hi\\\" \\\\\""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SaveableName(c.name), c.saveable) << c.quoted;
        EXPECT_EQ(QuoteName(c.name), c.quoted);
    }
}
