#pragma once
// A window for the window-system tests: its layout is given as text, and it
// records every notification and every message that reaches its custom hook.

#include <functional>
#include <string>
#include <vector>

#include "platform/ui/WindowImplBase.h"

namespace ostrel::test {

class RecordingWindow : public WindowImplBase {
 public:
  explicit RecordingWindow(std::string layout) : layout_(std::move(layout)) {}
  HWND Open(HWND owner, int x, int y, DWORD style = WS_POPUP | WS_VISIBLE, DWORD exStyle = 0);

  void Notify(TNotifyUI& msg) override;
  LRESULT HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;

  POINT CenterOf(const char* name);
  POINT ScreenCenterOf(const char* name);
  int Count(const std::string& type, const std::string& sender = "") const;
  int CountMessages(UINT message) const;

  struct Note {
    std::string type;
    std::string sender;
  };
  std::vector<Note> notes;
  std::vector<MSG> messages;
  std::function<void(TNotifyUI&)> onNotify;
  std::function<void(const MSG&)> onMessage;

 protected:
  CDuiString GetSkinFile() override { return CDuiString(layout_); }
  const char* GetWindowClassName() const override { return "RecordingWindow"; }

 private:
  std::string layout_;
};

}  // namespace ostrel::test
