#pragma once
// Finished message texts made from language texts, such as "message_text_16"
// ("... (code %d)") with the device's result.

#include "platform/ui/CDuiString.h"

namespace ostrel {

class MessageTexts {
 public:
  // The language text of `key` with its first "%d" replaced by `value` and
  // "%%" shown as "%". The text is never used as a printf format: a
  // translation with other conversions ("%s", "%n") stays as it is.
  static CDuiString FormatNumber(const char* key, int value);
};

}  // namespace ostrel
