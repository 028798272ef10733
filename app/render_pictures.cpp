// Part pictures decoded on demand for render: a design of many large pictures
// costs the memory of the pictures a ship shows, not of the whole folder.
#include "render_pictures.h"

#include <utility>

#include "design_folders.h"
#include "design_model.h"
#include "part_setup.h"
#include "services.h"

namespace {

constexpr int kStandInSide = 1;

struct RenderPictureState {
    std::int64_t budget = kRenderPictureBudget;  // what the next runs keep at most
};
RenderPictureState renderPictures;

}  // namespace

void SetRenderPictureBudget(std::int64_t bytes) { renderPictures.budget = bytes > 0 ? bytes : kRenderPictureBudget; }

std::int64_t RenderPictureBudget() { return renderPictures.budget; }

int PartPictures::Prepare(const std::string& folder, const std::vector<std::string>& names) {
    FreeDesignParts();
    pictures_.clear();
    byImage_.clear();
    held_ = 0;
    for (const std::string& name : names) {
        PartSetup setup;
        // A short file reads as zeros past its end; a missing one gives no part.
        if (!ReadSetupFile(folder + name + kSetupExtension, setup)) continue;
        Part& part = design.Parts.Append();
        part.Setup = setup;
        part.Image = ImageNumber{Image_Create(kServiceAuto, kStandInSide, kStandInSide)};
        part.File = name;
        pictures_.push_back({folder + name, part.Image, 0, 0});
        if (part.Image) byImage_.emplace(part.Image, pictures_.size() - 1);
    }
    return design.Parts.Count();
}

bool PartPictures::Provide() {
    ++ship_;
    std::vector<std::size_t> shown;
    const auto& nodes = std::as_const(design.ShipNodes);
    for (int n = 0; n < nodes.Count(); ++n) {
        const auto it = byImage_.find(nodes.At(n)->Image);
        if (it == byImage_.end() || pictures_[it->second].lastShip == ship_) continue;
        pictures_[it->second].lastShip = ship_;
        shown.push_back(it->second);
    }
    bool whole = true;
    for (const std::size_t part : shown) {
        Picture& picture = pictures_[part];
        if (picture.bytes > 0) continue;
        bool loaded = Image_Load(picture.image, picture.path, 0) != 0;
        if (!loaded && Picture_OverBudget()) {
            // Room is made from the pictures this ship does not show before giving up on it.
            PutBackUnused(0);
            loaded = Image_Load(picture.image, picture.path, 0) != 0;
            if (!loaded && Picture_OverBudget()) overBudget_.push_back(picture.path);
        }
        if (!loaded) {
            LeaveOut(part);
            whole = false;
            continue;
        }
        picture.bytes = std::int64_t{Image_Width(picture.image)} * Image_Height(picture.image) * kBytesPerPixel;
        held_ += picture.bytes;
        PutBackUnused(budget_);
    }
    return whole;
}

void PartPictures::PutBackUnused(std::int64_t keep) {
    while (held_ > keep) {
        Picture* oldest = nullptr;
        std::size_t at = 0;
        for (std::size_t p = 0; p < pictures_.size(); ++p) {
            Picture& picture = pictures_[p];
            if (picture.bytes > 0 && picture.lastShip != ship_ && (!oldest || picture.lastShip < oldest->lastShip))
                oldest = &picture, at = p;
        }
        if (!oldest) return;  // the ship being drawn needs every one held
        held_ -= oldest->bytes;
        oldest->bytes = 0;
        if (!Image_Create(oldest->image, kStandInSide, kStandInSide)) LeaveOut(at);
    }
}

void PartPictures::LeaveOut(std::size_t part) {
    // The number is empty now: the part counts as one whose picture never loaded.
    byImage_.erase(pictures_[part].image);
    pictures_[part].image = ImageNumber{};
    if (Part* record = design.Parts.At(static_cast<int>(part))) record->Image = ImageNumber{};
}
