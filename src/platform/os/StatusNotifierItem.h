#pragma once
// The notification-area icon on a Linux desktop: a StatusNotifierItem on the
// D-Bus session bus, registered with the StatusNotifierWatcher. The item runs
// its bus on a thread of its own; clicks arrive through the callback on that
// thread (the caller posts them to its window).
//
// Without a session bus, Create() fails quietly and nothing is shown. Without
// a watcher yet, the item waits for one to appear and registers then.

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct sd_bus;
struct sd_bus_slot;

namespace ostrel {

class StatusNotifierItem {
 public:
  enum class Click { Activate, SecondaryActivate, ContextMenu };
  using ClickHandler = std::function<void(Click click, int x, int y)>;

  // One icon image: width × height pixels, ARGB32, each pixel in network byte
  // order (A, R, G, B), as the protocol carries it.
  struct Pixmap {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> argb;
  };

  StatusNotifierItem();
  ~StatusNotifierItem();
  StatusNotifierItem(const StatusNotifierItem&) = delete;
  StatusNotifierItem& operator=(const StatusNotifierItem&) = delete;

  // Connects to the session bus and exports the item. False when there is no
  // bus (then nothing else happens).
  bool Create(const std::string& id, const std::string& title, const Pixmap& icon,
              const std::string& toolTip, ClickHandler onClick);
  void Destroy();
  bool IsCreated() const;
  // True once a watcher accepted the registration.
  bool IsRegistered() const;
  // The bus name the item owns ("org.kde.StatusNotifierItem-<pid>-<n>").
  std::string ServiceName() const;

  void SetToolTip(const std::string& toolTip);
  void SetIcon(const Pixmap& icon);

 private:
  void Run();
  void RegisterWithWatcher();
  void EmitSignal(const char* member);

  friend struct StatusNotifierItemBus;  // the bus callbacks

  mutable std::recursive_mutex mutex_;  // guards the bus and the properties below
  sd_bus* bus_ = nullptr;
  sd_bus_slot* objectSlot_ = nullptr;
  sd_bus_slot* matchSlot_ = nullptr;
  std::string service_;
  std::string id_;
  std::string title_;
  std::string toolTip_;
  Pixmap icon_;
  ClickHandler onClick_;
  std::atomic<bool> registered_{false};
  int wakeFd_ = -1;  // eventfd that ends the bus thread
  std::thread thread_;
};

}  // namespace ostrel
