// Mouse and keyboard: SDL events collected into per-frame snapshots.
//
// Edges are kept so no click or key tap is lost, even when its press and
// release arrive within one frame:
//
//   events since last examine      | snapshot shows      | next snapshot
//   -------------------------------+---------------------+----------------
//   press                          | held                | held
//   press, release                 | held                | up
//   release (was held)             | up                  | up
//   press, release, press          | held                | held
//
// Positions arrive in window pixels and are divided by the screen's scale.
// Outside the shown screen (a window larger than scale x screen) the pointer
// is as outside the window:
//
//   event outside the shown screen  | effect
//   --------------------------------+------------------------------------
//   move, no button held            | ignored: the pointer stays put
//   move, a button held (a drag)    | followed, clamped to the screen edge
//   press                           | ignored
//   release                         | taken (a drag ends wherever it ends)
//
// Key_Released and Key_TypedText read the snapshots with marks of their own:
//
//   snapshot  | mark before | Key_Released | mark after
//   ----------+-------------+--------------+-----------
//   held      | any         | 0            | set
//   up        | set         | 1            | clear
//   up        | clear       | 0            | clear
#include <algorithm>
#include <cstring>

#include "services_internal.h"
#include "testing.h"

namespace svc {
namespace {

constexpr int kKeyCount = 256;

struct InputState {
    bool mouseReady = false;           // Mouse_Init done
    bool keyReady = false;             // Key_Init done
    int rawX = 0, rawY = 0;            // latest pointer position from events
    std::uint32_t buttonsDown = 0;     // buttons held now (bit b-1)
    std::uint32_t buttonsPressed = 0;  // went down since the last Mouse_Examine
    int wheelPending = 0;              // notches since the last Mouse_Examine
    int mouseX = 0, mouseY = 0;        // snapshot
    std::uint32_t mouseButtons = 0;    // snapshot
    int mouseWheel = 0;                // snapshot
    bool keysDown[kKeyCount] = {};     // held now
    bool keysPressed[kKeyCount] = {};  // went down since the last Key_Examine
    bool keySnapshot[kKeyCount] = {};  // snapshot
    bool releasedMark[kKeyCount] = {}; // Key_Released: seen held
    int lastKeyDown = -1;              // scan code that typed text is attributed to
    struct Typed {
        int key;           // scan code it came with, -1 none
        std::string text;  // what was typed
    };
    std::vector<Typed> typed;          // text waiting for its key to be seen up
    bool closeRequested = false;       // a close request arrived since the last poll
    std::vector<std::string> dropped;  // files dropped on the window, oldest first
    int injectedX = 0, injectedY = 0;  // where the last injected move went (button events carry it)
};
InputState input;

// DirectInput scan code -> SDL scancode, for the keys a PC keyboard has.
constexpr struct {
    int dik;
    SDL_Scancode sdl;
} kKeyMap[] = {
    {1, SDL_SCANCODE_ESCAPE},     {2, SDL_SCANCODE_1},          {3, SDL_SCANCODE_2},
    {4, SDL_SCANCODE_3},          {5, SDL_SCANCODE_4},          {6, SDL_SCANCODE_5},
    {7, SDL_SCANCODE_6},          {8, SDL_SCANCODE_7},          {9, SDL_SCANCODE_8},
    {10, SDL_SCANCODE_9},         {11, SDL_SCANCODE_0},         {12, SDL_SCANCODE_MINUS},
    {13, SDL_SCANCODE_EQUALS},    {14, SDL_SCANCODE_BACKSPACE}, {15, SDL_SCANCODE_TAB},
    {16, SDL_SCANCODE_Q},         {17, SDL_SCANCODE_W},         {18, SDL_SCANCODE_E},
    {19, SDL_SCANCODE_R},         {20, SDL_SCANCODE_T},         {21, SDL_SCANCODE_Y},
    {22, SDL_SCANCODE_U},         {23, SDL_SCANCODE_I},         {24, SDL_SCANCODE_O},
    {25, SDL_SCANCODE_P},         {26, SDL_SCANCODE_LEFTBRACKET}, {27, SDL_SCANCODE_RIGHTBRACKET},
    {28, SDL_SCANCODE_RETURN},    {29, SDL_SCANCODE_LCTRL},     {30, SDL_SCANCODE_A},
    {31, SDL_SCANCODE_S},         {32, SDL_SCANCODE_D},         {33, SDL_SCANCODE_F},
    {34, SDL_SCANCODE_G},         {35, SDL_SCANCODE_H},         {36, SDL_SCANCODE_J},
    {37, SDL_SCANCODE_K},         {38, SDL_SCANCODE_L},         {39, SDL_SCANCODE_SEMICOLON},
    {40, SDL_SCANCODE_APOSTROPHE}, {41, SDL_SCANCODE_GRAVE},    {42, SDL_SCANCODE_LSHIFT},
    {43, SDL_SCANCODE_BACKSLASH}, {44, SDL_SCANCODE_Z},         {45, SDL_SCANCODE_X},
    {46, SDL_SCANCODE_C},         {47, SDL_SCANCODE_V},         {48, SDL_SCANCODE_B},
    {49, SDL_SCANCODE_N},         {50, SDL_SCANCODE_M},         {51, SDL_SCANCODE_COMMA},
    {52, SDL_SCANCODE_PERIOD},    {53, SDL_SCANCODE_SLASH},     {54, SDL_SCANCODE_RSHIFT},
    {55, SDL_SCANCODE_KP_MULTIPLY}, {56, SDL_SCANCODE_LALT},    {57, SDL_SCANCODE_SPACE},
    {58, SDL_SCANCODE_CAPSLOCK},  {59, SDL_SCANCODE_F1},        {60, SDL_SCANCODE_F2},
    {61, SDL_SCANCODE_F3},        {62, SDL_SCANCODE_F4},        {63, SDL_SCANCODE_F5},
    {64, SDL_SCANCODE_F6},        {65, SDL_SCANCODE_F7},        {66, SDL_SCANCODE_F8},
    {67, SDL_SCANCODE_F9},        {68, SDL_SCANCODE_F10},       {69, SDL_SCANCODE_NUMLOCKCLEAR},
    {70, SDL_SCANCODE_SCROLLLOCK}, {71, SDL_SCANCODE_KP_7},     {72, SDL_SCANCODE_KP_8},
    {73, SDL_SCANCODE_KP_9},      {74, SDL_SCANCODE_KP_MINUS},  {75, SDL_SCANCODE_KP_4},
    {76, SDL_SCANCODE_KP_5},      {77, SDL_SCANCODE_KP_6},      {78, SDL_SCANCODE_KP_PLUS},
    {79, SDL_SCANCODE_KP_1},      {80, SDL_SCANCODE_KP_2},      {81, SDL_SCANCODE_KP_3},
    {82, SDL_SCANCODE_KP_0},      {83, SDL_SCANCODE_KP_PERIOD}, {86, SDL_SCANCODE_NONUSBACKSLASH},
    {87, SDL_SCANCODE_F11},       {88, SDL_SCANCODE_F12},       {156, SDL_SCANCODE_KP_ENTER},
    {157, SDL_SCANCODE_RCTRL},    {181, SDL_SCANCODE_KP_DIVIDE}, {183, SDL_SCANCODE_PRINTSCREEN},
    {184, SDL_SCANCODE_RALT},     {197, SDL_SCANCODE_PAUSE},    {199, SDL_SCANCODE_HOME},
    {200, SDL_SCANCODE_UP},       {201, SDL_SCANCODE_PAGEUP},   {203, SDL_SCANCODE_LEFT},
    {205, SDL_SCANCODE_RIGHT},    {207, SDL_SCANCODE_END},      {208, SDL_SCANCODE_DOWN},
    {209, SDL_SCANCODE_PAGEDOWN}, {210, SDL_SCANCODE_INSERT},   {211, SDL_SCANCODE_DELETE},
    {219, SDL_SCANCODE_LGUI},     {220, SDL_SCANCODE_RGUI},     {221, SDL_SCANCODE_APPLICATION},
};

int DikToSdl(int dik) {
    for (const auto& k : kKeyMap)
        if (k.dik == dik) return k.sdl;
    return SDL_SCANCODE_UNKNOWN;
}

int SdlToDik(int scancode) {
    for (const auto& k : kKeyMap)
        if (k.sdl == scancode) return k.dik;
    return 0;
}

// Injected events need the event queue even before Sprite_Init.
bool Push(SDL_Event& e) {
    if (!EnsureSdl(SDL_INIT_EVENTS)) return false;
    e.common.timestamp = SDL_GetTicks();
    return SDL_PushEvent(&e) == 1;
}

int ButtonBit(Uint8 sdlButton) {
    switch (sdlButton) {
        case SDL_BUTTON_LEFT: return 1 << 0;
        case SDL_BUTTON_RIGHT: return 1 << 1;
        case SDL_BUTTON_MIDDLE: return 1 << 2;
        default: return 0;
    }
}

// Whether a window position lies on the scaled screen (anywhere while no screen is open).
bool OnShownScreen(int x, int y) {
    const int scale = Screen_Scale();
    if (scale == 0) return true;
    return x >= 0 && y >= 0 && x < Screen_Width() * scale && y < Screen_Height() * scale;
}

void OnEvent(const SDL_Event& e) {
    switch (e.type) {
        case SDL_MOUSEMOTION:
            if (input.buttonsDown == 0 && !OnShownScreen(e.motion.x, e.motion.y)) break;
            input.rawX = e.motion.x;
            input.rawY = e.motion.y;
            break;
        case SDL_MOUSEBUTTONDOWN:
            if (!OnShownScreen(e.button.x, e.button.y)) break;
            input.rawX = e.button.x;
            input.rawY = e.button.y;
            input.buttonsDown |= ButtonBit(e.button.button);
            input.buttonsPressed |= ButtonBit(e.button.button);
            break;
        case SDL_MOUSEBUTTONUP:
            input.rawX = e.button.x;
            input.rawY = e.button.y;
            input.buttonsDown &= ~ButtonBit(e.button.button);
            break;
        case SDL_MOUSEWHEEL:
            input.wheelPending += e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -e.wheel.y : e.wheel.y;
            break;
        case SDL_KEYDOWN: {
            const int dik = SdlToDik(e.key.keysym.scancode);
            if (dik <= 0) break;
            input.keysDown[dik] = true;
            input.keysPressed[dik] = true;
            input.lastKeyDown = dik;
            break;
        }
        case SDL_KEYUP: {
            const int dik = SdlToDik(e.key.keysym.scancode);
            if (dik <= 0) break;
            input.keysDown[dik] = false;
            if (input.lastKeyDown == dik) input.lastKeyDown = -1;
            break;
        }
        case SDL_TEXTINPUT:
            // Text belongs to the key that produced it and is handed out when
            // that key goes up; text from no key (an input method) at once.
            input.typed.push_back(InputState::Typed{input.lastKeyDown, e.text.text});
            break;
        case SDL_QUIT:
            input.closeRequested = true;
            break;
        case SDL_WINDOWEVENT:
            if (e.window.event == SDL_WINDOWEVENT_CLOSE) input.closeRequested = true;
            if (e.window.event == SDL_WINDOWEVENT_EXPOSED || e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED ||
                e.window.event == SDL_WINDOWEVENT_RESTORED)
                ScreenExposed();
            break;
        case SDL_DROPFILE:
            if (e.drop.file) input.dropped.emplace_back(e.drop.file);
            SDL_free(e.drop.file);
            break;
        default:
            break;
    }
}

}  // namespace

void PumpEvents() {
    if (!SDL_WasInit(SDL_INIT_EVENTS)) return;
    SDL_Event e;
    while (SDL_PollEvent(&e)) OnEvent(e);
}

bool TakeCloseRequest() {
    const bool requested = input.closeRequested;
    input.closeRequested = false;
    return requested;
}

void EndInput() { input = InputState{}; }

}  // namespace svc

