#pragma once
// The hot region's keys (AsyncKeyDown) are watched only while the hot region is on.

namespace vaultwing::platform {

// Starts or stops watching. Started, the watch forgets every key pressed before, so a press long
// past does not count; stopped, nothing of the keys typed in other programs is kept (the X server
// queues each press for a watcher until it is read).
void WatchHotRegionKeys(bool on);

} // namespace vaultwing::platform
