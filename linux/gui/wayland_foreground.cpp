#include "linux/gui/wayland_foreground.h"

#include <unistd.h>
#include <wayland-client.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "linux/process_program.h"
#include "plasma-window-management-client-protocol.h"
#include "wlr-foreign-toplevel-management-unstable-v1-client-protocol.h"

namespace q8::linux_shell {
namespace {

// The versions this client knows: wlroots' list with the parent event, KDE's with window uuids
// and resource names.
constexpr uint32_t kWlrootsVersion = 3;
constexpr uint32_t kKdeVersion = 16;
// KDE announces a window by uuid from this version on, by number before.
constexpr uint32_t kKdeUuidVersion = 13;

}  // namespace

// The protocols' callbacks: C function pointers that find the watcher in their data.
struct WaylandCallbacks {
  using Watcher = WaylandForegroundWatcher;
  static Watcher& Of(void* data) { return *static_cast<Watcher*>(data); }

  static constexpr wl_registry_listener kRegistry{&Watcher::OnGlobal, &Watcher::OnGlobalRemove};

  // --- wlroots -----------------------------------------------------------------------------------
  static void OnToplevel(void* data, zwlr_foreign_toplevel_manager_v1*,
                         zwlr_foreign_toplevel_handle_v1* handle) {
    Of(data).windows_[handle] = {};
    zwlr_foreign_toplevel_handle_v1_add_listener(handle, &kToplevel, data);
  }
  static void OnFinished(void* data, zwlr_foreign_toplevel_manager_v1* manager) {
    zwlr_foreign_toplevel_manager_v1_destroy(manager);
    Of(data).wlroots_ = nullptr;
  }
  static constexpr zwlr_foreign_toplevel_manager_v1_listener kManager{&OnToplevel, &OnFinished};

  static void OnAppId(void* data, zwlr_foreign_toplevel_handle_v1* handle, const char* appId) {
    Of(data).windows_[handle].appId = appId;
  }
  static void OnState(void* data, zwlr_foreign_toplevel_handle_v1* handle, wl_array* states) {
    bool active = false;
    const auto* state = static_cast<const uint32_t*>(states->data);
    for (std::size_t i = 0; i < states->size / sizeof(uint32_t); ++i) {
      active |= state[i] == ZWLR_FOREIGN_TOPLEVEL_HANDLE_V1_STATE_ACTIVATED;
    }
    Of(data).windows_[handle].active = active;
  }
  static void OnDone(void* data, zwlr_foreign_toplevel_handle_v1* handle) {
    Of(data).windows_[handle].announced = true;
  }
  static void OnClosed(void* data, zwlr_foreign_toplevel_handle_v1* handle) {
    Of(data).windows_.erase(handle);
    zwlr_foreign_toplevel_handle_v1_destroy(handle);
  }
  static constexpr zwlr_foreign_toplevel_handle_v1_listener kToplevel{
      [](void*, zwlr_foreign_toplevel_handle_v1*, const char*) {},  // title
      &OnAppId,
      [](void*, zwlr_foreign_toplevel_handle_v1*, wl_output*) {},  // output_enter
      [](void*, zwlr_foreign_toplevel_handle_v1*, wl_output*) {},  // output_leave
      &OnState,
      &OnDone,
      &OnClosed,
      [](void*, zwlr_foreign_toplevel_handle_v1*, zwlr_foreign_toplevel_handle_v1*) {},  // parent
  };

  // --- KDE Plasma --------------------------------------------------------------------------------
  static void Track(void* data, org_kde_plasma_window* window) {
    Of(data).windows_[window] = {};
    org_kde_plasma_window_add_listener(window, &kKdeWindow, data);
  }
  static void OnWindow(void* data, org_kde_plasma_window_management* manager, uint32_t id) {
    if (Of(data).kdeVersion_ < kKdeUuidVersion) {
      Track(data, org_kde_plasma_window_management_get_window(manager, id));
    }
  }
  static void OnWindowWithUuid(void* data, org_kde_plasma_window_management* manager, uint32_t,
                               const char* uuid) {
    Track(data, org_kde_plasma_window_management_get_window_by_uuid(manager, uuid));
  }
  static constexpr org_kde_plasma_window_management_listener kKdeManager{
      [](void*, org_kde_plasma_window_management*, uint32_t) {},  // show_desktop_changed
      &OnWindow,
      [](void*, org_kde_plasma_window_management*, wl_array*) {},    // stacking_order_changed
      [](void*, org_kde_plasma_window_management*, const char*) {},  // stacking_order_uuid_changed
      &OnWindowWithUuid,
  };

