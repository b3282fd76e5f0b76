// The favourites file: save then load. The input is split at NUL bytes into entries.
// Property: no crash; SaveFavourites accepts a list exactly when IsStorableFavourite accepts
// every entry; an accepted list loads back as the same list (an empty list as no file); a
// refused save leaves the previous file as it was; no temporary file is left behind.
// Separately, loading arbitrary file bytes never crashes and gives one entry per line.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzSupport.h"
#include "favourites/FavouritesFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vaultwing;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const auto& folder = fuzz::ScratchFolder();
    const std::string dir = folder.string();

    // Arbitrary bytes as the file: load must cope.
    {
        std::ofstream out(FavouritesPath(dir), std::ios::binary | std::ios::trunc);
        out.write(input.data(), static_cast<std::streamsize>(input.size()));
    }
    const auto loaded = LoadFavourites(dir);
    for (const auto& entry : loaded)
        fuzz::Check(IsStorableFavourite(entry), "a loaded entry holds a line break", entry);

    std::vector<std::string> entries;
    if (!input.empty()) {
        std::size_t start = 0;
        for (;;) {
            const auto nul = input.find('\0', start);
            entries.emplace_back(input.substr(start, nul == std::string_view::npos ? nul : nul - start));
            if (nul == std::string_view::npos) break;
            start = nul + 1;
        }
    }
    bool storable = true;
    for (const auto& entry : entries)
        storable = storable && IsStorableFavourite(entry);

    const std::vector<std::string> previous = {"previous entry"};
    fuzz::Check(SaveFavourites(dir, previous), "a plain list was not saved");
    const bool saved = SaveFavourites(dir, entries);
    fuzz::Check(saved == storable, "save and IsStorableFavourite disagree");
    const auto back = LoadFavourites(dir);
    if (saved)
        fuzz::Check(back == entries, "the list did not come back as saved");
    else
        fuzz::Check(back == previous, "a refused save changed the file");
    fuzz::Check(fuzz::EntriesIn(folder) <= 1, "a temporary file was left behind");
    std::error_code ec;
    std::filesystem::remove(FavouritesPath(dir), ec);
    return 0;
}
