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

}  // namespace

BENCHMARK_MAIN();
