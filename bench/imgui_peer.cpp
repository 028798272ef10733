// The editor's screen drawn twice in one run: by our toolkit (the 37 gadgets
// of kEditorLayout, Gadget_Layout, Gadget_DrawAll and Gadget_ProcessEvents over a full-screen
// background) and by Dear ImGui (the same 37 widgets at the same places, its
// SDL renderer backend on a software renderer over a 1024 x 768 surface),
// against the floor of copying one screen.
//
// This file is a benchmark, not part of the product: unlike the product's
// code outside services/, it includes ImGui and SDL directly. It is built
// only where Debian's libimgui-dev is installed.
#include <SDL.h>
#include <imgui.h>
#include <imgui_impl_sdlrenderer.h>

#include <array>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench_util.h"
#include "editor_gadgets.h"
#include "editor_objects.h"
#include "editor_state.h"
#include "editor_tables.h"
#include "gadget.h"
#include "services.h"
#include "testing.h"

namespace fs = std::filesystem;

namespace {

constexpr int kRuns = 200;
constexpr int kWidth = 1024, kHeight = 768;
constexpr int kRowsPerList = 20;
constexpr int kEditorLines = 8;

std::string RowText(int list, int row) { return "Item " + std::to_string(list) + "." + std::to_string(row); }
std::string EditorLine(int line) { return "Information line " + std::to_string(line); }

// Background colour of row y, the same on both sides.
int BackgroundColour(int y) {
    return 60 - 30 * y / kHeight + (32 - 16 * y / kHeight) * 256 + (17 + 10 * y / kHeight) * 65536;
}

// ---------------------------------------------------------------- our toolkit

void CreateToolkitScreen(const fs::path& files) {
    Sprite_Create(kBackgroundSprite, kWidth, kHeight);
    if (Draw_Begin(Draw_SpriteOutput(kBackgroundSprite))) {
        for (int y = 0; y < kHeight; ++y) Draw_Box(0, y, kWidth, 1, BackgroundColour(y));
        Draw_End();
    }
    for (ImageNumber image : {kArrowUpImage, kArrowDownImage, kArrowLeftImage, kArrowRightImage}) {
        Image_Create(image, 25, 25);
        if (Draw_Begin(Draw_ImageOutput(image))) {
            Draw_Box(0, 0, 25, 25, 0x884422);
            Draw_Box(8, 8, 9, 9, 0xEEEEEE);
            Draw_End();
        }
    }
    Gadget_SetDefaultFillMode(0);
    Gadget_SetDefaultTextColor(kEditorTextColour);
    for (const GadgetLayout& layout : kEditorLayout) {
        CreateLayoutGadget(layout, files.string() + "/");
        if (layout.shape == GadgetShape::ColumnList)
            for (int r = 0; r < kRowsPerList; ++r) Gadget_AddItem(layout.number, -1, RowText(layout.number, r));
        if (layout.shape == GadgetShape::Editor)
            for (int i = 0; i < kEditorLines; ++i) Gadget_AddItem(layout.number, -1, EditorLine(i));
        if (layout.shape == GadgetShape::TextField)
            Gadget_SetText(layout.number, "Field " + std::to_string(layout.number));
    }
}

void ToolkitFrame() {
    Mouse_Examine();
    Key_Examine();
    Sprite_Display(kBackgroundSprite, 0, 0);
    Gadget_Layout();
    Gadget_DrawAll();
    Gadget_ProcessEvents();
}

// ---------------------------------------------------------------- Dear ImGui

struct ImGuiScreen {
    SDL_Surface* surface = nullptr;    // the 1024 x 768 target
    SDL_Renderer* renderer = nullptr;  // software renderer on it
    SDL_Texture* background = nullptr; // full-screen background
    SDL_Texture* arrow = nullptr;      // face of the image buttons
    std::vector<std::string> fields;   // text field contents, by widget
    std::string editorText;            // the read-only text box
    std::vector<std::string> files;    // rows of the file list
};

bool CreateImGuiScreen(ImGuiScreen& s, const fs::path& files) {
    s.surface = SDL_CreateRGBSurfaceWithFormat(0, kWidth, kHeight, 32, SDL_PIXELFORMAT_ARGB8888);
    if (!s.surface) return false;
    s.renderer = SDL_CreateSoftwareRenderer(s.surface);
    if (!s.renderer) return false;
    SDL_Surface* bg = SDL_CreateRGBSurfaceWithFormat(0, kWidth, kHeight, 32, SDL_PIXELFORMAT_ARGB8888);
    for (int y = 0; y < kHeight; ++y) {
        const int c = BackgroundColour(y);
        SDL_Rect row{0, y, kWidth, 1};
        SDL_FillRect(bg, &row, SDL_MapRGB(bg->format, c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF));
    }
    s.background = SDL_CreateTextureFromSurface(s.renderer, bg);
    SDL_FreeSurface(bg);
    SDL_Surface* face = SDL_CreateRGBSurfaceWithFormat(0, 25, 25, 32, SDL_PIXELFORMAT_ARGB8888);
    SDL_FillRect(face, nullptr, SDL_MapRGB(face->format, 0x22, 0x44, 0x88));
    s.arrow = SDL_CreateTextureFromSurface(s.renderer, face);
    SDL_FreeSurface(face);

    ImGui::CreateContext();
    ImGuiIO& io = ImGui::GetIO();
    io.IniFilename = nullptr;
    io.DisplaySize = ImVec2(kWidth, kHeight);
    io.DeltaTime = 0.030f;
    ImGui::StyleColorsDark();
    if (!ImGui_ImplSDLRenderer_Init(s.renderer)) return false;
    s.fields.resize(kEditorGadgetCount);
    for (const GadgetLayout& layout : kEditorLayout)
        if (layout.shape == GadgetShape::TextField) s.fields[layout.number] = "Field " + std::to_string(layout.number);
    for (int i = 0; i < kEditorLines; ++i) s.editorText += EditorLine(i) + "\n";
    for (const auto& entry : fs::directory_iterator(files)) s.files.push_back(entry.path().filename().string());
    return true;
}

void CaptionedBox(const GadgetLayout& g, const char* caption) {
    ImDrawList* draw = ImGui::GetWindowDrawList();
    draw->AddRect(ImVec2(g.x, g.y), ImVec2(g.x + g.width, g.y + g.height), IM_COL32(120, 130, 160, 255));
    if (*caption) draw->AddText(ImVec2(g.x + 8, g.y - 7), IM_COL32(181, 183, 204, 255), caption);
}

void ListWidget(const GadgetLayout& g, const char* caption, const std::vector<std::string>& rows) {
    ImGui::SetCursorPos(ImVec2(g.x, g.y));
    ImGui::BeginChild(g.number + 1, ImVec2(g.width, g.height), true);
    if (ImGui::BeginTable("rows", 1, ImGuiTableFlags_RowBg | ImGuiTableFlags_BordersInnerH)) {
        ImGui::TableSetupColumn(caption);
        ImGui::TableHeadersRow();
        for (size_t r = 0; r < rows.size(); ++r) {
            ImGui::TableNextRow();
            ImGui::TableNextColumn();
            ImGui::Selectable(rows[r].c_str(), r == 2);
        }
        ImGui::EndTable();
    }
    ImGui::EndChild();
}

void BuildImGuiScreen(ImGuiScreen& s) {
    ImGui::SetNextWindowPos(ImVec2(0, 0));
    ImGui::SetNextWindowSize(ImVec2(kWidth, kHeight));
    ImGui::Begin("screen", nullptr,
                 ImGuiWindowFlags_NoDecoration | ImGuiWindowFlags_NoBackground | ImGuiWindowFlags_NoMove |
                     ImGuiWindowFlags_NoSavedSettings | ImGuiWindowFlags_NoBringToFrontOnFocus);
    for (const GadgetLayout& g : kEditorLayout) {
        const std::string caption = g.label >= 0 ? Labels[static_cast<std::size_t>(g.label)] : std::string();
        ImGui::PushID(g.number);
        ImGui::SetCursorPos(ImVec2(g.x, g.y));
        switch (g.shape) {
            case GadgetShape::Text:
                CaptionedBox(g, "");
                ImGui::SetCursorPos(ImVec2(g.x + (g.width - ImGui::CalcTextSize(caption.c_str()).x) / 2, g.y + 3));
                ImGui::TextUnformatted(caption.c_str());
                break;
            case GadgetShape::TextField: {
                std::string& text = s.fields[g.number];
                char buffer[64];
                std::snprintf(buffer, sizeof buffer, "%s", text.c_str());
                ImGui::SetNextItemWidth(g.width);
                ImGui::InputText("##field", buffer, sizeof buffer);
                break;
            }
            case GadgetShape::Editor:
                ImGui::InputTextMultiline("##editor", s.editorText.data(), s.editorText.size() + 1,
                                          ImVec2(g.width, g.height), ImGuiInputTextFlags_ReadOnly);
                break;
            case GadgetShape::Button: ImGui::Button(caption.c_str(), ImVec2(g.width, g.height)); break;
            case GadgetShape::ColumnList: {
                std::vector<std::string> rows;
                for (int r = 0; r < kRowsPerList; ++r) rows.push_back(RowText(g.number, r));
                ListWidget(g, caption.c_str(), rows);
                break;
            }
            case GadgetShape::FileList: ListWidget(g, "Name", s.files); break;
            case GadgetShape::Frame: CaptionedBox(g, caption.c_str()); break;
            case GadgetShape::ImageButton:
                ImGui::ImageButton(reinterpret_cast<ImTextureID>(s.arrow), ImVec2(g.width, g.height), ImVec2(0, 0),
                                   ImVec2(1, 1), 0);
                break;
        }
        ImGui::PopID();
    }
    ImGui::End();
}

void ImGuiFrame(ImGuiScreen& s) {
    ImGui_ImplSDLRenderer_NewFrame();
    ImGui::NewFrame();
    BuildImGuiScreen(s);
    ImGui::Render();
    SDL_RenderCopy(s.renderer, s.background, nullptr, nullptr);
    ImGui_ImplSDLRenderer_RenderDrawData(ImGui::GetDrawData());
    SDL_RenderFlush(s.renderer);  // the software renderer batches: draw now, inside the timing
}

// Pixels of the surface that are not the background: a check that the
// widgets were really drawn, not skipped.
int DrawnPixels(const ImGuiScreen& s) {
    int drawn = 0;
    for (int y = 0; y < kHeight; ++y) {
        const int c = BackgroundColour(y);
        const Uint32 background = SDL_MapRGB(s.surface->format, c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
        const auto* bytes = static_cast<const Uint8*>(s.surface->pixels) + y * s.surface->pitch;
        const auto* row = reinterpret_cast<const Uint32*>(bytes);
        for (int x = 0; x < kWidth; ++x) drawn += (row[x] | 0xFF000000u) != (background | 0xFF000000u);
    }
    return drawn;
}

void DestroyImGuiScreen(ImGuiScreen& s) {
    ImGui_ImplSDLRenderer_Shutdown();
    ImGui::DestroyContext();
    SDL_DestroyTexture(s.arrow);
    SDL_DestroyTexture(s.background);
    SDL_DestroyRenderer(s.renderer);
    SDL_FreeSurface(s.surface);
}

}  // namespace

int main() {
    Testing_UseHeadlessDrivers();
    Testing_UseManualClock(true);
    if (!Sprite_Init() || !Mouse_Init() || !Key_Init()) return 1;
    if (!Window_Open(0, 0, 0, kWidth, kHeight, "bench", 0) ||
        !Screen_OpenInWindow(Window_Handle(0), 0, 0, kWidth, kHeight, 0, 0, 0))
        return 1;
    // The file list shows a folder of part images on both sides.
    const fs::path files = fs::temp_directory_path() / "keelwright-bench-imgui";
    fs::remove_all(files);
    fs::create_directories(files);
    for (int i = 0; i < kRowsPerList; ++i) std::ofstream(files / ("Part" + std::to_string(i) + ".png")) << "x";

    Gadget_Init();
    CreateToolkitScreen(files);
    ImGuiScreen imgui;
    if (!CreateImGuiScreen(imgui, files)) {
        std::fprintf(stderr, "cannot set up Dear ImGui's software renderer: %s\n", SDL_GetError());
        return 1;
    }
    // Warm up both: scroll bars, text caches, the font atlas.
    for (int i = 0; i < 5; ++i) ToolkitFrame(), ImGuiFrame(imgui);
    if (DrawnPixels(imgui) < 10000) {
        std::fprintf(stderr, "Dear ImGui drew (almost) nothing: only %d pixels\n", DrawnPixels(imgui));
        return 1;
    }

    std::vector<unsigned char> from(static_cast<size_t>(kWidth) * kHeight * 4, 1), to(from.size());
    const double floor = MedianMicros(kRuns, [&] {
        std::memcpy(to.data(), from.data(), from.size());
        asm volatile("" : : "r"(to.data()) : "memory");
    });
    const double ours = MedianMicros(kRuns, ToolkitFrame);
    const double theirs = MedianMicros(kRuns, [&] { ImGuiFrame(imgui); });
    Report("memcpy_screen", floor, floor, "memcpy");
    Report("keelwright_screen", ours, floor, "memcpy");
    Report("imgui_screen", theirs, floor, "memcpy");
    Report("imgui_vs_keelwright", theirs, ours, "keelwright_screen");

    DestroyImGuiScreen(imgui);
    Gadget_End();
    Services_End();
    fs::remove_all(files);
    return 0;
}
