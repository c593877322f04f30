#pragma once
// One display font of the "Font" folder beside the executable, made
// available to this process only. A font that is missing or rejected is
// skipped: the text renderer falls back to another face.

#include <string>

#include "platform/os/PrivateFonts.h"

namespace ostrel {

class PrivateFontFile {
 public:
  PrivateFontFile();
  ~PrivateFontFile();
  PrivateFontFile(const PrivateFontFile&) = delete;
  PrivateFontFile& operator=(const PrivateFontFile&) = delete;

  // `relativePath` below the program folder ("Font\\Helvetica.ttf").
  bool Load(const std::string& relativePath);
  // Removes the font when it was registered; harmless otherwise.
  void Unload();
  bool IsLoaded() const { return handle_ != 0; }
  const std::string& Path() const { return path_; }

 private:
  std::string folder_;
  std::string path_;
  PrivateFontHandle handle_ = 0;
};

}  // namespace ostrel
