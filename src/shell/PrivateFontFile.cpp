#include "shell/PrivateFontFile.h"

#include "platform/os/KnownFolders.h"

namespace ostrel {

PrivateFontFile::PrivateFontFile() : folder_(ProgramFolder()) {}

PrivateFontFile::~PrivateFontFile() { Unload(); }

bool PrivateFontFile::Load(const std::string& relativePath) {
  Unload();
  path_ = folder_ + ToNativePath(relativePath);
  handle_ = AddPrivateFont(path_);
  return handle_ != 0;
}

void PrivateFontFile::Unload() {
  if (handle_ == 0) return;
  RemovePrivateFont(handle_);
  handle_ = 0;
}

}  // namespace ostrel