using namespace svc;

int Mouse_Init() {
    if (FailForced("mouse")) return 0;
    if (!EnsureSdl(SDL_INIT_EVENTS)) return 0;
    input.mouseReady = true;
    return 1;
}

void Mouse_Examine() {
    PumpEvents();
    const int w = Screen_Width(), h = Screen_Height(), scale = std::max(Screen_Scale(), 1);
    // Floor division: the window pixels of one block all name its screen pixel.
    const int x = input.rawX < 0 ? -1 : input.rawX / scale, y = input.rawY < 0 ? -1 : input.rawY / scale;
    input.mouseX = w > 0 ? std::clamp(x, 0, w - 1) : std::max(x, 0);
    input.mouseY = h > 0 ? std::clamp(y, 0, h - 1) : std::max(y, 0);
    input.mouseButtons = input.buttonsDown | input.buttonsPressed;
    input.buttonsPressed = 0;
    input.mouseWheel = input.wheelPending;
    input.wheelPending = 0;
}

int Mouse_X() { return input.mouseX; }
int Mouse_Y() { return input.mouseY; }

int Mouse_Button(int button) {
    if (button < 1 || button > 3) return 0;
    return (input.mouseButtons >> (button - 1)) & 1;
}

int Mouse_Wheel() { return input.mouseWheel; }

