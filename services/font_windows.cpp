// Which font file a face name means on Windows: the DejaVu Sans faces the
// release carries in Fonts\ beside the program (or beside its folder, as in
// the build), whatever the name. Fonts the user installed are not looked at:
// the editor looks the same everywhere.
#include "services_internal.h"
#include "paths.h"

namespace svc {

// No slanted face is carried: italic is always sheared.
bool FindFace(const std::string&, bool bold, bool, FaceFile& found) {
    const std::string program = ProgramDirectory();
    for (const char* folder : {"Fonts\\", "..\\Fonts\\"}) {
        const std::string fonts = program + folder;
        const std::string boldFile = fonts + "DejaVuSans-Bold.ttf";
        const std::string regularFile = fonts + "DejaVuSans.ttf";
        found = FaceFile{};
        if (bold && File_Size(boldFile) > 0) {
            found.path = boldFile;
            found.bold = true;
            return true;
        }
        if (File_Size(regularFile) > 0) {
            found.path = regularFile;
            return true;
        }
    }
    return false;
}

}  // namespace svc
