#pragma once

#include <chrono>

namespace q8::linux_shell {

// Whether the desktop has a notification area now: a StatusNotifierItem host on the session bus,
// or, drawn through X, an XEmbed tray on the display. Asked without Qt, which keeps its first
// answer about the bus for the rest of the program's life.
bool NotificationAreaThere();

// Started by the desktop at log-in, the program may come before the panel that holds the
// notification area (desktops start their autostart entries and their panel side by side): it
// waits for one, up to `limit`, so that it starts in the tray rather than in a window whose close
// button would end it. Returns whether one came.
bool WaitForNotificationArea(std::chrono::milliseconds limit);

}  // namespace q8::linux_shell
