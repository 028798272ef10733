// FileList refill: a directory specification ("dir\*.png;*.jpg") becomes
// rows of directory entries, one cell per file-data column.
#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "gadget_internal.h"
#include "lists_internal.h"
#include "paths.h"
#include "services.h"

namespace {

constexpr int kContentName = 1;
constexpr int kContentSize = 2;
constexpr int kContentType = 3;
constexpr int kContentAttributes = 4;
constexpr int kContentCreated = 5;
constexpr int kContentModified = 6;
constexpr int kContentAccessed = 7;
constexpr int kDateCreated = 0, kDateAccessed = 1, kDateModified = 2;  // Dir_EntryDate
const char* const kDateMask = "%yyyy.%mm.%dd %hh:%ii";
const char* const kNoDirectory = "C:\\";
// The separator the list puts between folders; a "\\" in a name from the disk is a letter.
const std::string kSeparator = OwnPath("\\");

std::string PathPart(std::string_view s) {
    const size_t sep = s.rfind(kSeparator);
    return sep == std::string_view::npos ? std::string() : std::string(s.substr(0, sep + 1));
}

std::string FilePart(std::string_view s) {
    const size_t sep = s.rfind(kSeparator);
    return std::string(sep == std::string_view::npos ? s : s.substr(sep + 1));
}

// After the last "."; never reaches back past a separator.
std::string Extension(std::string_view name) {
    const size_t dot = name.rfind('.');
    if (dot == std::string_view::npos) return {};
    const size_t sep = name.rfind(kSeparator);
    if (sep != std::string_view::npos && sep > dot) return {};
    return std::string(name.substr(dot + 1));
}

std::vector<std::string> SplitFields(const std::string& text, char separator) {
    std::vector<std::string> fields;
    size_t start = 0;
    for (;;) {
        const size_t at = text.find(separator, start);
        if (at == std::string::npos) {
            fields.push_back(text.substr(start));
            return fields;
        }
        fields.push_back(text.substr(start, at - start));
        start = at + 1;
    }
}

std::string AttributeLetters(int attributes) {
    static const struct {
        int bit;
        char letter;
    } kLetters[] = {{kAttrReadOnly, 'R'}, {kAttrHidden, 'H'},      {kAttrSystem, 'S'},
                    {kAttrArchive, 'A'},  {kAttrCompressed, 'C'}, {kAttrNormal, 'N'}};
    std::string letters;
    for (const auto& l : kLetters)
        if (attributes & l.bit) letters += l.letter;
    return letters;
}

// The row text of the scan's current entry: one cell per file-data column.
std::string EntryRow(const ColumnListRecord& list, int scan, const std::string& name, int type) {
    std::string text;
    for (int c = 0; c < kMaxColumns; ++c) {
        if (list.columnWidth[c] < 1 || list.columnContent[c] < 1) continue;
        switch (list.columnContent[c]) {
            case kContentName: text += name; break;
            case kContentSize: text += Str(Dir_EntrySize(scan) / 1024) + " kB"; break;
            case kContentType: text += type == kEntryDirectory ? std::string("DIR") : Extension(name); break;
            case kContentAttributes: text += AttributeLetters(Dir_EntryAttributes(scan)); break;
            case kContentCreated: text += Date_Format(kDateMask, Dir_EntryDate(scan, kDateCreated)); break;
            case kContentModified: text += Date_Format(kDateMask, Dir_EntryDate(scan, kDateModified)); break;
            case kContentAccessed: text += Date_Format(kDateMask, Dir_EntryDate(scan, kDateAccessed)); break;
            default: break;
        }
        text += '\n';
    }
    return text;
}

bool PatternsMatch(const std::vector<std::string>& patterns, const std::string& name) {
    const std::string ext = LCase(Extension(name));
    for (const auto& p : patterns)
        if (p == "*" || p == ext) return true;
    return false;
}

}  // namespace

int FileList_NameCell(const ColumnListRecord& list) {
    int cell = 0;
    for (int c = 0; c < kMaxColumns; ++c) {
        if (list.columnWidth[c] < 1 || list.columnContent[c] < 1) continue;
        ++cell;
        if (list.columnContent[c] == kContentName) return cell;
    }
    return 1;
}

void FileList_RefillWithCurrentRow(GadgetRecord& gadget, const std::string& spec, int currentRow) {
    auto* list = KindAs<ColumnListRecord>(&gadget);
    if (!list || gadget.kind != GadgetKind_FileList) return;
    const int flags = list->fileListFlags;

    const std::vector<std::string> fields = SplitFields(spec, ';');
    std::string dir = PathPart(fields[0]);
    const std::string name = FilePart(fields[0]);
    std::vector<std::string> patterns;
    if (!name.empty()) patterns.push_back(LCase(Extension(name)));
    for (size_t k = 1; k < fields.size(); ++k) patterns.push_back(LCase(Extension(fields[k])));
    if (dir.empty()) dir = kNoDirectory;

    // Opening the current row; its name is read from the name column, wherever that is.
    const int nameCell = FileList_NameCell(*list);
    if (!(flags & kFileListNoNavigation) && currentRow >= 0 && currentRow < static_cast<int>(list->rows.size()) &&
        list->rows[currentRow].selected) {
        const RowRecord& row = list->rows[currentRow];
        const std::string entry(List_RowCell(row.text, nameCell));
        if (entry == "..") {
            dir = PathPart(std::string_view(dir).substr(0, dir.size() - 1));
        } else if (row.entryType == kEntryDirectory && !entry.empty()) {
            dir += entry + kSeparator;
        }
    }

    if (patterns.empty()) patterns.push_back("*");
    list->directory = dir + "*." + patterns[0];
    for (size_t k = 1; k < patterns.size(); ++k) list->directory += ";*." + patterns[k];

    list->rows.clear();
    list->rowsHaveImages = 0;
    // The old rows are gone, so a Shift click must not reach back to them.
    list->anchorRow = -1;
    if (dir.empty()) return;  // the parent of a root

    // Directories first, then files; ".." is put on top so it can stay there.
    int parentRows = 0;
    for (const int pass : {kEntryDirectory, kEntryFile}) {
        const int passStart = static_cast<int>(list->rows.size());
        const int scan = Dir_Examine(kServiceAuto, dir, "*.*");
        if (!scan) return;
        while (Dir_Next(scan)) {
            const int type = Dir_EntryType(scan);
            if (type != pass) continue;
            const std::string entry = Dir_EntryName(scan);
            if (entry == ".") continue;
            if (type == kEntryDirectory && (flags & kFileListNoDirectories)) continue;
            if (entry == ".." && (flags & kFileListNoParent)) continue;
            if (type == kEntryFile && ((flags & kFileListNoFiles) || !PatternsMatch(patterns, entry))) continue;
            const bool parent = entry == ".." && type == kEntryDirectory;
            RowRecord& row = List_InsertRow(gadget, *list, parent ? 0 : -1, EntryRow(*list, scan, entry, type), 0);
            row.entryType = type;
            parentRows += parent ? 1 : 0;
        }
        Dir_Finish(scan);
        if (flags & kFileListSortByName) {
            const int from = pass == kEntryDirectory ? std::min(parentRows, 1) : passStart;
            List_SortRows(*list, nameCell, kCompareText, kSortAscending, from, static_cast<int>(list->rows.size()));
        }
    }
}

int FileList_Refill(int number, const std::string& directorySpec) {
    // Outside a click there is no current row to open.
    if (GadgetRecord* gadget = FindGadget(number)) FileList_RefillWithCurrentRow(*gadget, directorySpec, -1);
    return 0;
}
