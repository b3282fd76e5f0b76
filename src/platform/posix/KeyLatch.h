#pragma once
// A key's state as Win32 reports it to the hot region: down now, or pressed since the last
// query. X11 only tells the state now, so a tap between two queries (the hot region asks every
// 100 ms) would be missed; the presses the X server reports in between are kept here.
#include <functional>
#include <set>
#include <vector>

namespace vaultwing::platform {

// Where the latch learns of keys (the X server; a fake in tests). Key codes are X key codes.
struct KeySource {
    std::function<unsigned(unsigned long keysym)> keyCode; // 0 for a key the keyboard lacks
    std::function<bool(unsigned keyCode)> downNow;
    std::function<std::vector<unsigned>()> pressesSinceLastLook;
};

class KeyLatch {
public:
    // Down now, or pressed since this key was last asked for (that press is then used up).
    [[nodiscard]] bool Down(KeySource& source, unsigned long keysym) {
        for (const unsigned code : source.pressesSinceLastLook())
            pressed_.insert(code);
        const unsigned code = source.keyCode(keysym);
        if (code == 0) return false;
        const bool pressed = pressed_.erase(code) != 0;
        return source.downNow(code) || pressed;
    }
    // Every press kept is forgotten.
    void Clear() { pressed_.clear(); }

private:
    std::set<unsigned> pressed_;
};

// AsyncKeyDown on `source`: Escape, or either Shift or Control key, down or pressed since asked.
[[nodiscard]] bool LatchedKeyDown(KeySource& source, KeyLatch& latch, int virtualKey);

} // namespace vaultwing::platform
