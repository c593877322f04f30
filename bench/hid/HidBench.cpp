// What discovery and the notification reader cost: parsing a descriptor,
// decoding a report, and one enumeration of virtual interfaces (the
// scanning thread enumerates every 100 ms while a slot is free).
#include <benchmark/benchmark.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>

#include "HidTestDescriptors.h"
#include "devicelink/HidLink.h"
#include "platform/hid/HidDescriptorParser.h"
#include "platform/hid/HidPlatform.h"

namespace {

namespace fs = std::filesystem;
using ostrel::HidDescriptorParser;
using ostrel::HidPreparsedData;

void BM_ParseKeyboardInterface(benchmark::State& state) {
  const auto& bytes = ostrel::test::kKeyboardInterface;
  for (auto _ : state) {
    std::vector<HidPreparsedData> collections;
    benchmark::DoNotOptimize(HidDescriptorParser::Parse(bytes.data(), bytes.size(), collections));
  }
  state.SetBytesProcessed(state.iterations() * std::int64_t(bytes.size()));
}
BENCHMARK(BM_ParseKeyboardInterface);

void BM_DecodeKeyboardReport(benchmark::State& state) {
  const auto& bytes = ostrel::test::kBootKeyboard;
  std::vector<HidPreparsedData> collections;
  HidDescriptorParser::Parse(bytes.data(), bytes.size(), collections);
  const std::vector<std::uint8_t> report = {0x00, 0x02, 0x00, 0x04, 0x05, 0x29, 0x00, 0x00, 0x00};
  std::vector<std::uint16_t> usages(collections[0].MaxUsageListLength(ostrel::HidP_Input, 7));
  for (auto _ : state) {
    std::uint32_t length = static_cast<std::uint32_t>(usages.size());
    benchmark::DoNotOptimize(collections[0].GetUsages(ostrel::HidP_Input, 7, 0, usages.data(), length,
                                                      report.data(), report.size()));
  }
}
BENCHMARK(BM_DecodeKeyboardReport);

// N virtual interfaces (two collections each) in a private directory.
void BM_EnumerateVirtual(benchmark::State& state) {
  char pattern[] = "/tmp/ostrel-bench-XXXXXX";
  const fs::path root = mkdtemp(pattern);
  const fs::path dir = root / "vhid";
  fs::create_directory(dir);
  chmod(dir.c_str(), 0700);
  std::vector<int> sockets;
  std::string hex;
  for (auto b : ostrel::test::kKeyboardInterface) {
    char two[4];
    std::snprintf(two, sizeof two, hex.empty() ? "%02x" : " %02x", b);
    hex += two;
  }
  for (int i = 0; i < state.range(0); ++i) {
    const std::string name = "kbd" + std::to_string(i);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strcpy(address.sun_path, (dir / (name + ".sock")).c_str());
    const int fd = socket(AF_UNIX, SOCK_SEQPACKET, 0);
    bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    listen(fd, 4);
    sockets.push_back(fd);
    std::ofstream(dir / (name + ".json")) << R"({"vendor_id": 12815, "product_id": 20766, "version": 1, )"
                                          << R"("interface": 1, "report_descriptor": ")" << hex << "\"}";
  }
  ostrel::HidPlatform platform((root / "nosys").string(), (root / "nodev").string(), dir.string());
  for (auto _ : state) benchmark::DoNotOptimize(platform.Enumerate());
  for (int fd : sockets) close(fd);
  fs::remove_all(root);
}
BENCHMARK(BM_EnumerateVirtual)->Arg(2)->Arg(16);

// One 64-byte command out and its reply in, through HidLink and a virtual
// interface whose device echoes every frame: the transport's share of a
// command exchange.
void BM_VirtualExchange(benchmark::State& state) {
  char pattern[] = "/tmp/ostrel-bench-XXXXXX";
  const fs::path root = mkdtemp(pattern);
  const fs::path dir = root / "ostrel" / "vhid";
  fs::create_directories(dir);
  chmod(dir.c_str(), 0700);
  const char* previous = std::getenv("XDG_RUNTIME_DIR");
  const std::string saved = previous ? previous : "";
  setenv("XDG_RUNTIME_DIR", root.c_str(), 1);
  ostrel::HidPlatform::SetRootsForTesting((root / "nosys").string(), (root / "nodev").string());

  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strcpy(address.sun_path, (dir / "kbd.sock").c_str());
  const int listener = socket(AF_UNIX, SOCK_SEQPACKET, 0);
  bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
  listen(listener, 4);
  std::string hex;
  for (auto b : ostrel::test::kKeyboardInterface) {
    char two[4];
    std::snprintf(two, sizeof two, hex.empty() ? "%02x" : " %02x", b);
    hex += two;
  }
  std::ofstream(dir / "kbd.json") << R"({"vendor_id": 12815, "product_id": 20766, "version": 1, )"
                                  << R"("interface": 1, "report_descriptor": ")" << hex << "\"}";
  std::thread device([listener] {
    const int connection = accept(listener, nullptr, nullptr);
    std::uint8_t packet[128];
    for (ssize_t n; (n = recv(connection, packet, sizeof packet, 0)) > 0;)
      send(connection, packet, n, MSG_NOSIGNAL);
    close(connection);
  });

  ostrel::HidLink link;
  link.Enumerate();
  std::string vendorPath;
  while (const char* path = link.NextPath())
    if (std::string(path).find("&col02") != std::string::npos) vendorPath = path;
  if (!link.Open(vendorPath, true, true, true, false)) {
    state.SkipWithError("cannot open the virtual interface");
  } else {
    std::vector<std::uint8_t> frame(64, 0), reply(64, 0);
    frame[0] = 4;
    for (auto _ : state) {
      std::uint32_t count = 0;
      if (!link.Write(64, frame.data(), 1000, &count) || !link.Read(64, reply.data(), 1000, &count)) {
        state.SkipWithError("exchange failed");
        break;
      }
    }
  }
  link.Close();
  shutdown(listener, SHUT_RDWR);
  device.join();
  close(listener);
  ostrel::HidPlatform::SetRootsForTesting("", "");
  setenv("XDG_RUNTIME_DIR", saved.c_str(), 1);
  fs::remove_all(root);
}
BENCHMARK(BM_VirtualExchange);

}  // namespace

BENCHMARK_MAIN();
