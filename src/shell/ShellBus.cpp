#include "shell/ShellBus.h"

#include <sys/eventfd.h>
#include <systemd/sd-bus.h>
#include <unistd.h>

#include <cstring>

#include "platform/os/BusWait.h"
#include "platform/os/DebugLog.h"
#include "platform/ui/WindowApi.h"
#include "shell/RegisteredMessages.h"

namespace ostrel {
namespace {

constexpr std::uint64_t kCallTimeoutUsec = 2'000'000;

}  // namespace

struct ShellBusCallbacks {
  static int OnActivate(sd_bus_message* m, void* userdata, sd_bus_error* error) {
    return Forward(m, userdata, error, RegisteredMessages::InstanceMessage());
  }
  static int OnLightControlRequest(sd_bus_message* m, void* userdata, sd_bus_error* error) {
    return Forward(m, userdata, error, RegisteredMessages::LightControlRequestMessage());
  }
  static int OnDeviceTableRequest(sd_bus_message* m, void* userdata, sd_bus_error* error) {
    return Forward(m, userdata, error, RegisteredMessages::DeviceTableRequestMessage());
  }
  static int Forward(sd_bus_message* m, void* userdata, sd_bus_error*, UINT message) {
    std::int32_t w = 0;
    std::int32_t l = 0;
    int r = sd_bus_message_read(m, "ii", &w, &l);
    if (r < 0) return r;
    auto* self = static_cast<ShellBus*>(userdata);
    self->PostToTarget(message, static_cast<WPARAM>(w), static_cast<LPARAM>(l));
    return sd_bus_reply_method_return(m, "");
  }
  static int OnCopyDataReply(sd_bus_message* m, void*, sd_bus_error*) {
    const sd_bus_error* e = sd_bus_message_get_error(m);
    if (e) DebugPrintf("ipc: DodoVeru did not take the device table: %s", e->name ? e->name : "?");
    return 0;
  }
};

namespace {

const sd_bus_vtable kVtable[] = {
    SD_BUS_VTABLE_START(0),
    SD_BUS_METHOD("Activate", "ii", "", ShellBusCallbacks::OnActivate, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("LightControlRequest", "ii", "", ShellBusCallbacks::OnLightControlRequest,
                  SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("DeviceTableRequest", "ii", "", ShellBusCallbacks::OnDeviceTableRequest,
                  SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_SIGNAL("LightState", "ii", 0),
    SD_BUS_VTABLE_END,
};

}  // namespace

ShellBus::ShellBus() = default;

ShellBus::~ShellBus() { Close(); }

ShellBus::Claim ShellBus::Open() {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  if (bus_) return Claim::First;
  sd_bus* bus = nullptr;
  int r = sd_bus_open_user(&bus);
  if (r < 0) {
    DebugPrintf("ipc: no session bus (%s)", std::strerror(-r));
    return Claim::NoBus;
  }
  bus_ = bus;
  r = sd_bus_add_object_vtable(bus_, &objectSlot_, kObjectPath, kInterface, kVtable, this);
  if (r < 0) {
    DebugPrintf("ipc: cannot export %s (%s)", kObjectPath, std::strerror(-r));
  }
  r = sd_bus_request_name(bus_, kServiceName, 0);
  if (r == -EEXIST) return Claim::Second;
  if (r < 0) {
    // A bus that refuses the name cannot decide the single instance.
    DebugPrintf("ipc: cannot own %s (%s)", kServiceName, std::strerror(-r));
    sd_bus_slot_unref(objectSlot_);
    objectSlot_ = nullptr;
    sd_bus_flush_close_unref(bus_);
    bus_ = nullptr;
    return Claim::NoBus;
  }
  return Claim::First;
}

bool ShellBus::WakeFirstInstance(WPARAM wParam, LPARAM lParam) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  if (!bus_) return false;
  sd_bus_message* call = nullptr;
  sd_bus_message* reply = nullptr;
  sd_bus_error error = SD_BUS_ERROR_NULL;
  int r = sd_bus_message_new_method_call(bus_, &call, kServiceName, kObjectPath, kInterface, "Activate");
  if (r >= 0)
    r = sd_bus_message_append(call, "ii", static_cast<std::int32_t>(wParam),
                              static_cast<std::int32_t>(lParam));
  if (r >= 0) r = sd_bus_call(bus_, call, kCallTimeoutUsec, &error, &reply);
  if (r < 0)
    DebugPrintf("ipc: the running instance did not answer (%s)",
                error.message ? error.message : std::strerror(-r));
  sd_bus_error_free(&error);
  sd_bus_message_unref(reply);
  sd_bus_message_unref(call);
  return r >= 0;
}

bool ShellBus::Start() {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  if (!bus_ || thread_.joinable()) return false;
  wakeFd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (wakeFd_ < 0) return false;
  stop_ = false;
  thread_ = std::thread([this] { Run(); });
  return true;
}

void ShellBus::Run() {
  for (;;) {
    BusPollPlan plan;
    {
      std::lock_guard<std::recursive_mutex> lock(mutex_);
      if (!bus_ || stop_ || !ProcessBus(bus_, plan)) return;
    }
    switch (WaitOnBus(plan, wakeFd_)) {
      case BusWaitResult::kReady:
        break;
      case BusWaitResult::kWoken:
        if (stop_) return;
        break;
      case BusWaitResult::kClosed:
        DebugPrintf("ipc: session bus closed");
        return;
      case BusWaitResult::kFailed:
        return;
    }
  }
}

void ShellBus::WakeThread() {
  if (wakeFd_ < 0) return;
  std::uint64_t one = 1;
  ssize_t ignored = ::write(wakeFd_, &one, sizeof one);
  (void)ignored;
}

void ShellBus::Close() {
  if (thread_.joinable()) {
    stop_ = true;
    WakeThread();
    thread_.join();
  }
  if (wakeFd_ >= 0) {
    ::close(wakeFd_);
    wakeFd_ = -1;
  }
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  if (objectSlot_) {
    sd_bus_slot_unref(objectSlot_);
    objectSlot_ = nullptr;
  }
  if (bus_) {
    sd_bus_flush_close_unref(bus_);
    bus_ = nullptr;
  }
}

void ShellBus::PostToTarget(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND target = target_.load();
  if (!target || message == 0) {
    DebugPrintf("ipc: message 0x%X before the window exists, dropped", message);
    return;
  }
  PostMessage(target, message, wParam, lParam);
}

bool ShellBus::BroadcastLightState(WPARAM wParam, LPARAM lParam) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  if (!bus_) return false;
  int r = sd_bus_emit_signal(bus_, kObjectPath, kInterface, "LightState", "ii",
                             static_cast<std::int32_t>(wParam), static_cast<std::int32_t>(lParam));
  if (r >= 0) sd_bus_flush(bus_);
  WakeThread();
  return r >= 0;
}

bool ShellBus::SendDeviceTable(HWND sender, const std::uint8_t* block, std::size_t length) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  if (!bus_) return false;
  sd_bus_message* call = nullptr;
  int r = sd_bus_message_new_method_call(bus_, &call, kCompanionName, kCompanionPath, kCompanionInterface,
                                         "CopyData");
  // Never start a companion just to hand it the table.
  if (r >= 0) r = sd_bus_message_set_auto_start(call, 0);
  if (r >= 0)
    r = sd_bus_message_append(call, "tu",
                              static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(sender)),
                              static_cast<std::uint32_t>(5));
  if (r >= 0) r = sd_bus_message_append_array(call, 'y', block, length);
  if (r >= 0)
    r = sd_bus_call_async(bus_, nullptr, call, ShellBusCallbacks::OnCopyDataReply, this, kCallTimeoutUsec);
  sd_bus_message_unref(call);
  WakeThread();
  return r >= 0;
}

}  // namespace ostrel
