#include "password/KeyInput.h"

#include <gtest/gtest.h>

#include "support/AppFixture.h"

namespace vaultwing::test {
namespace {

TEST(IsKeyCharacter, Windows1252Codes33To255) {
    const struct {
        char32_t c;
        bool accepted;
    } cases[] = {
        {U' ', false},     {U'!', true},       {U'~', true},           {U'\x7F', true},   {U'\t', false},
        {U'\b', false},    {U'\r', false},     {U'\x01', false},       {U'\x81', false},  // C1 control
        {U'\xA0', true},   {U'\xE9', true},    {U'\xFF', true},        {U'\u20AC', true}, // euro sign: code 128
        {U'\u2013', true}, {U'\u03A9', false}, {U'\U0001F600', false},                    // not in the code page
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsKeyCharacter(c.c), c.accepted) << static_cast<unsigned>(c.c);
}

class PasswordFlowDuringRun : public AppFixture {};

// Events run in the middle of a run: a second dialog's OK or activation must not touch it.
TEST_F(PasswordFlowDuringRun, SecondDialogCannotStartOrDisturbARun) {
    app.lists.lstDateienEnc = {Make("a.txt")};
    app.lists.lstDateienDec = {Make("b.txt.vwx")};
    app.state.runActive = true;
    app.state.password = "in use";
    app.passwords.DialogActivated();
    EXPECT_EQ(app.state.password, "in use");
    for (const KeyOk result : {app.passwords.EncryptOk("Secr3t!pw", "Secr3t!pw"), app.passwords.DecryptOk("x")}) {
        EXPECT_EQ(result.outcome, KeyOkOutcome::Busy);
        EXPECT_EQ(result.run, RunResult::Refused);
    }
    EXPECT_TRUE(ui.events.empty());
    EXPECT_EQ(app.state.password, "in use");
    EXPECT_EQ(app.lists.lstDateienEnc.size(), 1U);
    EXPECT_EQ(app.lists.lstDateienDec.size(), 1U);

    app.state.runActive = false;
    app.passwords.DialogActivated();
    EXPECT_TRUE(app.state.password.empty());
}

} // namespace
} // namespace vaultwing::test
