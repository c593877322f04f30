// Writes the default profiles into a folder (the repository's DefaultData/).
#include <cstdio>
#include <filesystem>
#include <string>

#include "profiles/DefaultProfileBuilder.h"
#include "profiles/JsonFileUtil.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
    return 2;
  }
  std::string folder = argv[1];
  if (folder.back() != '/') folder += '/';
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  int failures = 0;
  for (const char* name :
       {ostrel::DefaultProfileBuilder::kKeyboardName, ostrel::DefaultProfileBuilder::kMouseName,
        ostrel::DefaultProfileBuilder::kMousePadName, ostrel::DefaultProfileBuilder::kHeadsetName}) {
    const std::string path = folder + name + ".Json";
    if (!ostrel::JsonFileUtil::WriteJson(path, ostrel::DefaultProfileBuilder::ForModel(name))) {
      std::fprintf(stderr, "cannot write %s\n", path.c_str());
      ++failures;
    }
  }
  return failures == 0 ? 0 : 1;
}
