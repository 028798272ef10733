// The pictures the editor draws itself in every frame, after the gadgets,
// and the mouse and keys on them: the part image of the setup panel with its
// markers, the prototype preview and its connection slots, the load panel's
// previews and the test ship canvas.
//
// The mouse handlers read FrameEventType, which still holds the event of the
// previous frame's event processing, so a click is acted on one frame after
// it was reported:
//
//   frame | toolkit reports | picture step sees (FrameEventType)
//   ------+-----------------+-----------------------------------
//   n     | LeftDown        | whatever frame n - 1 reported
//   n + 1 | LeftUp          | LeftDown
//   n + 2 | Gadget / None   | LeftUp: the click is handled here
#include <algorithm>
#include <cmath>

#include "app.h"
#include "editor_tables.h"
#include "editor_gadgets.h"
#include "gadget.h"
#include "history.h"
#include "part_palette.h"
#include "picture_layout.h"
#include "prototype_views.h"
#include "prototypes.h"
#include "services.h"
#include "ship_assembly.h"

namespace {

// The cross-hair is cut to the band of the picture's frame that the picture
// can fill: clear of the frame's lines and caption and of the gadgets around.
constexpr int kCrosshairClipX = kSetupAreaX + 1;
constexpr int kCrosshairClipY = kSetupAreaY + (kSetupAreaHeight - kSetupPictureSide) / 2;
constexpr int kCrosshairClipWidth = kSetupAreaWidth - 1;
constexpr int kCrosshairClipHeight = kSetupPictureSide;
// The prototype preview's square on the screen, and where its slots react.
constexpr int kPreviewBoxX = kPreviewX + kPreviewSquareX;
constexpr int kPreviewBoxY = kPreviewY + kPreviewSquareY;
constexpr int kPreviewAreaLeft = 120, kPreviewAreaRight = 380;
constexpr int kPreviewAreaTop = 370, kPreviewAreaBottom = 570;
constexpr double kSlotReach = 6.0;
// Setup markers.
constexpr int kConnectionMarkerColour = 0x0080FF;
constexpr int kConnectionMarkerRadius = 3;
constexpr int kOffsetMarkerColour = 0x59CA65;
constexpr int kOffsetMarkerRadius = 2;
constexpr double kCrosshairImagePixels = 32.0;
constexpr int kCrosshairMaxSide = 250;

// A point of the part image on the screen.
int SetupScreenX(double px) { return RoundHalfEven(editor.SetupOriginX + px * editor.SetupZoom + kSetupAreaX); }
int SetupScreenY(double py) { return RoundHalfEven(editor.SetupOriginY + py * editor.SetupZoom + kSetupAreaY); }

const Prototype* SetupPrototype() { return design.Prototypes.At(design.PartSetup.PrototypeIndex); }

// Step 1: the part image being set up.
void DrawPartImage() {
    if (editor.EditorMode != kSetupPanel) return;
    const int handle = Image_Handle(kPartImage);
    if (handle == 0) return;
    const int width = RoundHalfEven(Image_Width(kPartImage) * static_cast<double>(editor.SetupZoom));
    const int height = RoundHalfEven(Image_Height(kPartImage) * static_cast<double>(editor.SetupZoom));
    if (width < 1 || height < 1) return;
    if (!Draw_Begin(Draw_ScreenOutput())) return;
    const int x = editor.SetupOriginX + kSetupAreaX;
    const int y = editor.SetupOriginY + kSetupAreaY;
    // The services keep the shrunk copy: a large picture is not scaled again every frame.
    Draw_Image(handle, x, y, width, height);
    Draw_End();
}

// Step 2.2: clicks on the preview's connection slots switch or select them.
void HandlePreviewSlots() {
    const int mx = interaction.MouseX;
    const int my = interaction.MouseY;
    if (design.TestMode != 0 || mx < kPreviewAreaLeft || mx > kPreviewAreaRight || my < kPreviewAreaTop ||
        my > kPreviewAreaBottom)
        return;
    const int current = design.CurrentPrototype;
    bool hit = false;
    for (int i = 0; i < kConnections; ++i) {
        const double dx = ConnectionSlots[2 * i] - mx + kPreviewBoxX;
        const double dy = ConnectionSlots[2 * i + 1] - my + kPreviewBoxY;
        if (std::sqrt(dx * dx + dy * dy) > kSlotReach) continue;
        const Prototype* prototype = design.Prototypes.At(current);
        if (editor.FrameEventType == EventType_RightUp && prototype && IsConnectionOn(prototype->ConnectionMask[i])) {
            design.SelectedProtoConnection = i;
            hit = true;
        }
        if (editor.FrameEventType == EventType_LeftUp) EditToggleConnection(current, i);
    }
    if (hit) FillCompatibilityList(current);
    // Redrawn in every frame the pointer is over it, so a switched slot shows at once.
    DrawPrototypePreview(Gadget_GetState(kGadgetPrototypeList));
}

// A number typed into one of the point fields and confirmed with Enter.
bool TypedCoordinate(int field, int& value) {
    if (Gadget_GetActive() != field) return false;
    if (!Key_Released(kKeyReturn) && !Key_Released(kKeyPadEnter)) return false;
    const std::string text = Gadget_GetText(field);
    std::size_t i = text.find_first_not_of(' ');
    if (i == std::string::npos) return false;
    if (text[i] == '-' || text[i] == '+') ++i;
    const std::size_t digits = text.find_first_not_of("0123456789", i);
    const std::size_t end = text.find_last_not_of(' ');
    if (i >= text.size() || (digits != std::string::npos && digits <= end)) return false;
    value = Val(text);
    return true;
}

bool TextFieldFocused() { return Gadget_Kind(Gadget_GetActive()) == GadgetKind_TextField; }

// Step 2.3: the selected setup point, moved by a click on the image, by the
// cursor keys or by a typed value, and its markers. Each click and typed
// value is one undo step, and so is each hold of the cursor keys.
void HandleSetupPoint() {
    if (editor.DraggingOffset < 0 && editor.DraggedConnection < 0) return;
    PartSetup& setup = design.PartSetup;
    const int j = editor.DraggedConnection;
    const bool offset = editor.DraggingOffset >= 0;
    if (!offset && (j < 0 || j >= kConnections)) return;
    const std::int32_t& tx = offset ? setup.OffsetX : setup.ConnX[static_cast<std::size_t>(j)];
    const std::int32_t& ty = offset ? setup.OffsetY : setup.ConnY[static_cast<std::size_t>(j)];
    const int width = Image_Width(kPartImage);
    const int height = Image_Height(kPartImage);

    std::int64_t dx = 0;
    std::int64_t dy = 0;
    const int left = editor.SetupOriginX + kSetupAreaX;
    const int top = editor.SetupOriginY + kSetupAreaY;
    const int mx = interaction.MouseX;
    const int my = interaction.MouseY;
    const bool clicked = editor.FrameEventType == EventType_LeftUp && editor.SetupZoom > 0.0f && mx >= left &&
                         mx <= SetupScreenX(width) && my >= top && my <= SetupScreenY(height);
    if (clicked) {
        dx = RoundHalfEven((mx - left) / static_cast<double>(editor.SetupZoom)) - std::int64_t{tx};
        dy = RoundHalfEven((my - top) / static_cast<double>(editor.SetupZoom)) - std::int64_t{ty};
    }
    // The cursor keys belong to a text field while it is being typed into.
    const bool keys = !TextFieldFocused() && (Key_Down(kKeyUp) || Key_Down(kKeyDown) || Key_Down(kKeyLeft) || Key_Down(kKeyRight));
    if (keys) {
        if (!editor.SetupKeysDown) ++editor.SetupKeyHold;
        if (Key_Down(kKeyUp)) dy -= 1;
        if (Key_Down(kKeyDown)) dy += 1;
        if (Key_Down(kKeyLeft)) dx -= 1;
        if (Key_Down(kKeyRight)) dx += 1;
    }
    editor.SetupKeysDown = keys ? 1 : 0;
    int typed = 0;
    const bool typedX = TypedCoordinate(kGadgetPointX, typed);
    if (typedX) dx = std::int64_t{typed} - tx;
    const bool typedY = TypedCoordinate(kGadgetPointY, typed);
    if (typedY) dy = std::int64_t{typed} - ty;

    const auto x = static_cast<std::int32_t>(std::clamp<std::int64_t>(std::int64_t{tx} + dx, 0, width));
    const auto y = static_cast<std::int32_t>(std::clamp<std::int64_t>(std::int64_t{ty} + dy, 0, height));
    // A point only pulled back onto the picture was not moved by anyone: no step.
    const int point = offset ? -1 : j;
    if (clicked || keys || typedX || typedY) {
        EditSetupPoint(point, x, y, keys && !clicked && !typedX && !typedY ? editor.SetupKeyHold : 0);
    } else if (offset) {
        setup.OffsetX = x, setup.OffsetY = y;
    } else {
        setup.ConnX[static_cast<std::size_t>(j)] = x, setup.ConnY[static_cast<std::size_t>(j)] = y;
    }

    const int row = offset ? 0 : j + 1;
    Gadget_SetItemText(kGadgetSetupRows, row, Str(tx), 1);
    Gadget_SetItemText(kGadgetSetupRows, row, Str(ty), 2);
    // A field being typed into keeps its text until the number is confirmed.
    if (Gadget_GetActive() != kGadgetPointX || typedX) Gadget_SetText(kGadgetPointX, Str(tx));
    if (Gadget_GetActive() != kGadgetPointY || typedY) Gadget_SetText(kGadgetPointY, Str(ty));

    if (!Draw_Begin(Draw_ScreenOutput())) return;
    Draw_Mode(0);
    const Prototype* prototype = SetupPrototype();
    if (!offset)
        Draw_Circle(SetupScreenX(setup.OffsetX), SetupScreenY(setup.OffsetY), kOffsetMarkerRadius, kOffsetMarkerColour);
    for (int i = 0; i < kConnections; ++i) {
        if (i == j || !prototype || !HasActiveFlag(prototype->ConnectionMask[static_cast<std::size_t>(i)])) continue;
        Draw_Circle(SetupScreenX(setup.ConnX[static_cast<std::size_t>(i)]),
                    SetupScreenY(setup.ConnY[static_cast<std::size_t>(i)]), kConnectionMarkerRadius,
                    kConnectionMarkerColour);
    }
    Draw_End();
    // Halved before rounding: the rounded side would put odd sizes a pixel off.
    const int half = RoundHalfEven(std::min(editor.SetupZoom * kCrosshairImagePixels, double{kCrosshairMaxSide}) / 2.0);
    Sprite_DisplayTransparentClipped(kCrosshairSprite, SetupScreenX(tx) - half, SetupScreenY(ty) - half,
                                     kCrosshairClipX, kCrosshairClipY, kCrosshairClipWidth, kCrosshairClipHeight);
}

// Steps 3 and 4: the load panel's picture preview and a design folder's sample.
void DrawLoadPanelPictures() {
    // Only on the load panel: leaving it by another command must not leave the picture behind.
    if (editor.EditorMode != kLoadPanel || (editor.PreviewZoom <= 0.0f && editor.SampleScale <= 0)) return;
    const int handle = Image_Handle(kPreviewImage);
    if (handle == 0 || !Draw_Begin(Draw_ScreenOutput())) return;
    const double width = Image_Width(kPreviewImage);
    const double height = Image_Height(kPreviewImage);
    if (editor.PreviewZoom > 0.0f) {
        const int w = RoundHalfEven(width * editor.PreviewZoom);
        const int h = RoundHalfEven(height * editor.PreviewZoom);
        Draw_Image(handle, RoundHalfEven((kLoadPreviewSide - w) / 2.0 + kLoadPreviewX),
                   RoundHalfEven((kLoadPreviewSide - h) / 2.0 + kLoadPreviewY), w, h);
    }
    if (editor.SampleScale > 0)
        Draw_Image(handle, kSampleX, kSampleY, static_cast<int>(width) * editor.SampleScale,
                   static_cast<int>(height) * editor.SampleScale);
    Draw_End();
}

// Step 5: the test ship canvas, and a click on it.
void DrawTestShip() {
    if (design.TestMode == 0 || editor.EditorMode == kSetupPanel) return;
    Sprite_Display(kShipCanvasSprite, kShipCanvasScreenX, kShipCanvasScreenY);
    if (editor.FrameEventType != EventType_LeftUp) return;
    // Only a click on the canvas itself: parts reaching past its edges are not drawn there either.
    const int mx = interaction.MouseX;
    const int my = interaction.MouseY;
    if (mx < kShipCanvasScreenX || mx >= kShipCanvasScreenX + kShipCanvasWidth || my < kShipCanvasScreenY || my >= kShipCanvasScreenY + kShipCanvasHeight)
        return;
    const std::uint32_t code = HitTestCanvas(mx, my);
    if (code != 0) SelectShipElement(code);
}

}  // namespace

int CrosshairSide() {
    // 32 image pixels wide, but never wider than the drawn picture's longer
    // side: a 1 x 1 picture would otherwise ask for an 8000 x 8000 marker.
    return std::min(RoundHalfEven(editor.SetupZoom * kCrosshairImagePixels), kCrosshairMaxSide);
}

void DrawEditorPictures() {
    DrawPartImage();
    if (design.Prototypes.Count() > 0) {
        if (design.PreviewVisible) Sprite_Display(kPreviewSprite, kPreviewX, kPreviewY);
        HandlePreviewSlots();
        HandleSetupPoint();
    }
    DrawLoadPanelPictures();
    DrawTestShip();
}
