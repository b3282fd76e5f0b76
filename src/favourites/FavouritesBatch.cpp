#include "favourites/FavouritesBatch.h"

#include <vector>

#include "base/PathNames.h"
#include "config/LangIndices.h"
#include "favourites/FavouritesFile.h"
#include "platform/PathQueries.h"

namespace vaultwing {

bool FavouritesBatch::Fill(RunDirection direction) {
    const bool encrypt = direction == RunDirection::Encrypt;
    std::vector<std::string>& list = encrypt ? lists_.toEncrypt : lists_.toDecrypt;
    list.clear();
    // Only this batch's own refusals count (a refused drop before it must not block it).
    if (!(encrypt ? ListToEncrypt() : ListToDecrypt())) {
        lists_.Clear();
        return false;
    }
    if (const auto refusal = lists_.CollisionRefusal()) { // one file listed in two spellings is one job
        lists_.Refuse(*refusal);
        return false;
    }
    if (list.empty()) {
        ui_.ShowWarning(
            WarningMessage(state_, state_.Text(encrypt ? lang::kNothingToEncrypt : lang::kNothingToDecrypt)));
        return false;
    }
    return true;
}

bool FavouritesBatch::ListToEncrypt() {
    bool noneRefused = true;
    for (const std::string& entry : LoadFavourites(state_.folders.settings)) {
        // An entry may name the encrypted form while the plain file exists; "app.exe.manifest"
        // must not turn into "app.exe".
        std::string path = entry;
        if (GetExtension(entry) != "manifest" && FileExists(StripExtension(entry))) path = StripExtension(entry);
        if (GetExtension(path) != "vwx" && FileExists(path) && !lists_.AddPathToLists(path)) noneRefused = false;
    }
    return noneRefused;
}

bool FavouritesBatch::ListToDecrypt() {
    bool noneRefused = true;
    for (const std::string& entry : LoadFavourites(state_.folders.settings)) {
        if (GetExtension(entry) == "vwx" && FileExists(entry) && !lists_.AddPathToLists(entry)) noneRefused = false;
        if (FileExists(entry + ".vwx") && !lists_.AddPathToLists(entry + ".vwx")) noneRefused = false;
    }
    return noneRefused;
}

} // namespace vaultwing
