#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>

#include "app/program_in_front.h"

struct wl_display;
struct wl_registry;
struct zwlr_foreign_toplevel_manager_v1;
struct zwlr_foreign_toplevel_handle_v1;
struct org_kde_plasma_window_management;
struct org_kde_plasma_window;

namespace q8::linux_shell {

// Tells which window a Wayland compositor has activated, where the compositor publishes its
// windows: wlroots compositors (sway, Hyprland, labwc, Wayfire, niri) through
// zwlr_foreign_toplevel_manager_v1, which names the window's app_id; KDE Plasma through
// org_kde_plasma_window_management, which also names its process (KWin offers it to programs whose
// desktop entry asks for it). The watcher has a connection of its own to the compositor and reads
// its socket only when something arrived, so it costs nothing while nothing changes.
class WaylandForegroundWatcher {
 public:
  // Nothing when there is no Wayland display or it publishes no window list.
  static std::unique_ptr<WaylandForegroundWatcher> Open();
  ~WaylandForegroundWatcher();
  WaylandForegroundWatcher(const WaylandForegroundWatcher&) = delete;
  WaylandForegroundWatcher& operator=(const WaylandForegroundWatcher&) = delete;

  // The socket to watch for reading.
  int Socket() const;
  // Reads what arrived (and sends what is due). True when the activated window changed. False too
  // when the compositor closed the connection: Broken() says so.
  bool TakeChange();
  bool Broken() const { return broken_; }
  // The activated window; nothing when none is.
  std::optional<CompositorWindow> WindowInFront() const;

  // What the protocols' callbacks keep of a window.
  struct Window {
    std::string appId;
    unsigned pid = 0;  // 0: not named
    bool active = false;
    bool announced = false;  // every detail of it has arrived
  };

 private:
  WaylandForegroundWatcher() = default;
  static void OnGlobal(void* data, wl_registry* registry, uint32_t name, const char* interface,
                       uint32_t version);
  static void OnGlobalRemove(void*, wl_registry*, uint32_t) {}
  void BindWlroots(uint32_t name, uint32_t version);
  void BindKde(uint32_t name, uint32_t version);
  void Flush();

  wl_display* display_ = nullptr;
  wl_registry* registry_ = nullptr;
  zwlr_foreign_toplevel_manager_v1* wlroots_ = nullptr;
  org_kde_plasma_window_management* kde_ = nullptr;
  uint32_t kdeVersion_ = 0;
  std::map<void*, Window> windows_;  // by the protocol object of each window
  std::optional<CompositorWindow> lastInFront_;
  bool broken_ = false;

  friend struct WaylandCallbacks;
};

}  // namespace q8::linux_shell
