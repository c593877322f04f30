#pragma once
// The outcome of a simulator operation: errors are results with a text for
// the person running the test or the demo.

#include <string>
#include <utility>

namespace ostrel::devsim {

struct SimResult {
  bool ok = true;
  std::string message;

  static SimResult Success() { return {}; }
  static SimResult Failure(std::string text) { return {false, std::move(text)}; }
  explicit operator bool() const { return ok; }
};

}  // namespace ostrel::devsim
