#pragma once
// Replaces a file's contents so that a crash, a full disk or a killed process
// never leaves a broken file: the bytes go to a temporary file in the same
// folder, are flushed to disk, and the temporary file is renamed over the old
// one. On any failure the old file stays as it was.

#include <string>
#include <string_view>

namespace ostrel {

class AtomicFile {
 public:
  // True when `path` now holds exactly `bytes`.
  static bool Write(const std::string& path, std::string_view bytes);

  // Removes the temporary files a killed process left in `folder` (those of
  // processes that no longer run). Returns how many were removed.
  static int RemoveStaleTemporaries(const std::string& folder);

  // The prefix of temporary files in a folder (hidden, so they stay out of
  // listings and file dialogs).
  static constexpr std::string_view kTempMarker = ".ostrel-tmp-";
};

}  // namespace ostrel
