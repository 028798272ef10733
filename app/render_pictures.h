// The part pictures of a render run: a picture is decoded only when a ship
// shows its part, and the decoded ones are kept within a budget.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "picture_numbers.h"

// Decoded part pictures one render run keeps at most, in bytes, unless set lower.
inline constexpr std::int64_t kRenderPictureBudget = std::int64_t{1} << 30;

// Sets the budget of the next render runs (tests set it low); 0 or less restores the default.
void SetRenderPictureBudget(std::int64_t bytes);
// The budget render runs use.
std::int64_t RenderPictureBudget();

class PartPictures {
public:
    explicit PartPictures(std::int64_t budget) : budget_(budget) {}
    // Rebuilds Parts from the named images' setups in a folder (path ending in a
    // separator), as the test view reads them; each part holds a 1 x 1 stand-in
    // image until a ship shows it. Returns the number of parts.
    int Prepare(const std::string& folder, const std::vector<std::string>& names);
    // Decodes every picture the ship in ShipNodes shows, putting back the longest
    // unused ones while more than the budget is held. False when a picture does
    // not decode: its part is left without an image for good, and the ship has
    // to be grown again.
    bool Provide();
    // Pictures left out because they did not fit the budget of decoded pictures.
    const std::vector<std::string>& OverBudget() const { return overBudget_; }

private:
    struct Picture {
        std::string path;           // the part's picture file
        ImageNumber image;          // the part's image (stand-in or picture), 0 = does not decode
        std::int64_t bytes = 0;     // decoded size; 0 while the stand-in is there
        std::uint64_t lastShip = 0; // the last ship that showed it
    };
    // Puts back the longest unused pictures while more than `keep` bytes are held.
    void PutBackUnused(std::int64_t keep);
    void LeaveOut(std::size_t part);

    std::int64_t budget_ = 0;                       // bytes of decoded pictures kept at most
    std::int64_t held_ = 0;                         // bytes decoded now
    std::uint64_t ship_ = 0;                        // ships provided so far
    std::vector<Picture> pictures_;                 // by position in Parts
    std::unordered_map<ImageNumber, std::size_t> byImage_;  // image -> position
    std::vector<std::string> overBudget_;           // paths of pictures left out for the budget
};