std::string Window_DroppedFile() {
    PumpEvents();
    if (input.dropped.empty()) return "";
    std::string path = std::move(input.dropped.front());
    input.dropped.erase(input.dropped.begin());
    return path;
}

int Key_Init() {
    if (FailForced("keyboard")) return 0;
    if (!EnsureSdl(SDL_INIT_EVENTS)) return 0;
    if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_StartTextInput();
    input.keyReady = true;
    return 1;
}

void Key_Examine() {
    PumpEvents();
    for (int k = 0; k < kKeyCount; ++k) {
        input.keySnapshot[k] = input.keysDown[k] || input.keysPressed[k];
        input.keysPressed[k] = false;
    }
}

int Key_Down(int scanCode) {
    if (scanCode == -1) return std::any_of(std::begin(input.keySnapshot), std::end(input.keySnapshot),
                                           [](bool b) { return b; }) ? 1 : 0;
    if (scanCode < 0 || scanCode >= kKeyCount) return 0;
    return input.keySnapshot[scanCode] ? 1 : 0;
}

int Key_Released(int scanCode) {
    if (scanCode == -1) {
        int any = 0;
        for (int k = 1; k < kKeyCount; ++k) any |= Key_Released(k);
        return any;
    }
    if (scanCode < 0 || scanCode >= kKeyCount) return 0;
    if (input.keySnapshot[scanCode]) {
        input.releasedMark[scanCode] = true;
        return 0;
    }
    if (!input.releasedMark[scanCode]) return 0;
    input.releasedMark[scanCode] = false;
    return 1;
}

