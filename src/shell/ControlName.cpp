#include "shell/ControlName.h"

#include <charconv>

namespace ostrel {

ControlName ControlName::Split(std::string_view name) {
  ControlName out;
  out.prefix = name;
  std::size_t cut = name.rfind('_');
  if (cut == std::string_view::npos) return out;
  std::string_view rest = name.substr(cut + 1);
  if (rest.empty()) return out;
  int value = 0;
  auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), value);
  if (error != std::errc() || end != rest.data() + rest.size()) return out;
  out.prefix = name.substr(0, cut + 1);
  out.number = value;
  out.hasNumber = true;
  return out;
}

}  // namespace ostrel
