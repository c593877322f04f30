#pragma once
// The firmware models the simulator knows, by model name: their USB ids,
// interface number, collections and the sizes of their device memory.

#include <cstdint>
#include <span>
#include <string_view>

namespace ostrel::devsim {

// Which report descriptor a model's interface carries.
enum class CollectionLayout : std::uint8_t {
  kKeyboard,  // keyboard, system control, consumer (3), vendor (4)
  kMouse,     // mouse, keyboard, consumer (3), vendor (4)
  kHeadset,   // one consumer collection carrying the frames and the LED report
};

// Which onboard profile record layout fills the device memory at start.
enum class RecordLayout : std::uint8_t { kMouse, kKeyboard, kPad };

struct ModelInfo {
  std::string_view name;         // model name on the command line and in the library
  std::string_view productName;  // "name" in the description
  std::uint8_t deviceType;       // 1 keyboard, 2 mouse, 3 mouse pad, 6 receiver mouse, 7 headset
  std::uint16_t vendorId;
  std::uint16_t productId;
  std::uint16_t version;  // also the firmware version in the device information record
  std::uint8_t interfaceNumber;
  CollectionLayout collections;
  RecordLayout records;
  bool wireless;  // reached through a receiver: answers QueryLink with the link state
  std::uint8_t keyCount;
  std::uint8_t macroUnits;  // macro area in units of 128 bytes
  std::uint8_t dpiStep;
  std::uint16_t highestDpiSteps;
  std::uint16_t lowestDpi;
  std::uint8_t profileCount;
  std::uint16_t memorySize;
  std::uint8_t ledCount;
  std::uint16_t shootAreaSize;
  std::uint8_t battery;      // power status byte 0 at start
  std::uint8_t supplyState;  // power status byte 1 at start
};

class ModelCatalogue {
 public:
  static std::span<const ModelInfo> All();
  // Null when no model has that name.
  static const ModelInfo* Find(std::string_view name);
};

}  // namespace ostrel::devsim
