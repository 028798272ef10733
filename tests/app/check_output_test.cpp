// What check prints for names that are no UTF-8 or hold controls: JSON lines
// that a strict parser takes, plain lines no terminal acts on.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>
#include <nlohmann/json.hpp>
#include <sstream>

#include "command_line.h"
#include "design_model.h"
#include "design_verbs.h"
#include "part_setup.h"
#include "prototypes.h"
#include "scratch_folder.h"
#include "services.h"
#include "testing.h"
#include "text_bytes.h"

namespace {

// Image names whose bytes are no UTF-8, or are a control character.
const char* const kOddImages[] = {
    "overlong \xc0\xaf.png",    // an overlong '/'
    "surrogate \xed\xa0\x80.png",
    "latin \xe9.png",           // 8-bit text
    "next line \xc2\x85.png",   // C1 control NEL
    "csi \xc2\x9b" "31m.png",   // C1 control CSI: would start a terminal sequence
    "escape \x1b[31m.png",
};

void WriteOddDesign(const fs::path& folder) {
    fs::create_directories(folder);
    for (const char* image : kOddImages) {
        std::ofstream(folder / image) << "no picture";
        std::ofstream(folder / (std::string(image) + ".spset"), std::ios::binary) << std::string(108, '\xff');
    }
    Testing_ResetServices();
    design = DesignState{};
    design.Prototypes.Append().Name = "Gun \xc2\x9b" "2J";
    design.Prototypes.Append().Name = "Hull \xed\xbf\xbf";
    SavePrototypes((folder / "Prototypes.pt").string());
    design = DesignState{};
    Testing_ResetServices();
}

// Whether the text holds a control character other than the line feed, raw.
bool HoldsRawControl(const std::string& text) {
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t n = std::max<std::size_t>(Utf8SequenceLength(text, at), 1);
        if (text[at] != '\n' && IsControlSequence(text, at, n)) return true;
        at += n;
    }
    return false;
}

}  // namespace

TEST(CheckOutput, EveryJsonLineIsValidUtf8AndKeepsTheBytesOfItsFile) {
    ScratchFolder scratch;
    WriteOddDesign("odd");
    const CommandLineOutcome outcome = HandleCommandLine({"check", "odd", "--json"});
    ASSERT_EQ(outcome.exitCode, kVerbFindings) << outcome.err;
    std::istringstream lines(outcome.out);
    std::string line;
    std::set<std::string> filesNamed;
    int count = 0;
    while (std::getline(lines, line)) {
        ++count;
        EXPECT_TRUE(IsWellFormedUtf8(line)) << line;
        EXPECT_FALSE(HoldsRawControl(line)) << line;
        // nlohmann refuses ill-formed UTF-8 in strings: a parse is the proof.
        const nlohmann::json value = nlohmann::json::parse(line, nullptr, false);
        ASSERT_FALSE(value.is_discarded()) << line;
        if (!value.contains("file")) continue;
        std::string bytes = value["file"].get<std::string>();
        if (value.contains("fileHex")) {
            // The stray bytes became U+FFFD in "file".
            EXPECT_NE(bytes.find("\xef\xbf\xbd"), std::string::npos) << line;
            ASSERT_TRUE(BytesFromHex(value["fileHex"].get<std::string>(), bytes)) << line;
        }
        filesNamed.insert(bytes);
    }
    EXPECT_GT(count, 6);
    // Every odd image is named by its exact bytes, through "file" or "fileHex".
    for (const char* image : kOddImages) EXPECT_TRUE(filesNamed.contains(image)) << HexFromBytes(image);
}

TEST(CheckOutput, PlainLinesShowNoControlCharacterRaw) {
    ScratchFolder scratch;
    WriteOddDesign("odd");
    const CommandLineOutcome outcome = HandleCommandLine({"check", "odd"});
    ASSERT_EQ(outcome.exitCode, kVerbFindings) << outcome.err;
    EXPECT_TRUE(IsWellFormedUtf8(outcome.out)) << outcome.out;
    EXPECT_FALSE(HoldsRawControl(outcome.out)) << outcome.out;
    // The controls show as their bytes in hex, the stray bytes too.
    for (const char* shown : {"\\xc2\\x85", "\\xc2\\x9b", "\\x1b", "\\xc0\\xaf", "\\xed\\xa0\\x80", "\\xe9", "\\xed\\xbf\\xbf"})
        EXPECT_NE(outcome.out.find(shown), std::string::npos) << shown << "\n" << outcome.out;
    // Names with controls or stray bytes cannot be saved as they are: both are told.
    EXPECT_NE(outcome.out.find("prototype 0 \"Gun \\xc2\\x9b2J\": the name holds characters that cannot be saved"),
              std::string::npos) << outcome.out;
    EXPECT_NE(outcome.out.find("prototype 1 \"Hull \\xed\\xbf\\xbf\": the name holds"), std::string::npos) << outcome.out;
}

TEST(CheckOutput, AFolderNameIsPrintedSafelyToo) {
    ScratchFolder scratch;
    const CommandLineOutcome outcome = HandleCommandLine({"check", "gone \xc2\x9b" "31m", "--json"});
    EXPECT_EQ(outcome.exitCode, kVerbUnreadable);
    EXPECT_FALSE(HoldsRawControl(outcome.err)) << outcome.err;
    EXPECT_NE(outcome.err.find("\"gone \\xc2\\x9b31m\": no such folder"), std::string::npos) << outcome.err;
    EXPECT_FALSE(nlohmann::json::parse(outcome.out, nullptr, false).is_discarded()) << outcome.out;
}
