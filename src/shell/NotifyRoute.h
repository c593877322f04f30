#pragma once
// One row of a routing table: a sender name and how it is compared, and the
// handler it reaches. Tables are constexpr arrays; the first matching row acts.

#include <cstddef>
#include <span>
#include <string_view>

#include "shell/ControlName.h"

namespace ostrel {

enum class NameMatch {
  AnyCase,    // the whole name, letter case ignored
  ExactCase,  // the whole name, letter case significant
  Numbered,   // prefix + decimal number, split at the last "_", case ignored
};

template <class Handler>
struct NotifyRoute {
  std::string_view name;
  NameMatch match;
  Handler handler;

  static bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
      char x = a[i] >= 'A' && a[i] <= 'Z' ? static_cast<char>(a[i] - 'A' + 'a') : a[i];
      char y = b[i] >= 'A' && b[i] <= 'Z' ? static_cast<char>(b[i] - 'A' + 'a') : b[i];
      if (x != y) return false;
    }
    return true;
  }

  bool Matches(std::string_view sender, int* number) const {
    switch (match) {
      case NameMatch::AnyCase:
        return EqualNoCase(name, sender);
      case NameMatch::ExactCase:
        return name == sender;
      case NameMatch::Numbered: {
        ControlName split = ControlName::Split(sender);
        if (!split.hasNumber || !EqualNoCase(name, split.prefix)) return false;
        if (number) *number = split.number;
        return true;
      }
    }
    return false;
  }

  // The first row matching `sender`, or null; `number` gets the family
  // number of a Numbered row (0 otherwise).
  static const NotifyRoute* Find(std::span<const NotifyRoute> table, std::string_view sender, int* number) {
    if (number) *number = 0;
    for (const NotifyRoute& row : table)
      if (row.Matches(sender, number)) return &row;
    return nullptr;
  }
};

}  // namespace ostrel
