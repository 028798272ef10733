// Reads a picture for the scripted tests, which cannot count on any other
// image tool being installed:
//   png_probe FILE                 prints WIDTHxHEIGHT
//   png_probe FILE count COLOUR    also the number of pixels of that colour (hex RRGGBB)
//   png_probe FILE find COLOUR [X Y W H]  also the first X Y of the pixels of that colour
//   png_probe FILE sum X Y W H     also a checksum of the pixels of that rectangle
// Exits 1 when the file cannot be read as a picture.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "services.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: png_probe FILE [count RRGGBB | sum X Y W H]\n");
        return 2;
    }
    if (!Sprite_Init() || !Image_Load(1, argv[1], 0)) {
        std::fprintf(stderr, "png_probe: cannot read %s\n", argv[1]);
        return 1;
    }
    const int width = Image_Width(1);
    const int height = Image_Height(1);
    std::printf("%dx%d", width, height);
    const std::string verb = argc > 2 ? argv[2] : "";
    if (verb == "count" && argc > 3 && Draw_Begin(Draw_ImageOutput(1))) {
        const int colour = static_cast<int>(std::strtol(argv[3], nullptr, 16));
        long count = 0;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) count += Draw_Point(x, y) == colour;
        Draw_End();
        std::printf(" %ld", count);
    } else if (verb == "find" && argc > 3 && Draw_Begin(Draw_ImageOutput(1))) {
        // The first pixel of that colour row by row (the top of a dot), "-1 -1" when there is none.
        const int colour = static_cast<int>(std::strtol(argv[3], nullptr, 16));
        long count = 0, sx = 0, sy = 0;
        const int x0 = argc > 7 ? std::atoi(argv[4]) : 0, y0 = argc > 7 ? std::atoi(argv[5]) : 0;
        const int x1 = argc > 7 ? x0 + std::atoi(argv[6]) : width, y1 = argc > 7 ? y0 + std::atoi(argv[7]) : height;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                if (Draw_Point(x, y) == colour && count++ == 0) sx = x, sy = y;
        Draw_End();
        if (count)
            std::printf(" %ld %ld", sx, sy);
        else
            std::printf(" -1 -1");
    } else if (verb == "sum" && argc > 6 && Draw_Begin(Draw_ImageOutput(1))) {
        const int x0 = std::atoi(argv[3]), y0 = std::atoi(argv[4]);
        const int w = std::atoi(argv[5]), h = std::atoi(argv[6]);
        std::uint64_t sum = 1469598103934665603ull;  // FNV-1a over the colours, row by row
        for (int y = y0; y < y0 + h; ++y)
            for (int x = x0; x < x0 + w; ++x) sum = (sum ^ static_cast<std::uint32_t>(Draw_Point(x, y))) * 1099511628211ull;
        Draw_End();
        std::printf(" %016llx", static_cast<unsigned long long>(sum));
    }
    std::printf("\n");
    Services_End();
    return 0;
}
