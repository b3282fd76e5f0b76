#pragma once
// The favourites commands of the drop zone's menu: every favourite, in the form a run in one
// direction needs, goes through the path checks of the job lists; then the password is asked.
#include <string>

#include "files/JobLists.h"
#include "state/AppState.h"
#include "state/UiPort.h"

namespace vaultwing {

class FavouritesBatch {
public:
    FavouritesBatch(AppState& state, UiPort& ui, JobLists& lists) : state_(state), ui_(ui), lists_(lists) {}

    // Fills the list of `direction` from the favourites file and opens its password dialog
    // (a message when nothing is to be done). Every favourite is checked, each refusal said; any
    // refusal of this batch empties both lists and ends it. Ignored while a run is active.
    void Start(RunDirection direction);

private:
    // Add the favourites to the job lists; false when the path checks refused one of them.
    [[nodiscard]] bool ListToEncrypt();
    [[nodiscard]] bool ListToDecrypt();

    AppState& state_;
    UiPort& ui_;
    JobLists& lists_;
};

} // namespace vaultwing
