#pragma once
// The favourites commands of the drop zone's menu: every favourite, in the form a run in one
// direction needs, goes through the path checks of the job lists.
#include <string>

#include "files/JobLists.h"
#include "state/AppState.h"
#include "state/UiPort.h"

namespace vaultwing {

class FavouritesBatch {
public:
    FavouritesBatch(AppState& state, UiPort& ui, JobLists& lists) : state_(state), ui_(ui), lists_(lists) {}

    // Fills the list of `direction` from the favourites file; true when it holds jobs. Every
    // favourite is checked, each refusal said; any refusal of this batch empties both lists and
    // gives false, as does a batch with nothing to do (said in a warning).
    [[nodiscard]] bool Fill(RunDirection direction);

private:
    // Add the favourites to the job lists; false when the path checks refused one of them.
    [[nodiscard]] bool ListToEncrypt();
    [[nodiscard]] bool ListToDecrypt();

    AppState& state_;
    UiPort& ui_;
    JobLists& lists_;
};

} // namespace vaultwing
