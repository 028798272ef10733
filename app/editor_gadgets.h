// The editor's 37 gadgets: their fixed numbers and the one table of the
// screen's layout, in creation order. The app creates the screen from the
// table; the design operations, the tests and the tools address the gadgets
// by these names.
#pragma once

#include <array>
#include <string>

// ---------------------------------------------------------------- gadget numbers
inline constexpr int kGadgetQuit = 0;               // "Quit"
inline constexpr int kGadgetDesignImages = 1;       // part images of the open design that have a setup
inline constexpr int kGadgetTitle = 2;              // "No Design" / "Design: n"
inline constexpr int kGadgetNew = 3;                // "New"
inline constexpr int kGadgetLoad = 4;               // "Load"
inline constexpr int kGadgetSave = 5;               // "Save" (disabled without a design)
inline constexpr int kGadgetAddImages = 6;          // "Add" part images
inline constexpr int kGadgetRemoveImage = 7;        // "Remove" a part image from the list
inline constexpr int kGadgetPrototypeCaption = 8;   // "Prototyp" / "Design"
inline constexpr int kGadgetMode = 9;               // "Mode" toggle: the test view
inline constexpr int kGadgetPrototypeName = 10;     // name field of the selected prototype
inline constexpr int kGadgetCompatibility = 11;     // prototypes allowed at the shown connection
inline constexpr int kGadgetPreviewFrame = 12;      // "View", around the prototype preview
inline constexpr int kGadgetPrototypeList = 13;     // the prototype names ("Parts")
inline constexpr int kGadgetAddPrototype = 14;      // "Add" a prototype
inline constexpr int kGadgetTestCaption = 15;       // "Test the parts"
inline constexpr int kGadgetOfferedPrototypes = 16; // prototypes allowed at the selected free connection
inline constexpr int kGadgetReset = 17;             // "Reset" the test ship
inline constexpr int kGadgetRandom = 18;            // "Random"
inline constexpr int kGadgetShipFrame = 19;         // "Design", around the ship canvas
inline constexpr int kGadgetSaveAs = 20;            // "Save as": the five size classes
inline constexpr int kGadgetArrowUp = 21;           // moves the test view
inline constexpr int kGadgetArrowDown = 22;
inline constexpr int kGadgetArrowLeft = 23;
inline constexpr int kGadgetArrowRight = 24;
inline constexpr int kGadgetLoadFrame = 25;         // frame of the load panel
inline constexpr int kGadgetFileList = 26;          // design folders or picture files
inline constexpr int kGadgetFolderInfo = 27;        // read-only information text of a design folder
inline constexpr int kGadgetLoadOK = 28;            // "OK" of the load panel
inline constexpr int kGadgetSetupFrame = 29;        // "Setup Part"
inline constexpr int kGadgetSetupImageFrame = 30;   // "Images with a setup", captioned with the image's name
inline constexpr int kGadgetClear = 31;             // "Clear"
inline constexpr int kGadgetPointX = 32;            // x of the selected setup point
inline constexpr int kGadgetPointY = 33;            // y of the selected setup point
inline constexpr int kGadgetSetupPrototype = 34;    // prototype choice of the part setup
inline constexpr int kGadgetSetupOK = 35;           // "OK" of the setup panel
inline constexpr int kGadgetSetupRows = 36;         // display offset and connection rows
inline constexpr int kEditorGadgetCount = 37;

// ---------------------------------------------------------------- the layout table
// Which creation operation makes a gadget.
enum class GadgetShape { Text, TextField, Editor, Button, ColumnList, FileList, Frame, ImageButton };

// One row of the screen's table. `label` indexes Labels (-1: no caption);
// `extra` is a list's first column width or an image button's image number.
struct GadgetLayout {
    int number;         // fixed gadget number
    GadgetShape shape;  // creation operation
    int x, y, width, height;
    int label;          // caption, Labels index; -1 none
    int flags;          // creation flags
    int extra;          // column width (lists) or image number (image buttons); 0 otherwise
};

// The 37 gadgets in creation order.
extern const std::array<GadgetLayout, kEditorGadgetCount> kEditorLayout;

// The table's row of a gadget number; nullptr for a number not in the layout.
const GadgetLayout* FindGadgetLayout(int number);
// Creates one gadget of the table (a FileList lists `fileListDirectory`);
// returns the creation's result.
int CreateLayoutGadget(const GadgetLayout& layout, const std::string& fileListDirectory = "");
