#pragma once
// The main window's virtual window "mainpage": controls whose "virtualwnd"
// names it reach this pump first. It has no handlers of its own ("click",
// "selectchanged" and "itemclick" pass on to the window's tables).

#include "platform/ui/CNotifyPump.h"

namespace ostrel {

class CMainPage : public CNotifyPump {
 public:
  static constexpr const char* kName = "mainpage";
};

}  // namespace ostrel
