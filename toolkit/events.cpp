// The toolkit's per-frame input step: one mouse and keyboard snapshot is
// handed to the focused text field and to the gadget under the pointer, and
// at most one event is left for the program. No queue: each call overwrites
// the previous frame's event.
#include <algorithm>
#include <cstdint>
#include <string>

#include "gadget_internal.h"
#include "layout.h"
#include "services.h"

namespace {

constexpr int kKeyRepeatPauseMs = 50;    // a held editing key acts once per frame; this sets its rate
constexpr int kWheelRows = 3;           // rows a wheel notch scrolls a list: three clicks of an arrow

// Mouse buttons as the event state stores them.
constexpr int kLeft = 1;
constexpr int kRight = 2;

bool IsDigit(const std::string& character) {
    return character.size() == 1 && character[0] >= '0' && character[0] <= '9';
}

// Mouse button state machine (steps 2 and 8), frame by frame. Left button
// pressed over gadget G for two frames, released over it, then left alone:
//
//   frame | Mouse_Button(1) | buttonHeld before -> after | eventType     | result | eventGadget | focus
//   ------+-----------------+----------------------------+---------------+--------+-------------+------
//     1   | held            | 0 -> 1                     | LeftDown  (2) | 13100  | G           | G
//     2   | held            | 1 -> 1                     | LeftDown  (2) | 13100  | G           | G
//     3   | up              | 1 -> 0                     | LeftUp    (4) | 13100  | G           | kept
//     4   | up              | 0 -> 0                     | Gadget    (1) | 13100  | G           | kept
//
// Over nothing hittable the types are the same, the result is 0, eventGadget
// -1, and every held frame drops the focus to -1. The right button alone gives
// RightDown (3) / RightUp (5); with both held only the left one counts. The
// release is reported for whatever lies under the pointer in frame 3, not for
// the gadget that was pressed. A wheel notch outranks Gadget and the release
// types (the click is then lost), never a held button.
//
// Keyboard focus (activeGadget):
//
//   what happens this frame                          | activeGadget
//   -------------------------------------------------+---------------------------
//   a gadget is created (creation code)              | the number as passed
//   a button is held over a hittable gadget G        | G, again every held frame
//   a button is held over nothing hittable           | -1
//   release, hover, wheel                            | unchanged
void ReadMouse() {
    ToolkitState& t = toolkit;
    t.mouseX = Mouse_X();
    t.mouseY = Mouse_Y();
    if (Mouse_Button(1)) {
        t.buttonState = kLeft;
    } else if (Mouse_Button(2)) {
        t.buttonState = kRight;
    } else {
        if (t.buttonHeld == kLeft) t.eventType = EventType_LeftUp;
        if (t.buttonHeld == kRight) t.eventType = EventType_RightUp;
        t.buttonHeld = 0;
        t.dragOffset = 0;
    }
}

// Typed characters, deleting keys and moving keys on one text field; returns
// the edit count that decides the repeat pause. Caret positions count
// characters, as the services' text helpers do.
int EditTextField(TextFieldRecord& field, const std::string& typed) {
    int edits = Len(typed);
    int length = Len(field.text);
    // Any caret a caller left outside the text is pulled back in before editing.
    if (field.caret < 0) field.caret = 0;
    if (field.caret > length) field.caret = length;

    for (std::size_t i = 0; i < typed.size();) {
        const std::size_t bytes = Utf8CharacterBytes(typed, i);
        const std::string c = typed.substr(i, bytes);
        i += bytes;
        if ((field.flags & kFieldDigitsOnly) && !IsDigit(c)) continue;
        if (field.caret == length) {
            field.text += c;
        } else if (field.overwrite == 0) {
            field.text = Left(field.text, field.caret) + c + Right(field.text, length - field.caret);
        } else {
            field.text = Left(field.text, field.caret) + c + Right(field.text, length - field.caret - 1);
        }
        field.caret += 1;
        length = Len(field.text);
    }

    if (Key_Down(kKeyBackspace)) {
        if (field.caret > 0) {
            field.text = Left(field.text, field.caret - 1) + Right(field.text, length - field.caret);
            field.caret -= 1;
            length = Len(field.text);
        }
        ++edits;
    }
    if (Key_Down(kKeyDelete)) {
        if (field.caret < length) {
            field.text = Left(field.text, field.caret) + Right(field.text, length - field.caret - 1);
            length = Len(field.text);
        }
        ++edits;
    }

    // Only the first held key of this order acts; End alone costs no pause.
    if (Key_Down(kKeyRight)) {
        if (field.caret < length) field.caret += 1;
        ++edits;
    } else if (Key_Down(kKeyLeft)) {
        if (field.caret > 0) field.caret -= 1;
        ++edits;
    } else if (Key_Down(kKeyHome)) {
        field.caret = 0;
        ++edits;
    } else if (Key_Down(kKeyEnd)) {
        field.caret = length;
    } else if (Key_Down(kKeyInsert)) {
        field.overwrite = field.overwrite ? 0 : 1;
        ++edits;
    }
    return edits;
}

// Step 4. Editors take no keys: the only one the program makes is read-only.
void KeyboardToFocus(const std::string& typed) {
    ToolkitState& t = toolkit;
    if (t.records.empty() || t.activeGadget < 0) return;
    GadgetRecord* focused = FindGadget(t.activeGadget);
    if (!focused || focused->disabled) return;
    TextFieldRecord* field = KindAs<TextFieldRecord>(focused);
    if (!field || (field->flags & kFieldReadOnly)) return;
    if (EditTextField(*field, typed) != 0) Delay(kKeyRepeatPauseMs);
}

// Step 5: first hittable gadget in record order; both edges are inside.
GadgetRecord* HitTest() {
    ToolkitState& t = toolkit;
    const std::int64_t mx = t.mouseX, my = t.mouseY;
    for (GadgetRecord& g : t.records) {
        t.lastAccessed = &g;
        if (g.hidden || g.disabled || g.kind == GadgetKind_Frame) continue;
        if (g.x <= mx && mx <= std::int64_t{g.x} + g.width && g.y <= my && my <= std::int64_t{g.y} + g.height)
            return &g;
    }
    return nullptr;
}

// Toggle buttons flip on the press; the program sees the click on the release.
void ToggleOnPress(int toggle, int& state) {
    const ToolkitState& t = toolkit;
    if (toggle && t.buttonState == kLeft && t.buttonHeld == 0) state = state ? 0 : 1;
}

// Scroll bar under a held left button (vertical; p is the pointer's y; the
// arrows, the thumb and its travel are ScrollBarParts'; a thumb's top as the
// pointer finds it, `grab`, is the up arrow's bottom + thumbAlong, one pixel
// above where it is painted).
//
//   frame | pointer, left button               | dragOffset               | value
//   ------+------------------------------------+--------------------------+-----------------------------
//     1   | pressed on an arrow                | 0                        | -1 / +1
//     2.. | still held on the arrow            | 0                        | -1 / +1 again, every frame
//     1   | pressed in the track before/after  | 0                        | -1 / +1, once per press
//     1   | pressed on the thumb               | 0 -> grab - p            | from p + dragOffset
//     2.. | held, moved anywhere over the bar  | kept                     | min + (p + dragOffset - trackTop)
//         |                                    |                          |       * (max - min) / travel
//     n   | released                           | -> 0 (ReadMouse)         | kept
//
// Every frame ends by clamping value to minimum .. maximum - page + 1. With an
// empty range the thumb sits at the top of the track; with no track left for
// the thumb to travel a grab keeps the value.
void ScrollBarStep(const GadgetRecord& g, ScrollBarRecord& bar) {
    ToolkitState& t = toolkit;
    if (t.buttonState != kLeft) return;
    const ScrollBarLayout parts = ScrollBarParts(g, bar);
    const std::int64_t p = t.mouseY, travel = parts.travel;
    const std::int64_t range = std::int64_t{bar.maximum} - bar.minimum;
    const std::int64_t trackStart = parts.upArrow.Bottom(), trackEnd = parts.downArrow.y;
    std::int64_t value = bar.value;

    if (t.dragOffset == 0 && parts.upArrow.y <= p && p <= parts.upArrow.Bottom()) {
        value -= 1;
    } else if (t.dragOffset == 0 && parts.downArrow.y <= p && p <= parts.downArrow.Bottom()) {
        value += 1;
    } else if (t.dragOffset != 0 || (t.buttonHeld == 0 && trackStart <= p && p <= trackEnd)) {
        const std::int64_t grab = trackStart + parts.thumbAlong;
        if (t.dragOffset == 0 && p <= grab) {
            if (t.buttonHeld == 0) value -= 1;
        } else if (t.dragOffset == 0 && p > grab + bar.thumbLength) {
            if (t.buttonHeld == 0) value += 1;
        } else {
            if (t.dragOffset == 0) t.dragOffset = static_cast<int>(grab - p);
            // Off either end of the track the value is clamped below anyway;
            // held within it, the product stays inside 64 bits.
            if (travel > 0) {
                const std::int64_t along = std::clamp<std::int64_t>(p + t.dragOffset - parts.trackTop, 0, travel);
                value = bar.minimum + along * range / travel;
            }
        }
    }
    if (value < INT32_MIN) value = INT32_MIN;
    if (value > INT32_MAX) value = INT32_MAX;
    ScrollBar_SetValue(bar, static_cast<int>(value));
}

// A wheel notch over a list (or a scroll bar) moves its bar as three arrow
// clicks would; away from the user scrolls towards the top.
void WheelScroll(GadgetRecord& g) {
    const ToolkitState& t = toolkit;
    if (t.wheelDelta == 0 || t.buttonState != 0) return;
    GadgetRecord* barGadget = g.kind == GadgetKind_ScrollBar ? &g : IsList(&g) ? OwnScrollBar(&g) : nullptr;
    ScrollBarRecord* bar = KindAs<ScrollBarRecord>(barGadget);
    if (!bar) return;
    const std::int64_t value = std::int64_t{bar->value} - std::int64_t{kWheelRows} * t.wheelDelta;
    ScrollBar_SetValue(*bar, static_cast<int>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX)));
}

