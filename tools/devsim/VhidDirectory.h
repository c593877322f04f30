#pragma once
// The directory of virtual HID interfaces: $XDG_RUNTIME_DIR/ostrel/vhid, or
// /tmp/ostrel-<uid>/vhid when XDG_RUNTIME_DIR is unset or empty. The
// simulator creates it, mode 0700; the program ignores it unless it belongs
// to the user and nobody else may write to it.

#include <string>

#include "devsim/SimResult.h"

namespace ostrel::devsim {

class VhidDirectory {
 public:
  // Resolved from the environment on each call; no trailing '/'.
  static std::string DefaultPath();
  // Creates the missing folders of `path` (mode 0700 for the ones made
  // here) and checks that the directory itself is ours and private; a
  // directory of ours that is open to others is made private.
  static SimResult Prepare(const std::string& path);
};

}  // namespace ostrel::devsim
