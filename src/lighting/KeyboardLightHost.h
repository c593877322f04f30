#pragma once
// What the keyboard's per-key colouring needs from its page: the selected
// custom colour group, the device write and the profile.

#include <cstddef>
#include <cstdint>
#include <span>

#include "profiles/CustomColor.h"

namespace ostrel {

class KeyboardLightHost {
 public:
  virtual ~KeyboardLightHost() = default;
  // The custom-effect combo's group, -1 when none is selected.
  virtual int SelectedCustomGroup() const = 0;
  virtual bool HasLongTimeout() const = 0;
  // WriteLedColours(frame, 512, bank 0, bank size 512); the page pauses
  // 200 ms after a result other than 1.
  virtual int WriteLedColours(const std::uint8_t* frame, std::size_t length) = 0;
  // Stores the colours as the group's in the profile and saves it.
  virtual void StoreCustomColours(int group, std::span<const CustomColor> colours) = 0;
  // The group's 126 colours from the profile (zeros for a new group).
  virtual void ReadCustomColours(int group, std::span<CustomColor> out) = 0;
  // Selects the group in the custom-effect combo.
  virtual void SelectCustomGroup(int group) = 0;
  // Makes the group the profile's current group.
  virtual void SetProfileCustomGroup(int group) = 0;
};

}  // namespace ostrel
