// The title line: "Keelwright — Design 7", or a message for a few seconds.
#include "title_line.h"

#include <cstdint>
#include <limits>

#include "design_model.h"
#include "services.h"

namespace {

constexpr const char* kTitleSeparator = " \u2014 ";
constexpr const char* kDesignWord = "Design ";

struct TitleLineState {
    std::string message;           // the message shown, empty when none
    std::int64_t messageEnds = 0;  // clock at which it gives way to the design's title
    std::string told;              // the title the window was last given
};
TitleLineState titleLine;

}  // namespace

void ShowTitleMessage(const std::string& text) {
    titleLine.message = text;
    titleLine.messageEnds = ElapsedMilliseconds() + kTitleMessageMilliseconds;
}

void ShowTitleNotice(const std::string& text) {
    titleLine.message = text;
    titleLine.messageEnds = std::numeric_limits<std::int64_t>::max();
}

void ClearTitleMessage() { titleLine.message.clear(); }

std::string TitleLineText() {
    const std::string program = kProgramTitle;
    if (!titleLine.message.empty() && ElapsedMilliseconds() < titleLine.messageEnds)
        return program + kTitleSeparator + titleLine.message;
    if (design.DesignFolder < 0) return program;
    return program + kTitleSeparator + kDesignWord + Str(design.DesignFolder);
}

void UpdateTitleLine() {
    const std::string text = TitleLineText();
    if (text == titleLine.told) return;
    Window_SetTitle(0, text);
    titleLine.told = text;
}

void ResetTitleLine() { titleLine = TitleLineState{}; }
