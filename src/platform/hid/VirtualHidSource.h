#pragma once
// Virtual HID interfaces served by a device simulator: in one private
// directory, N.json describes interface N and N.sock (SOCK_SEQPACKET)
// carries its reports, one packet per report as hidraw carries them.

#include <string>
#include <vector>

#include "platform/hid/HidInterface.h"

namespace ostrel {

class VirtualHidSource {
 public:
  // An empty directory means the default one (DefaultDirectory()).
  explicit VirtualHidSource(std::string directory = {});

  // $XDG_RUNTIME_DIR/ostrel/vhid/, or /tmp/ostrel-<uid>/vhid/ without a runtime folder.
  static std::string DefaultDirectory();

  // The interfaces described in the directory; none when the directory is
  // missing, not ours, or writable by others.
  std::vector<HidInterface> List() const;
  bool Find(const std::string& name, HidInterface& out) const;

  static bool ValidName(const std::string& name);
  // Reads one description; false when it does not parse or lacks a required key.
  static bool ParseDescription(const std::string& json, HidInterface& out);

  const std::string& Directory() const { return directory_; }

 private:
  bool DirectoryTrusted() const;
  bool Read(const std::string& name, HidInterface& out) const;

  std::string directory_;
};

}  // namespace ostrel
