#pragma once
// "key_butt_prosave": the macros first, then the keys and the profile file.
// The steps are the page's; this decides what follows each result.

#include <functional>
#include <string_view>

namespace ostrel {

struct KeySaveOutcome {
  int macroResult = 0;
  // The message to show ("message_text_7", or "message_text_16" formatted
  // with `messageArgument`); empty when none.
  std::string_view messageKey;
  int messageArgument = 0;
  bool selectedKeyReverted = false;  // the selected key got its default back
  bool keysWritten = false;          // DownloadKeys ran
  int keyResult = 0;
  bool profileSaved = false;
};

class KeySaveToDevice {
 public:
  struct Steps {
    std::function<int()> downloadMacros;  // 0 written, -1 unreachable, k > 0 too large by k events
    std::function<int()> downloadKeys;    // copies the key list, WriteKeyTable for onboard profile 0
    std::function<bool()> saveProfile;    // SaveActiveProfile
    // Shows the selected key's default and stores it (show, build, storeKey).
    std::function<void()> revertSelectedKey;
  };

  // Runs the steps; the panel shows the outcome's message and disables its
  // buttons afterwards whatever happened.
  static KeySaveOutcome Run(const Steps& steps);

  static constexpr std::string_view kUnreachableMessage = "message_text_7";
  static constexpr std::string_view kTooLargeMessage = "message_text_16";
};

}  // namespace ostrel