std::string Key_TypedText() {
    // In typing order: text waits while its key is still held, and so does
    // everything typed after it (fast typists release keys out of order).
    std::string out;
    std::size_t n = 0;
    for (; n < input.typed.size(); ++n) {
        const InputState::Typed& t = input.typed[n];
        if (t.key > 0 && input.keySnapshot[t.key]) break;
        out += t.text;
    }
    input.typed.erase(input.typed.begin(), input.typed.begin() + static_cast<std::ptrdiff_t>(n));
    return out;
}

// ---------------------------------------------------------------- injection for tests
// Input goes in as real SDL events, taking the road real input takes.

void Testing_MouseMove(int x, int y) {
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.x = x;
    e.motion.y = y;
    input.injectedX = x;
    input.injectedY = y;
    Push(e);
}

void Testing_MouseButton(int button, bool down) {
    static constexpr Uint8 kButtons[] = {0, SDL_BUTTON_LEFT, SDL_BUTTON_RIGHT, SDL_BUTTON_MIDDLE};
    if (button < 1 || button > 3) return;
    SDL_Event e{};
    e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    e.button.button = kButtons[button];
    e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.button.clicks = 1;
    e.button.x = input.injectedX;
    e.button.y = input.injectedY;
    Push(e);
}

void Testing_MouseWheel(int notches) {
    SDL_Event e{};
    e.type = SDL_MOUSEWHEEL;
    e.wheel.y = notches;
    e.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
    Push(e);
}

void Testing_Key(int scanCode, bool down) {
    const int sdl = DikToSdl(scanCode);
    if (sdl == SDL_SCANCODE_UNKNOWN) return;
    SDL_Event e{};
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.scancode = static_cast<SDL_Scancode>(sdl);
    e.key.keysym.sym = SDL_GetKeyFromScancode(static_cast<SDL_Scancode>(sdl));
    Push(e);
}

void Testing_TypeText(const std::string& utf8) {
    // One event per character, as a keyboard delivers them.
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t n = Utf8CharacterBytes(utf8, i);
        SDL_Event e{};
        e.type = SDL_TEXTINPUT;
        const std::size_t len = std::min(n, sizeof e.text.text - 1);
        std::memcpy(e.text.text, utf8.data() + i, len);
        Push(e);
        i += n;
    }
}

void Testing_DropFile(const std::string& path) {
    SDL_Event e{};
    e.type = SDL_DROPFILE;
    e.drop.file = SDL_strdup(path.c_str());
    if (!Push(e)) SDL_free(e.drop.file);
}

void Testing_RequestClose() {
    SDL_Event e{};
    e.type = SDL_QUIT;
    Push(e);
}
