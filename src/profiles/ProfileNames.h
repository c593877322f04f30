#pragma once
// The naming rules of profiles: names are free text, compared ignoring
// letter case (also beyond ASCII), and new names are made unique by the
// patterns of the add, copy and import operations.

#include <string>
#include <string_view>
#include <vector>

namespace ostrel {

class ProfileNames {
 public:
  static bool EqualsIgnoreCase(std::string_view a, std::string_view b);
  static bool Contains(const std::vector<std::string>& names, std::string_view name);
  // True when nothing but white space is left after trimming.
  static bool IsBlank(std::string_view name);

  // "profile1", "profile2", ...: the first one no name equals.
  static std::string NewProfileName(const std::vector<std::string>& names);
  // "A copy", then "A copy copy", ... until no name equals it.
  static std::string CopyName(const std::vector<std::string>& names, const std::string& source);
  // "P", then "P(1)", then "P(1)(2)", ...: the counter grows with each attempt
  // and is appended to the already extended name.
  static std::string ImportName(const std::vector<std::string>& names, const std::string& title);
};

}  // namespace ostrel
