#pragma once
// "main.ini" of the application-data folder, section "SKINIMAGE": the last
// background picture chosen in the skin picker. Written only; the main
// window starts with the background of its layout.

#include <string>

namespace ostrel {

class SkinImageStore {
 public:
  static std::string Path();
  // FLAGS "1" and IMAGE = the picture, or FLAGS "0" after a reset.
  static bool WriteSkinImage(bool chosen, const std::string& image);

  static constexpr const char* kSection = "SKINIMAGE";
  static constexpr const char* kDefaultImage = "common/background.png";
};

}  // namespace ostrel
