// The running program on a private session bus, seen from a companion.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <systemd/sd-bus.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <thread>
#include <vector>

#include "shell/ShellBus.h"
#include "support/PrivateSessionBus.h"

extern char** environ;

namespace ostrel {
namespace {

using namespace std::chrono_literals;

struct Companion {
  std::vector<std::pair<int, int>> lightStates;
  std::vector<std::uint8_t> table;
  std::uint32_t kind = 0;
};

int OnLightState(sd_bus_message* m, void* userdata, sd_bus_error*) {
  int w = 0, l = 0;
  if (sd_bus_message_read(m, "ii", &w, &l) >= 0)
    static_cast<Companion*>(userdata)->lightStates.emplace_back(w, l);
  return 0;
}

int OnCopyData(sd_bus_message* m, void* userdata, sd_bus_error*) {
  auto* c = static_cast<Companion*>(userdata);
  std::uint64_t sender = 0;
  const void* bytes = nullptr;
  std::size_t size = 0;
  if (sd_bus_message_read(m, "tu", &sender, &c->kind) < 0) return -EINVAL;
  if (sd_bus_message_read_array(m, 'y', &bytes, &size) < 0) return -EINVAL;
  c->table.assign(static_cast<const std::uint8_t*>(bytes), static_cast<const std::uint8_t*>(bytes) + size);
  return sd_bus_reply_method_return(m, "");
}

const sd_bus_vtable kCompanionVtable[] = {
    SD_BUS_VTABLE_START(0),
    SD_BUS_METHOD("CopyData", "tuay", "", OnCopyData, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_VTABLE_END,
};

bool Serve(sd_bus* bus, const std::function<bool()>& done, std::chrono::milliseconds limit = 10s) {
  auto end = std::chrono::steady_clock::now() + limit;
  while (!done() && std::chrono::steady_clock::now() < end) {
    while (sd_bus_process(bus, nullptr) > 0) {
    }
    sd_bus_wait(bus, 20'000);
  }
  return done();
}

TEST(IpcProgram, TheProgramTalksToItsCompanion) {
  ::unsetenv("DISPLAY");
  test::PrivateSessionBus bus;
  ASSERT_TRUE(bus.ok());
  sd_bus* client = nullptr;
  ASSERT_GE(sd_bus_open_user(&client), 0);
  Companion companion;
  sd_bus_slot* match = nullptr;
  sd_bus_slot* object = nullptr;
  ASSERT_GE(sd_bus_match_signal(client, &match, nullptr, ShellBus::kObjectPath, ShellBus::kInterface,
                                "LightState", OnLightState, &companion),
            0);
  ASSERT_GE(sd_bus_add_object_vtable(client, &object, ShellBus::kCompanionPath, ShellBus::kCompanionInterface,
                                     kCompanionVtable, &companion),
            0);
  ASSERT_GE(sd_bus_request_name(client, ShellBus::kCompanionName, 0), 0);

  char* argv[] = {const_cast<char*>(OSTREL_APP_EXE), nullptr};
  pid_t pid = -1;
  ASSERT_EQ(posix_spawn(&pid, OSTREL_APP_EXE, nullptr, nullptr, argv, environ), 0);

  // Once its window is up it says it controls the lighting.
  EXPECT_TRUE(Serve(client, [&] { return !companion.lightStates.empty(); }));
  if (!companion.lightStates.empty()) {
    EXPECT_EQ(companion.lightStates[0], std::make_pair(1, 1));
  }

  // It answers a table request with the block.
  std::thread asker([] {
    sd_bus* own = nullptr;
    ASSERT_GE(sd_bus_open_user(&own), 0);
    sd_bus_error error = SD_BUS_ERROR_NULL;
    EXPECT_GE(sd_bus_call_method(own, ShellBus::kServiceName, ShellBus::kObjectPath, ShellBus::kInterface,
                                 "DeviceTableRequest", &error, nullptr, "ii", 0, 0),
              0)
        << (error.message ? error.message : "");
    sd_bus_error_free(&error);
    sd_bus_flush_close_unref(own);
  });
  EXPECT_TRUE(Serve(client, [&] { return !companion.table.empty(); }));
  asker.join();
  EXPECT_EQ(companion.kind, 5u);
  ASSERT_EQ(companion.table.size(), 1024u);
  EXPECT_EQ(companion.table[16], 4);  // the number of models

  kill(pid, SIGTERM);
  int status = 0;
  for (int i = 0; i < 500 && waitpid(pid, &status, WNOHANG) == 0; ++i) std::this_thread::sleep_for(20ms);
  if (waitpid(pid, &status, WNOHANG) == 0) {
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    ADD_FAILURE() << "the program did not end on SIGTERM";
  }
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  sd_bus_slot_unref(object);
  sd_bus_slot_unref(match);
  sd_bus_flush_close_unref(client);
}

}  // namespace
}  // namespace ostrel
