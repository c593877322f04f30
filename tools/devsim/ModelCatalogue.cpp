#include "devsim/ModelCatalogue.h"

#include <array>

namespace ostrel::devsim {
namespace {

// The keyboard and the wired mouse carry the ids the program looks for. The
// mouse pad, the headset and the receiver have no ids of their own in the
// program's catalogue; the ones here are ours (each can be overridden when a
// device is plugged).
constexpr std::array<ModelInfo, 5> kModels = {{
    {.name = "keyboard",
     .productName = "Tavix Gaming Keyboard",
     .deviceType = 1,
     .vendorId = 0x320F,
     .productId = 0x511E,
     .version = 0x0103,
     .interfaceNumber = 1,
     .collections = CollectionLayout::kKeyboard,
     .records = RecordLayout::kKeyboard,
     .wireless = false,
     .keyCount = 126,
     .macroUnits = 64,
     .dpiStep = 0,
     .highestDpiSteps = 0,
     .lowestDpi = 0,
     .profileCount = 4,
     .memorySize = 256,
     .ledCount = 126,
     .shootAreaSize = 0,
     .battery = 100,
     .supplyState = 2},
    {.name = "mouse",
     .productName = "Tavix Gaming Mouse",
     .deviceType = 2,
     .vendorId = 0x320F,
     .productId = 0x1000,
     .version = 0x0105,
     .interfaceNumber = 1,
     .collections = CollectionLayout::kMouse,
     .records = RecordLayout::kMouse,
     .wireless = false,
     .keyCount = 10,
     .macroUnits = 32,
     .dpiStep = 50,
     .highestDpiSteps = 320,
     .lowestDpi = 100,
     .profileCount = 4,
     .memorySize = 512,
     .ledCount = 6,
     .shootAreaSize = 4096,
     .battery = 100,
     .supplyState = 2},
    {.name = "receiver",
     .productName = "Tavix Wireless Receiver",
     .deviceType = 6,
     .vendorId = 0x320F,
     .productId = 0x1001,
     .version = 0x0102,
     .interfaceNumber = 1,
     .collections = CollectionLayout::kMouse,
     .records = RecordLayout::kMouse,
     .wireless = true,
     .keyCount = 10,
     .macroUnits = 32,
     .dpiStep = 50,
     .highestDpiSteps = 320,
     .lowestDpi = 100,
     .profileCount = 4,
     .memorySize = 512,
     .ledCount = 6,
     .shootAreaSize = 4096,
     .battery = 85,
     .supplyState = 0},
    {.name = "mousepad",
     .productName = "Tavix RGB Mouse Pad",
     .deviceType = 3,
     .vendorId = 0x320F,
     .productId = 0x2000,
     .version = 0x0101,
     .interfaceNumber = 1,
     .collections = CollectionLayout::kKeyboard,
     .records = RecordLayout::kPad,
     .wireless = false,
     .keyCount = 0,
     .macroUnits = 0,
     .dpiStep = 0,
     .highestDpiSteps = 0,
     .lowestDpi = 0,
     .profileCount = 4,
     .memorySize = 256,
     .ledCount = 15,
     .shootAreaSize = 0,
     .battery = 100,
     .supplyState = 2},
    {.name = "headset",
     .productName = "Tavix USB Headset",
     .deviceType = 7,
     .vendorId = 0x320F,
     .productId = 0x3000,
     .version = 0x0101,
     .interfaceNumber = 3,
     .collections = CollectionLayout::kHeadset,
     .records = RecordLayout::kPad,
     .wireless = false,
     .keyCount = 0,
     .macroUnits = 0,
     .dpiStep = 0,
     .highestDpiSteps = 0,
     .lowestDpi = 0,
     .profileCount = 4,
     .memorySize = 256,
     .ledCount = 13,
     .shootAreaSize = 0,
     .battery = 100,
     .supplyState = 2},
}};

}  // namespace

std::span<const ModelInfo> ModelCatalogue::All() { return kModels; }

const ModelInfo* ModelCatalogue::Find(std::string_view name) {
  for (const ModelInfo& model : kModels) {
    if (model.name == name) return &model;
  }
  return nullptr;
}

}  // namespace ostrel::devsim
