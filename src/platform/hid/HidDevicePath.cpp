#include "platform/hid/HidDevicePath.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace ostrel {

namespace {

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

std::size_t FindIgnoringCase(std::string_view text, std::string_view marker) {
  if (marker.empty() || marker.size() > text.size()) return std::string_view::npos;
  auto it = std::search(text.begin(), text.end(), marker.begin(), marker.end(),
                        [](char a, char b) { return Lower(a) == Lower(b); });
  return it == text.end() ? std::string_view::npos : static_cast<std::size_t>(it - text.begin());
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = Lower(c);
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

std::uint32_t HidDevicePath::HexAfter(std::string_view path, std::string_view marker) {
  const std::size_t at = FindIgnoringCase(path, marker);
  if (at == std::string_view::npos) return 0;
  std::uint32_t value = 0;
  // Eight digits fill 32 bits; further digits would only overflow.
  for (std::size_t i = at + marker.size(), n = 0; i < path.size() && n < 8; ++i, ++n) {
    const int digit = HexDigit(path[i]);
    if (digit < 0) break;
    value = value * 16 + static_cast<std::uint32_t>(digit);
  }
  return value;
}

bool HidDevicePath::Contains(std::string_view path, std::string_view marker) {
  return FindIgnoringCase(path, marker) != std::string_view::npos;
}

std::string HidDevicePath::Format(const HidInterface& iface, std::size_t collectionIndex,
                                  std::size_t collectionCount) {
  char ids[64];
  int n = std::snprintf(ids, sizeof ids, "vid_%04x&pid_%04x", iface.vendorId, iface.productId);
  if (iface.interfaceNumber >= 0)
    n += std::snprintf(ids + n, sizeof ids - n, "&mi_%02x", static_cast<unsigned>(iface.interfaceNumber));
  if (collectionCount > 1)
    std::snprintf(ids + n, sizeof ids - n, "&col%02x", static_cast<unsigned>(collectionIndex + 1));
  std::string path(iface.source == HidSourceKind::Hidraw ? kHidrawPrefix : kVirtualPrefix);
  path += '#';
  path += ids;
  path += '#';
  path += iface.name;
  path += '#';
  path += iface.identity;
  return path;
}

bool HidDevicePath::Parse(std::string_view path, Parts& parts) {
  parts = Parts();
  const std::size_t first = path.find('#');
  if (first == std::string_view::npos) return false;
  const std::size_t second = path.find('#', first + 1);
  if (second == std::string_view::npos) return false;
  const std::size_t third = path.find('#', second + 1);
  if (third == std::string_view::npos) return false;
  const std::string_view prefix = path.substr(0, first);
  if (prefix == kHidrawPrefix)
    parts.source = HidSourceKind::Hidraw;
  else if (prefix == kVirtualPrefix)
    parts.source = HidSourceKind::Virtual;
  else
    return false;
  const std::string_view ids = path.substr(first + 1, second - first - 1);
  if (!Contains(ids, "vid_") || !Contains(ids, "pid_")) return false;
  parts.vendorId = static_cast<std::uint16_t>(HexAfter(ids, "vid_"));
  parts.productId = static_cast<std::uint16_t>(HexAfter(ids, "pid_"));
  parts.interfaceNumber = HexAfter(ids, "&mi_");
  parts.collectionNumber = HexAfter(ids, "&col");
  parts.name = std::string(path.substr(second + 1, third - second - 1));
  parts.identity = std::string(path.substr(third + 1));
  return !parts.name.empty();
}

}  // namespace ostrel
