// Virtual interface descriptions (N.json) are outside input too.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/hid/VirtualHidSource.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ostrel::HidInterface iface;
  ostrel::VirtualHidSource::ParseDescription(std::string(reinterpret_cast<const char*>(data), size), iface);
  return 0;
}