  static void OnKdeAppId(void* data, org_kde_plasma_window* window, const char* appId) {
    Of(data).windows_[window].appId = appId;
  }
  static void OnKdeState(void* data, org_kde_plasma_window* window, uint32_t flags) {
    Of(data).windows_[window].active = (flags & ORG_KDE_PLASMA_WINDOW_MANAGEMENT_STATE_ACTIVE) != 0;
  }
  static void OnKdeUnmapped(void* data, org_kde_plasma_window* window) {
    Of(data).windows_.erase(window);
    org_kde_plasma_window_destroy(window);
  }
  static void OnKdeInitialState(void* data, org_kde_plasma_window* window) {
    if (auto found = Of(data).windows_.find(window); found != Of(data).windows_.end()) {
      found->second.announced = true;
    }
  }
  static void OnKdePid(void* data, org_kde_plasma_window* window, uint32_t pid) {
    Of(data).windows_[window].pid = pid;
  }
  using KdeWindow = org_kde_plasma_window;
  static constexpr org_kde_plasma_window_listener kKdeWindow{
      [](void*, KdeWindow*, const char*) {},  // title_changed
      &OnKdeAppId,
      &OnKdeState,
      [](void*, KdeWindow*, int32_t) {},      // virtual_desktop_changed
      [](void*, KdeWindow*, const char*) {},  // themed_icon_name_changed
      &OnKdeUnmapped,
      &OnKdeInitialState,
      [](void*, KdeWindow*, KdeWindow*) {},                            // parent_window
      [](void*, KdeWindow*, int32_t, int32_t, uint32_t, uint32_t) {},  // geometry
      [](void*, KdeWindow*) {},                                        // icon_changed
      &OnKdePid,
      [](void*, KdeWindow*, const char*) {},               // virtual_desktop_entered
      [](void*, KdeWindow*, const char*) {},               // virtual_desktop_left
      [](void*, KdeWindow*, const char*, const char*) {},  // application_menu
      [](void*, KdeWindow*, const char*) {},               // activity_entered
      [](void*, KdeWindow*, const char*) {},               // activity_left
      [](void*, KdeWindow*, const char*) {},               // resource_name_changed
  };
};

std::unique_ptr<WaylandForegroundWatcher> WaylandForegroundWatcher::Open() {
  // Without WAYLAND_DISPLAY the library would try "wayland-0", which may be another session's.
  if (std::getenv("WAYLAND_DISPLAY") == nullptr) {
    return nullptr;
  }
  std::unique_ptr<WaylandForegroundWatcher> watcher(new WaylandForegroundWatcher);
  watcher->display_ = wl_display_connect(nullptr);
  if (watcher->display_ == nullptr) {
    return nullptr;
  }
  watcher->registry_ = wl_display_get_registry(watcher->display_);
  wl_registry_add_listener(watcher->registry_, &WaylandCallbacks::kRegistry, watcher.get());
  // The globals; then the windows the list announces; then (KDE) each window's details.
  for (int round = 0; round < 3; ++round) {
    if (wl_display_roundtrip(watcher->display_) < 0) {
      return nullptr;
    }
  }
  if (watcher->wlroots_ == nullptr && watcher->kde_ == nullptr) {
    return nullptr;
  }
  watcher->lastInFront_ = watcher->WindowInFront();
  return watcher;
}

WaylandForegroundWatcher::~WaylandForegroundWatcher() {
  if (display_ == nullptr) {
    return;
  }
  // The compositor forgets every object of the connection when it closes; only the client-side
  // proxies are freed here.
  for (const auto& [object, window] : windows_) {
    wl_proxy_destroy(static_cast<wl_proxy*>(object));
  }
  if (wlroots_ != nullptr) {
    wl_proxy_destroy(reinterpret_cast<wl_proxy*>(wlroots_));
  }
  if (kde_ != nullptr) {
    wl_proxy_destroy(reinterpret_cast<wl_proxy*>(kde_));
  }
  if (registry_ != nullptr) {
    wl_registry_destroy(registry_);
  }
  wl_display_disconnect(display_);
}

void WaylandForegroundWatcher::OnGlobal(void* data, wl_registry*, uint32_t name,
                                        const char* interface, uint32_t version) {
  auto& watcher = *static_cast<WaylandForegroundWatcher*>(data);
  if (std::strcmp(interface, zwlr_foreign_toplevel_manager_v1_interface.name) == 0) {
    watcher.BindWlroots(name, version);
  } else if (std::strcmp(interface, org_kde_plasma_window_management_interface.name) == 0) {
    watcher.BindKde(name, version);
  }
}

void WaylandForegroundWatcher::BindWlroots(uint32_t name, uint32_t version) {
  if (wlroots_ != nullptr || kde_ != nullptr) {
    return;
  }
  wlroots_ = static_cast<zwlr_foreign_toplevel_manager_v1*>(
      wl_registry_bind(registry_, name, &zwlr_foreign_toplevel_manager_v1_interface,
                       std::min(version, kWlrootsVersion)));
  zwlr_foreign_toplevel_manager_v1_add_listener(wlroots_, &WaylandCallbacks::kManager, this);
}

void WaylandForegroundWatcher::BindKde(uint32_t name, uint32_t version) {
  if (wlroots_ != nullptr || kde_ != nullptr) {
    return;
  }
  kdeVersion_ = std::min(version, kKdeVersion);
  kde_ = static_cast<org_kde_plasma_window_management*>(
      wl_registry_bind(registry_, name, &org_kde_plasma_window_management_interface, kdeVersion_));
  org_kde_plasma_window_management_add_listener(kde_, &WaylandCallbacks::kKdeManager, this);
}

int WaylandForegroundWatcher::Socket() const {
  return wl_display_get_fd(display_);
}

void WaylandForegroundWatcher::Flush() {
  // Requests made by the callbacks (KDE's get_window) go out now; a full socket takes the rest
  // at the next read.
  if (wl_display_flush(display_) < 0 && errno != EAGAIN) {
    broken_ = true;
  }
}

bool WaylandForegroundWatcher::TakeChange() {
  if (broken_) {
    return false;
  }
  while (wl_display_prepare_read(display_) != 0) {
    wl_display_dispatch_pending(display_);
  }
  Flush();
  if (wl_display_read_events(display_) < 0 || wl_display_dispatch_pending(display_) < 0) {
    broken_ = true;
    return false;
  }
  Flush();
  std::optional<CompositorWindow> now = WindowInFront();
  const auto same = [](const std::optional<CompositorWindow>& a,
                       const std::optional<CompositorWindow>& b) {
    return a.has_value() == b.has_value() &&
           (!a ||
            (a->appId == b->appId && a->program == b->program && a->ownProcess == b->ownProcess));
  };
  if (same(now, lastInFront_)) {
    return false;
  }
  lastInFront_ = std::move(now);
  return true;
}

std::optional<CompositorWindow> WaylandForegroundWatcher::WindowInFront() const {
  const auto active = std::find_if(windows_.begin(), windows_.end(), [](const auto& entry) {
    return entry.second.active && entry.second.announced;
  });
  if (active == windows_.end()) {
    return std::nullopt;
  }
  const Window& window = active->second;
  CompositorWindow front{window.appId, {}, false, false};
  if (window.pid != 0) {
    const auto pid = static_cast<pid_t>(window.pid);
    front.ownProcess = pid == getpid();
    if (auto program = ProgramOfProcess(pid)) {
      front.program = std::move(program->name);
      front.windowsProgram = program->windowsProgram;
    }
  }
  return front;
}

}  // namespace q8::linux_shell
