#include "platform/os/StatusNotifierItem.h"

#include <sys/eventfd.h>
#include <systemd/sd-bus.h>
#include <unistd.h>

#include <cstring>

#include "platform/os/BusWait.h"
#include "platform/os/DebugLog.h"

namespace ostrel {
namespace {

constexpr const char* kItemPath = "/StatusNotifierItem";
constexpr const char* kItemInterface = "org.kde.StatusNotifierItem";
constexpr const char* kWatcherName = "org.kde.StatusNotifierWatcher";
constexpr const char* kWatcherPath = "/StatusNotifierWatcher";

std::atomic<int> g_itemCounter{0};

}  // namespace

struct StatusNotifierItemBus {
  static int AppendPixmaps(sd_bus_message* reply, const StatusNotifierItem::Pixmap& icon);
  static int GetProperty(sd_bus* bus, const char* path, const char* interface, const char* property,
                         sd_bus_message* reply, void* userdata, sd_bus_error* error);
  static int OnMethod(sd_bus_message* message, void* userdata, sd_bus_error* error);
  static int OnWatcherOwnerChanged(sd_bus_message* message, void* userdata, sd_bus_error* error);
};

StatusNotifierItem::StatusNotifierItem() = default;

StatusNotifierItem::~StatusNotifierItem() { Destroy(); }

int StatusNotifierItemBus::AppendPixmaps(sd_bus_message* reply, const StatusNotifierItem::Pixmap& icon) {
  int r = sd_bus_message_open_container(reply, 'a', "(iiay)");
  if (r < 0) return r;
  if (icon.width > 0 && icon.height > 0 &&
      icon.argb.size() == static_cast<std::size_t>(icon.width) * static_cast<std::size_t>(icon.height) * 4) {
    r = sd_bus_message_open_container(reply, 'r', "iiay");
    if (r < 0) return r;
    r = sd_bus_message_append(reply, "ii", icon.width, icon.height);
    if (r < 0) return r;
    r = sd_bus_message_append_array(reply, 'y', icon.argb.data(), icon.argb.size());
    if (r < 0) return r;
    r = sd_bus_message_close_container(reply);
    if (r < 0) return r;
  }
  return sd_bus_message_close_container(reply);
}

int StatusNotifierItemBus::GetProperty(sd_bus*, const char*, const char*, const char* property,
                                       sd_bus_message* reply, void* userdata, sd_bus_error*) {
  auto* self = static_cast<StatusNotifierItem*>(userdata);
  std::lock_guard<std::recursive_mutex> lock(self->mutex_);
  if (std::strcmp(property, "Category") == 0) return sd_bus_message_append(reply, "s", "Hardware");
  if (std::strcmp(property, "Id") == 0) return sd_bus_message_append(reply, "s", self->id_.c_str());
  if (std::strcmp(property, "Title") == 0) return sd_bus_message_append(reply, "s", self->title_.c_str());
  if (std::strcmp(property, "Status") == 0) return sd_bus_message_append(reply, "s", "Active");
  if (std::strcmp(property, "WindowId") == 0) return sd_bus_message_append(reply, "i", 0);
  if (std::strcmp(property, "IconName") == 0) return sd_bus_message_append(reply, "s", "");
  if (std::strcmp(property, "ItemIsMenu") == 0) return sd_bus_message_append(reply, "b", 0);
  if (std::strcmp(property, "Menu") == 0) return sd_bus_message_append(reply, "o", "/NO_DBUSMENU");
  if (std::strcmp(property, "IconPixmap") == 0) return AppendPixmaps(reply, self->icon_);
  if (std::strcmp(property, "ToolTip") == 0) {
    int r = sd_bus_message_open_container(reply, 'r', "sa(iiay)ss");
    if (r < 0) return r;
    r = sd_bus_message_append(reply, "s", "");
    if (r < 0) return r;
    r = AppendPixmaps(reply, StatusNotifierItem::Pixmap{});
    if (r < 0) return r;
    r = sd_bus_message_append(reply, "ss", self->toolTip_.c_str(), "");
    if (r < 0) return r;
    return sd_bus_message_close_container(reply);
  }
  return -ENOENT;
}

int StatusNotifierItemBus::OnMethod(sd_bus_message* message, void* userdata, sd_bus_error*) {
  auto* self = static_cast<StatusNotifierItem*>(userdata);
  const char* member = sd_bus_message_get_member(message);
  int x = 0;
  int y = 0;
  using Click = StatusNotifierItem::Click;
  Click click = Click::Activate;
  if (std::strcmp(member, "Scroll") == 0) {
    return sd_bus_reply_method_return(message, "");
  }
  if (sd_bus_message_read(message, "ii", &x, &y) < 0) return sd_bus_reply_method_return(message, "");
  if (std::strcmp(member, "SecondaryActivate") == 0) click = Click::SecondaryActivate;
  if (std::strcmp(member, "ContextMenu") == 0) click = Click::ContextMenu;
  StatusNotifierItem::ClickHandler handler;
  {
    std::lock_guard<std::recursive_mutex> lock(self->mutex_);
    handler = self->onClick_;
  }
  if (handler) handler(click, x, y);
  return sd_bus_reply_method_return(message, "");
}

int StatusNotifierItemBus::OnWatcherOwnerChanged(sd_bus_message* message, void* userdata, sd_bus_error*) {
  auto* self = static_cast<StatusNotifierItem*>(userdata);
  const char* name = nullptr;
  const char* oldOwner = nullptr;
  const char* newOwner = nullptr;
  if (sd_bus_message_read(message, "sss", &name, &oldOwner, &newOwner) < 0) return 0;
  if (newOwner != nullptr && *newOwner != '\0') {
    self->RegisterWithWatcher();
  } else {
    self->registered_ = false;
  }
  return 0;
}

void StatusNotifierItem::RegisterWithWatcher() {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  if (bus_ == nullptr) return;
  sd_bus_error error = SD_BUS_ERROR_NULL;
  sd_bus_message* reply = nullptr;
  int r = sd_bus_call_method(bus_, kWatcherName, kWatcherPath, kWatcherName, "RegisterStatusNotifierItem",
                             &error, &reply, "s", service_.c_str());
  registered_ = r >= 0;
  if (r < 0 && !sd_bus_error_has_name(&error, "org.freedesktop.DBus.Error.ServiceUnknown")) {
    DebugPrintf("tray: registration refused: %s", error.message ? error.message : std::strerror(-r));
  }
  sd_bus_error_free(&error);
  sd_bus_message_unref(reply);
}

namespace {
const sd_bus_vtable kItemVtable[] = {
    SD_BUS_VTABLE_START(0),
    SD_BUS_PROPERTY("Category", "s", nullptr, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("Id", "s", nullptr, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("Title", "s", nullptr, 0, SD_BUS_VTABLE_PROPERTY_EMITS_CHANGE),
    SD_BUS_PROPERTY("Status", "s", nullptr, 0, SD_BUS_VTABLE_PROPERTY_EMITS_CHANGE),
    SD_BUS_PROPERTY("WindowId", "i", nullptr, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("IconName", "s", nullptr, 0, SD_BUS_VTABLE_PROPERTY_EMITS_CHANGE),
    SD_BUS_PROPERTY("IconPixmap", "a(iiay)", nullptr, 0, SD_BUS_VTABLE_PROPERTY_EMITS_CHANGE),
    SD_BUS_PROPERTY("ToolTip", "(sa(iiay)ss)", nullptr, 0, SD_BUS_VTABLE_PROPERTY_EMITS_CHANGE),
    SD_BUS_PROPERTY("ItemIsMenu", "b", nullptr, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("Menu", "o", nullptr, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_METHOD("Activate", "ii", "", nullptr, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("SecondaryActivate", "ii", "", nullptr, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("ContextMenu", "ii", "", nullptr, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("Scroll", "is", "", nullptr, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_SIGNAL("NewTitle", "", 0),
    SD_BUS_SIGNAL("NewIcon", "", 0),
    SD_BUS_SIGNAL("NewToolTip", "", 0),
    SD_BUS_SIGNAL("NewStatus", "s", 0),
    SD_BUS_VTABLE_END,
};

// The vtable above cannot name static members in a constant expression, so
// the handlers are filled in once at first use.
const sd_bus_vtable* ItemVtable(sd_bus_property_get_t getter, sd_bus_message_handler_t method) {
  static sd_bus_vtable table[sizeof kItemVtable / sizeof kItemVtable[0]];
  static std::once_flag once;
  std::call_once(once, [&] {
    std::memcpy(table, kItemVtable, sizeof table);
    for (auto& entry : table) {
      if (entry.type == _SD_BUS_VTABLE_PROPERTY) entry.x.property.get = getter;
      if (entry.type == _SD_BUS_VTABLE_METHOD) entry.x.method.handler = method;
    }
  });
  return table;
}
}  // namespace

bool StatusNotifierItem::Create(const std::string& id, const std::string& title, const Pixmap& icon,
                                const std::string& toolTip, ClickHandler onClick) {
  Destroy();
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  id_ = id;
  title_ = title;
  icon_ = icon;
  toolTip_ = toolTip;
  onClick_ = std::move(onClick);

  int r = sd_bus_open_user(&bus_);
  if (r < 0) {
    DebugPrintf("tray: no session bus (%s), no icon", std::strerror(-r));
    bus_ = nullptr;
    return false;
  }
  service_ =
      "org.kde.StatusNotifierItem-" + std::to_string(::getpid()) + "-" + std::to_string(++g_itemCounter);
  r = sd_bus_add_object_vtable(
      bus_, &objectSlot_, kItemPath, kItemInterface,
      ItemVtable(&StatusNotifierItemBus::GetProperty, &StatusNotifierItemBus::OnMethod), this);
  if (r >= 0) r = sd_bus_request_name(bus_, service_.c_str(), 0);
  if (r >= 0) {
    // Register again whenever a watcher (a tray host) appears.
    std::string rule =
        std::string("type='signal',sender='org.freedesktop.DBus',member='NameOwnerChanged',arg0='") +
        kWatcherName + "'";
    r = sd_bus_add_match(bus_, &matchSlot_, rule.c_str(), &StatusNotifierItemBus::OnWatcherOwnerChanged,
                         this);
  }
  if (r < 0) {
    DebugPrintf("tray: cannot export the icon (%s)", std::strerror(-r));
    sd_bus_slot_unref(matchSlot_);
    sd_bus_slot_unref(objectSlot_);
    matchSlot_ = objectSlot_ = nullptr;
    sd_bus_flush_close_unref(bus_);
    bus_ = nullptr;
    return false;
  }
  RegisterWithWatcher();
  wakeFd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  thread_ = std::thread([this] { Run(); });
  return true;
}

void StatusNotifierItem::Run() {
  for (;;) {
    BusPollPlan plan;
    {
      std::lock_guard<std::recursive_mutex> lock(mutex_);
      if (bus_ == nullptr || !ProcessBus(bus_, plan)) return;
    }
    switch (WaitOnBus(plan, wakeFd_)) {
      case BusWaitResult::kReady:
        break;
      case BusWaitResult::kClosed:
        DebugPrintf("tray: session bus closed");
        registered_ = false;
        return;
      case BusWaitResult::kWoken:
      case BusWaitResult::kFailed:
        return;
    }
  }
}

void StatusNotifierItem::Destroy() {
  if (thread_.joinable()) {
    std::uint64_t one = 1;
    ssize_t ignored = ::write(wakeFd_, &one, sizeof one);
    (void)ignored;
    thread_.join();
  }
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  if (wakeFd_ >= 0) {
    ::close(wakeFd_);
    wakeFd_ = -1;
  }
  if (bus_ != nullptr) {
    sd_bus_slot_unref(matchSlot_);
    sd_bus_slot_unref(objectSlot_);
    matchSlot_ = objectSlot_ = nullptr;
    sd_bus_release_name(bus_, service_.c_str());
    sd_bus_flush_close_unref(bus_);
    bus_ = nullptr;
  }
  registered_ = false;
}

bool StatusNotifierItem::IsCreated() const {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  return bus_ != nullptr;
}

bool StatusNotifierItem::IsRegistered() const { return registered_; }

std::string StatusNotifierItem::ServiceName() const {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  return service_;
}

void StatusNotifierItem::EmitSignal(const char* member) {
  if (bus_ == nullptr) return;
  sd_bus_emit_signal(bus_, kItemPath, kItemInterface, member, "");
  sd_bus_flush(bus_);
}

void StatusNotifierItem::SetToolTip(const std::string& toolTip) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  toolTip_ = toolTip;
  EmitSignal("NewToolTip");
}

void StatusNotifierItem::SetIcon(const Pixmap& icon) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  icon_ = icon;
  EmitSignal("NewIcon");
}

}  // namespace ostrel
