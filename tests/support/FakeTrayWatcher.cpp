#include "support/FakeTrayWatcher.h"

#include <chrono>

namespace ostrel::test {

FakeTrayWatcher::FakeTrayWatcher() {
  if (sd_bus_open_user(&bus_) < 0) return;
  static const sd_bus_vtable vtable[] = {
      SD_BUS_VTABLE_START(0),
      SD_BUS_METHOD("RegisterStatusNotifierItem", "s", "", &FakeTrayWatcher::OnRegister,
                    SD_BUS_VTABLE_UNPRIVILEGED),
      SD_BUS_VTABLE_END,
  };
  sd_bus_add_object_vtable(bus_, nullptr, "/StatusNotifierWatcher", "org.kde.StatusNotifierWatcher", vtable,
                           this);
  ok_ = sd_bus_request_name(bus_, "org.kde.StatusNotifierWatcher", 0) >= 0;
  thread_ = std::thread([this] {
    while (!stop_) {
      while (sd_bus_process(bus_, nullptr) > 0) {
      }
      sd_bus_wait(bus_, 50'000);
    }
  });
}

FakeTrayWatcher::~FakeTrayWatcher() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
  sd_bus_flush_close_unref(bus_);
}

bool FakeTrayWatcher::WaitForRegistration(std::string* service) {
  std::unique_lock<std::mutex> lock(mutex_);
  bool got = cv_.wait_for(lock, std::chrono::seconds(5), [&] { return !services_.empty(); });
  if (got) *service = services_.front();
  return got;
}

int FakeTrayWatcher::OnRegister(sd_bus_message* m, void* userdata, sd_bus_error*) {
  auto* self = static_cast<FakeTrayWatcher*>(userdata);
  const char* service = nullptr;
  sd_bus_message_read(m, "s", &service);
  {
    std::lock_guard<std::mutex> lock(self->mutex_);
    self->services_.emplace_back(service ? service : "");
  }
  self->cv_.notify_all();
  return sd_bus_reply_method_return(m, "");
}

}  // namespace ostrel::test
