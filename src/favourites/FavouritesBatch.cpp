#include "favourites/FavouritesBatch.h"

#include <vector>

#include "base/PathNames.h"
#include "config/LangIndices.h"
#include "favourites/FavouritesFile.h"
#include "platform/PathQueries.h"

namespace vaultwing {

void FavouritesBatch::Start(RunDirection direction) {
    if (state_.runActive) return;
    lists_.RefreshDeleteMode();
    state_.runMode = ui_.MainWindowVisible() ? RunMode::Interactive : RunMode::HiddenFavourites;
    ui_.CloseFavouritesWindowIfVisible();
    const bool encrypt = direction == RunDirection::Encrypt;
    std::vector<std::string>& list = encrypt ? lists_.toEncrypt : lists_.toDecrypt;
    list.clear();
    // Only this batch's own refusals count (a refused drop before it must not block it).
    if (!(encrypt ? ListToEncrypt() : ListToDecrypt())) {
        lists_.Clear();
        return;
    }
    if (const auto refusal = lists_.CollisionRefusal()) { // one file listed in two spellings is one job
        lists_.Refuse(*refusal);
        return;
    }
    if (list.empty()) {
        ShowWarning(ui_,
                    WarningMessage(state_, state_.Text(encrypt ? lang::kNothingToEncrypt : lang::kNothingToDecrypt)));
        return;
    }
    if (ui_.MainWindowVisible()) ui_.HideMainWindow();
    ui_.ShowPasswordDialog(encrypt ? PasswordDialog::Encrypt : PasswordDialog::Decrypt);
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
