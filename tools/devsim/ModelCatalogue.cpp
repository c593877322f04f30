#include "devsim/ModelCatalogue.h"

#include <array>

namespace ostrel::devsim {
namespace {

// The keyboard and the wired mouse carry the ids the program looks for. The
// mouse pad, the headset and the receiver have no ids of their own in the
// program's catalogue; the ones here are ours (each can be overridden when a
// device is plugged).
constexpr std::array<ModelInfo, 5> kModels = {{
    {"keyboard",
     "Tavix Gaming Keyboard",
     1,
     0x320F,
     0x511E,
     0x0103,
     1,
     CollectionLayout::kKeyboard,
     RecordLayout::kKeyboard,
     false,
     126,
     64,
     0,
     0,
     0,
     4,
     256,
     126,
     0,
     100,
     2},
    {"mouse",
     "Tavix Gaming Mouse",
     2,
     0x320F,
     0x1000,
     0x0105,
     1,
     CollectionLayout::kMouse,
     RecordLayout::kMouse,
     false,
     10,
     32,
     50,
     320,
     100,
     4,
     512,
     6,
     4096,
     100,
     2},
    {"receiver",
     "Tavix Wireless Receiver",
     6,
     0x320F,
     0x1001,
     0x0102,
     1,
     CollectionLayout::kMouse,
     RecordLayout::kMouse,
     true,
     10,
     32,
     50,
     320,
     100,
     4,
     512,
     6,
     4096,
     85,
     0},
    {"mousepad",
     "Tavix RGB Mouse Pad",
     3,
     0x320F,
     0x2000,
     0x0101,
     1,
     CollectionLayout::kKeyboard,
     RecordLayout::kPad,
     false,
     0,
     0,
     0,
     0,
     0,
     4,
     256,
     15,
     0,
     100,
     2},
    {"headset",
     "Tavix USB Headset",
     7,
     0x320F,
     0x3000,
     0x0101,
     3,
     CollectionLayout::kHeadset,
     RecordLayout::kPad,
     false,
     0,
     0,
     0,
     0,
     0,
     4,
     256,
     13,
     0,
     100,
     2},
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
