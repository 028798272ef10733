// Export and import of whole design folders.
#include "design_exchange.h"

#include <algorithm>
#include <utility>

#include "design_folder.h"
#include "design_folders.h"
#include "part_setup.h"
#include "paths.h"
#include "prototypes.h"
#include "services.h"

namespace {

ExchangeOutcome Refused(const std::string& reason) { return {kExchangeRefused, reason, 0}; }

// A link leading out of the folder is never read: its target may be any
// file of the user's, which the document would then carry away.
bool LeavesFolder(const std::string& folder, const std::string& name) { return File_LinkKind(folder + name) == kLinkOutside; }

std::string LinkRefusal(const std::string& name) { return QuoteName(name) + " is a link leading out of the folder: not read"; }

std::string WithSeparator(const std::string& folder) {
    return folder.empty() || IsPathSeparator(folder.back()) ? folder : folder + '/';
}

}  // namespace

ExchangeOutcome ReadDesignDocument(const std::string& path, DesignDocument& document) {
    document = DesignDocument{};
    const std::int64_t size = path.empty() ? kFileMissing : File_Size(path);
    if (size == kFileMissing) return Refused("no such folder");
    if (size != kFileIsDirectory) return Refused("not a folder");
    const std::string folder = WithSeparator(path);
    int scanned = 0;
    std::vector<std::string> names = ListSetupImages(folder, &scanned);
    if (!scanned) return Refused("the folder cannot be read");
    // The editor's listing order, not scan order: the same design gives the same document everywhere.
    std::sort(names.begin(), names.end(), DesignNameLess);

    if (LeavesFolder(folder, kPrototypeFileName)) return Refused(LinkRefusal(kPrototypeFileName));
    for (const std::string& name : names)
        for (const std::string& file : {name, name + kSetupExtension})
            if (LeavesFolder(folder, file)) return Refused(LinkRefusal(file));

    document.hasPrototypeList = ReadPrototypeList(folder + kPrototypeFileName, nullptr) != 0;
    for (int p = 0; p < design.Prototypes.Count(); ++p) document.prototypes.push_back(*std::as_const(design.Prototypes).At(p));
    design.Prototypes.Clear();
    if (!document.hasPrototypeList && names.empty())
        return Refused(std::string("not a design folder: no ") + kPrototypeFileName + " and no part image with a setup");

    for (const std::string& name : names) {
        DocumentPart part;
        part.image = name;
        // As the editor loads parts: a setup that cannot be opened gives no part.
        if (!ReadSetupFile(folder + name + kSetupExtension, part.setup)) continue;
        if (const int image = Image_Load(kServiceAuto, folder + name, 0)) {
            part.width = Image_Width(image);
            part.height = Image_Height(image);
            Image_Free(image);
        }
        document.parts.push_back(std::move(part));
    }
    return {};
}

ExchangeOutcome WriteDesignDocument(const DesignDocument& document, const std::string& path) {
    const std::int64_t size = path.empty() ? kFileMissing : File_Size(path);
    if (size == kFileMissing) return Refused("no such folder");
    if (size != kFileIsDirectory) return Refused("not a folder");
    const std::string folder = WithSeparator(path);
    // Names were checked when the document was read; a caller building a
    // document by hand gets the same check here, before anything is written.
    for (const DocumentPart& part : document.parts) {
        const std::string unportable = UnportableImageNameReason(part.image);
        if (!unportable.empty()) return Refused("a part image name: " + unportable);
    }
    std::vector<std::string> targets;
    if (document.hasPrototypeList) targets.push_back(kPrototypeFileName);
    for (const DocumentPart& part : document.parts) targets.push_back(part.image + kSetupExtension);
    for (const std::string& target : targets)
        if (File_Size(folder + target) == kFileIsDirectory) return Refused("'" + target + "' is a folder");

    ExchangeOutcome outcome;
    for (const DocumentPart& part : document.parts) {
        const std::string target = part.image + kSetupExtension;
        if (!WriteSetupFile(folder + target, part.setup)) return {kExchangeNotWritten, "cannot write '" + target + "'", outcome.written};
        ++outcome.written;
    }
    if (document.hasPrototypeList) {
        if (!WritePrototypeFile(folder + kPrototypeFileName, document.prototypes))
            return {kExchangeNotWritten, std::string("cannot write '") + kPrototypeFileName + "'", outcome.written};
        ++outcome.written;
    }
    return outcome;
}
