#pragma once
// The keyboard page's system controls: the polling rate, scan delay and
// repeat delay option groups, the Windows-key lock, "W" and six-key flags,
// the repeat rate slider, the repeat delay label and the repeat test field.
// Controls are found by name inside the page; a control the layout lacks is
// left alone. Showing a value never raises a notification, so showing the
// page's state does not look like a user's change.

#include <string>
#include <string_view>

#include "profiles/KeyboardSystemSettings.h"

namespace ostrel {

class CContainerUI;
class CControlUI;

class KeyboardSettingControls {
 public:
  static constexpr const char* kPollingRatePrefix = "polling_rate_option_";
  static constexpr const char* kScanDelayPrefix = "delay_rate_option_";
  static constexpr const char* kRepeatDelayPrefix = "repeat_delay_check_";
  static constexpr const char* kWinLockName = "winlockflag_option";
  static constexpr const char* kWFlagName = "wflag_option";
  static constexpr const char* kSixKeyName = "6flag_option";
  static constexpr const char* kRepeatRateName = "repeat_rate_slider";
  static constexpr const char* kRepeatDelayLabelName = "repeat_delay_time_label1";
  static constexpr const char* kRepeatTestName = "repeat_input_richedit";
  static constexpr const char* kResetRepeatName = "reset_repeat_btn";
  static constexpr const char* kRepeatDelayTextKey = "Repeat_Delay_Time";
  static constexpr const char* kRepeatTestPromptKey = "Repeat_input_text";
  static constexpr int kOptionCount = 4;
  static constexpr int kRepeatDelayStepMs = 250;

  explicit KeyboardSettingControls(CContainerUI* page = nullptr) : page_(page) {}
  void SetPage(CContainerUI* page) { page_ = page; }

  // An index outside 0-3 selects option 0.
  static int ClampOption(int index) { return index >= 0 && index < kOptionCount ? index : 0; }
  // The number after `prefix` when `name` is prefix + a decimal number
  // below kOptionCount (case ignored); -1 otherwise.
  static int OptionNumber(std::string_view name, std::string_view prefix);
  // The translated "Repeat_Delay_Time" followed by (index + 1) x 250 and "ms".
  static std::string RepeatDelayText(int index);

  void selectPollingRate(int index) { SelectOption(kPollingRatePrefix, index); }
  void selectScanDelay(int index) { SelectOption(kScanDelayPrefix, index); }
  // Also sets the delay label.
  void selectRepeatDelay(int index);
  void SetFlag(const char* name, bool on);
  bool Flag(const char* name) const;
  void setRepeatRate(int rate);
  int repeatRate() const;
  // Empties the repeat test field and gives it its translated prompt.
  void clearRepeatTest();
  // Every control from the page's values.
  void Show(const KeyboardSystemSettings& settings);

  CControlUI* Find(const char* name) const;

 private:
  void SelectOption(const char* prefix, int index);

  CContainerUI* page_;
};

}  // namespace ostrel