// Step 7: the hit gadget's own mouse behaviour.
void MouseBehaviour(GadgetRecord& g) {
    WheelScroll(g);
    switch (g.kind) {
    case GadgetKind_Button:
        if (ButtonRecord* b = KindAs<ButtonRecord>(&g)) ToggleOnPress(b->toggle, b->state);
        break;
    case GadgetKind_ImageButton:
        if (ImageButtonRecord* b = KindAs<ImageButtonRecord>(&g)) ToggleOnPress(b->toggle, b->state);
        break;
    case GadgetKind_ColumnList:
    case GadgetKind_FileList:
        List_MouseStep(g);
        break;
    case GadgetKind_ScrollBar:
        if (ScrollBarRecord* bar = KindAs<ScrollBarRecord>(&g)) ScrollBarStep(g, *bar);
        break;
    default:
        break;
    }
}

}  // namespace

int Gadget_ProcessEvents() {
    ToolkitState& t = toolkit;
    int result = 0;

    t.eventType = EventType_None;
    t.buttonState = 0;
    t.eventGadget = -1;
    t.eventInHeader = 0;

    ReadMouse();

    t.wheelDelta = Mouse_Wheel();
    // No Key_Examine here: the caller takes the keyboard snapshot once per
    // frame with the mouse's, and a second one would drop a key pressed and
    // let go within the frame, which the first snapshot still shows held.

    // Taken every frame, focused field or not, so that characters typed with
    // no field focused never spill into the next field that gets the focus.
    const std::string typed = Key_TypedText();

    KeyboardToFocus(typed);

    if (GadgetRecord* hit = HitTest()) {
        result = GadgetEvent;
        if (t.eventType == EventType_None) t.eventType = EventType_Gadget;
        t.eventGadget = hit->number;
        if (t.buttonState != 0) t.activeGadget = hit->number;
        MouseBehaviour(*hit);
    }

    List_EndFrame();

    if (t.buttonState != 0 && t.eventType == EventType_None) t.activeGadget = -1;
    if (t.buttonState == kLeft) {
        t.eventType = EventType_LeftDown;
        t.buttonHeld = kLeft;
    } else if (t.buttonState == kRight) {
        t.eventType = EventType_RightDown;
        t.buttonHeld = kRight;
    } else if (t.wheelDelta != 0) {
        t.eventType = EventType_Wheel;
    }
    return result;
}

int Gadget_EventGadget() { return toolkit.eventGadget; }

int Gadget_EventType() { return toolkit.eventType; }

int Gadget_EventInHeader() { return toolkit.eventInHeader; }
