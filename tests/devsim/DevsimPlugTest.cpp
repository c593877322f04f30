// Plugging, unplugging and the input reports every connection receives.
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>

#include "DevsimFixture.h"
#include "support/TestEnvironment.h"

namespace ostrel::devsim {
namespace {

using namespace std::chrono_literals;
using test::MakeRequest;
using test::VhidClient;
using Bytes = std::vector<std::uint8_t>;

class DevsimPlug : public test::DevsimFixture {};

TEST_F(DevsimPlug, EveryInputReportGoesToEveryConnection) {
  SimulatedDevice* keyboard = PlugAndConnect("keyboard");
  ASSERT_NE(keyboard, nullptr);
  VhidClient second(keyboard->SocketPath());
  VhidClient third(keyboard->SocketPath());
  ASSERT_TRUE(second.Connected() && third.Connected());
  ASSERT_TRUE(client_->Exchange(MakeRequest(1)));  // all three are being served now
  ASSERT_TRUE(second.NextFrame());
  ASSERT_TRUE(third.NextFrame());
  EXPECT_EQ(keyboard->ConnectionCount(), 3u);

  // A reply too: like hidraw, the device cannot tell who asked.
  ASSERT_TRUE(second.Send(MakeRequest(5, 1, 0)));
  for (VhidClient* c : {client_.get(), &second, &third}) {
    const auto reply = c->NextFrame();
    ASSERT_TRUE(reply);
    EXPECT_EQ((*reply)[3], 5);
  }

  ASSERT_TRUE(keyboard->SendNotification(0x0402));
  for (VhidClient* c : {client_.get(), &second, &third}) {
    EXPECT_EQ(c->Next(), (Bytes{3, 0x02, 0x04}));
    EXPECT_EQ(c->Next(), (Bytes{3, 0x00, 0x00}));
  }
}

TEST_F(DevsimPlug, AConnectionJustOpenedGetsTheNextReport) {
  SimulatedDevice* mouse = PlugAndConnect("mouse");
  ASSERT_NE(mouse, nullptr);
  for (int round = 0; round < 20; ++round) {
    VhidClient late(mouse->SocketPath());
    ASSERT_TRUE(late.Connected());
    ASSERT_TRUE(mouse->SendNotification(0x0401));
    EXPECT_EQ(late.Next(), (Bytes{3, 0x01, 0x04})) << "round " << round;
    EXPECT_EQ(late.Next(), (Bytes{3, 0x00, 0x00})) << "round " << round;
  }
}

TEST_F(DevsimPlug, LogWithACapacityKeepsTheNewestButCountsAll) {
  DeviceOptions options;
  options.logCapacity = 4;
  SimulatedDevice* mouse = PlugAndConnect("mouse", options);
  ASSERT_NE(mouse, nullptr);
  for (std::uint16_t address = 0; address < 5; ++address) {
    ASSERT_TRUE(client_->Exchange(MakeRequest(5, 1, address)));
  }
  ASSERT_TRUE(mouse->Log().WaitForToHost(5, 2s));
  EXPECT_EQ(mouse->Log().CountFromHost(), 5u);
  EXPECT_EQ(mouse->Log().CountToHost(), 5u);
  const auto kept = mouse->Log().All();
  ASSERT_EQ(kept.size(), 4u);
  EXPECT_EQ(kept.front().bytes[5], 3) << "request 3 and everything after it";
  mouse->Log().Clear();
  EXPECT_EQ(mouse->Log().CountFromHost(), 0u);
  EXPECT_TRUE(mouse->Log().All().empty());
}

TEST_F(DevsimPlug, KeyEventsAndProfileSwitchNotifications) {
  SimulatedDevice* keyboard = PlugAndConnect("keyboard");
  ASSERT_NE(keyboard, nullptr);
  ASSERT_TRUE(keyboard->PressKey(0x2A));
  EXPECT_EQ(client_->Next(), (Bytes{3, 0x2A, 0x05}));
  EXPECT_EQ(client_->Next(), (Bytes{3, 0x00, 0x00}));
  EXPECT_EQ(client_->Next(), (Bytes{3, 0x2A, 0x06}));
  EXPECT_EQ(client_->Next(), (Bytes{3, 0x00, 0x00}));

  ASSERT_TRUE(keyboard->SwitchProfile(3));
  EXPECT_EQ(client_->Next(), (Bytes{3, 0x01, 0x04}));
  EXPECT_EQ(keyboard->State().CurrentProfile(), 3);
  const auto reply = client_->Exchange(MakeRequest(5, 1, 0));
  ASSERT_TRUE(reply);
  EXPECT_EQ((*reply)[8], 3);
  EXPECT_FALSE(keyboard->SwitchProfile(4)) << "the keyboard has four profiles";
  EXPECT_EQ(keyboard->State().CurrentProfile(), 3);
}

TEST_F(DevsimPlug, HeadsetHasNoNotificationCollection) {
  SimulatedDevice* headset = PlugAndConnect("headset");
  ASSERT_NE(headset, nullptr);
  EXPECT_FALSE(headset->SendNotification(0x0401));
  EXPECT_FALSE(headset->PressKey(1));
  // Its onboard profile still switches; the host finds out by reading.
  EXPECT_TRUE(headset->SwitchProfile(1));
  EXPECT_EQ(headset->State().CurrentProfile(), 1);
}

TEST_F(DevsimPlug, InputReportsArePacedOnePerUsbInterval) {
  DeviceOptions options;
  options.usbInterval = 20ms;
  SimulatedDevice* mouse = PlugAndConnect("mouse", options);
  ASSERT_NE(mouse, nullptr);
  ASSERT_TRUE(mouse->SendNotification(0x0401));  // two reports queued at once
  ASSERT_TRUE(client_->Next());
  ASSERT_TRUE(client_->Next());
  const auto log = mouse->Log().ToHost();
  ASSERT_EQ(log.size(), 2u);
  EXPECT_GE(log[1].time - log[0].time, 20ms);

  // A reply waits one interval after its request.
  const auto sent = std::chrono::steady_clock::now();
  ASSERT_TRUE(client_->Exchange(MakeRequest(1)));
  EXPECT_GE(std::chrono::steady_clock::now() - sent, 20ms);
}

TEST_F(DevsimPlug, UnplugDeletesJsonThenSocketThenClosesConnections) {
  SimulatedDevice* mouse = PlugAndConnect("mouse");
  ASSERT_NE(mouse, nullptr);
  ASSERT_TRUE(client_->Exchange(MakeRequest(1)));

  const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  ASSERT_GE(watch, 0);
  ASSERT_GE(::inotify_add_watch(watch, simulator_.Directory().c_str(), IN_DELETE), 0);

  // When the connection ends, both entries must be gone already.
  std::atomic<bool> closed{false}, entriesGoneAtClose{false};
  std::thread reader([&] {
    closed = client_->WaitForClose(5s);
    entriesGoneAtClose =
        !std::filesystem::exists(mouse->DescriptionPath()) && !std::filesystem::exists(mouse->SocketPath());
  });
  mouse->Unplug();
  reader.join();
  EXPECT_TRUE(closed);
  EXPECT_TRUE(entriesGoneAtClose);
  EXPECT_FALSE(mouse->IsPlugged());

  std::vector<std::string> deleted;
  alignas(inotify_event) char buffer[4096];
  ssize_t length;
  while ((length = ::read(watch, buffer, sizeof buffer)) > 0) {
    for (char* p = buffer; p < buffer + length;) {
      const auto* event = reinterpret_cast<const inotify_event*>(p);
      if (event->len > 0) deleted.emplace_back(event->name);
      p += sizeof(inotify_event) + event->len;
    }
  }
  ::close(watch);
  EXPECT_EQ(deleted, (std::vector<std::string>{"mouse.json", "mouse.sock"}));
  EXPECT_FALSE(mouse->SendNotification(0x0401)) << "nothing is sent while unplugged";
}

TEST_F(DevsimPlug, ReplugUsesTheSameNameAndKeepsTheMemory) {
  SimulatedDevice* pad = PlugAndConnect("mousepad");
  ASSERT_NE(pad, nullptr);
  ASSERT_TRUE(client_->WriteArea(6, 0, Bytes{0, 7, 8, 9}));
  ASSERT_TRUE(simulator_.Unplug("mousepad").ok);
  EXPECT_TRUE(client_->WaitForClose());
  EXPECT_FALSE(client_->Send(MakeRequest(1)) && client_->NextFrame(100ms)) << "the old connection is dead";

  ASSERT_TRUE(simulator_.Replug("mousepad").ok);
  EXPECT_TRUE(std::filesystem::exists(simulator_.Directory() + "/mousepad.json"));
  EXPECT_TRUE(std::filesystem::exists(simulator_.Directory() + "/mousepad.sock"));
  VhidClient fresh(pad->SocketPath());
  ASSERT_TRUE(fresh.Connected());
  const auto record = fresh.ReadArea(5, 0, 4);
  ASSERT_TRUE(record);
  EXPECT_EQ(*record, (Bytes{0, 7, 8, 9}));

  // Unplugging twice and removing are harmless; the name is free again.
  ASSERT_TRUE(simulator_.Unplug("mousepad").ok);
  ASSERT_TRUE(simulator_.Unplug("mousepad").ok);
  ASSERT_TRUE(simulator_.Remove("mousepad").ok);
  EXPECT_FALSE(simulator_.Replug("mousepad").ok);
  EXPECT_NE(simulator_.Plug("mousepad"), nullptr);
}

TEST_F(DevsimPlug, EntriesOfAKilledSimulatorAreReplacedButLiveOnesAreNot) {
  SimulatedDevice* mouse = PlugAndConnect("mouse");
  ASSERT_NE(mouse, nullptr);
  // A second simulator on the same directory cannot take the name.
  Simulator other(simulator_.Directory());
  DeviceOptions same;
  same.name = "mouse";
  SimResult result;
  EXPECT_EQ(other.Plug("mouse", same, &result), nullptr);
  EXPECT_NE(result.message.find("another simulator"), std::string::npos) << result.message;
  EXPECT_TRUE(mouse->IsPlugged());
  EXPECT_TRUE(client_->Exchange(MakeRequest(1))) << "the live device is untouched";

  // What a killed simulator leaves: the description and a socket nobody
  // listens on.
  const std::string description = ostrel::test::ReadFileBytes(mouse->DescriptionPath());
  mouse->Unplug();
  { std::ofstream(mouse->DescriptionPath()) << description; }
  const int fd = ::socket(AF_UNIX, SOCK_SEQPACKET, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, mouse->SocketPath().c_str(), sizeof address.sun_path - 1);
  ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ::close(fd);
  ASSERT_TRUE(std::filesystem::exists(mouse->SocketPath()));
  SimulatedDevice* replacement = other.Plug("mouse", same, &result);
  ASSERT_NE(replacement, nullptr) << result.message;
  VhidClient client(replacement->SocketPath());
  EXPECT_TRUE(client.Exchange(MakeRequest(1)));

  // A file that is not a socket is not ours to remove.
  other.Remove("mouse");
  { std::ofstream(mouse->SocketPath()) << "x"; }
  EXPECT_EQ(other.Plug("mouse", same, &result), nullptr);
  EXPECT_NE(result.message.find("not a socket"), std::string::npos) << result.message;
}

}  // namespace
}  // namespace ostrel::devsim
