#pragma once
// A page around one key assignment panel, run headless on the virtual
// clock with the rendered skin; the panel is created through the control
// factory under its layout element name.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "KeyPanelTestPage.h"
#include "devices/CKeySetControlUI.h"
#include "platform/ui/CHeadlessBackend.h"
#include "platform/ui/WindowImplBase.h"

namespace ostrel::test {

class KeyPanelTestWindow : public WindowImplBase {
 public:
  HWND CreateShown();
  CKeySetControlUI* Panel() const;

 protected:
  CDuiString GetSkinFile() override;
  const char* GetWindowClassName() const override { return "KeyPanelTestWindow"; }
};

class KeyPanelTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // The page's set-up: device type, macro names, the key list and its
  // editor, then key `shown` selected.
  void SetUpPage(KeyPage page, std::vector<KeyEntry> entries, int shown);
  CHeadlessBackend* Headless();
  void Pump();
  void ClickOn(const char* name);
  // Opens the combo's drop list and clicks row `index`.
  void PickInCombo(const char* combo, int index);
  // Picks the function combo item of `category`.
  void PickCategory(int category);
  CControlUI* Find(const char* name) const;
  int ComboSelection(const char* name) const;
  int ShownCategory() const;
  std::string TextOf(const char* name) const;

  KeyPanelTestWindow window;
  CKeySetControlUI* panel = nullptr;
  std::unique_ptr<KeyPanelTestPage> page;
  std::vector<std::string> messages;
  int storedCount = 0;
};

}  // namespace ostrel::test
