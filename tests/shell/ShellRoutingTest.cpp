// Sender names reach the handlers the routing tables give them.
#include <gtest/gtest.h>

#include <string>

#include "shell/CMainWnd.h"
#include "shell/ControlName.h"

namespace ostrel {
namespace {

struct SplitCase {
  const char* name;
  const char* prefix;
  int number;
  bool hasNumber;
};

TEST(ShellControlName, SplitsAtTheLastUnderscore) {
  const SplitCase cases[] = {
      {"key_12", "key_", 12, true},
      {"DPI_slider_3", "DPI_slider_", 3, true},
      {"LightTab1_color_option_0", "LightTab1_color_option_", 0, true},
      {"closebtn", "closebtn", 0, false},
      {"key_butt_keysave", "key_butt_keysave", 0, false},
      {"key_", "key_", 0, false},
      {"key_1a", "key_1a", 0, false},
      {"", "", 0, false},
  };
  for (const SplitCase& c : cases) {
    ControlName split = ControlName::Split(c.name);
    EXPECT_EQ(std::string(split.prefix), c.prefix) << c.name;
    EXPECT_EQ(split.number, c.number) << c.name;
    EXPECT_EQ(split.hasNumber, c.hasNumber) << c.name;
  }
}

struct RouteCase {
  const char* table;
  const char* sender;
  CMainWnd::Handler expected;  // null: no row matches
  int number;
};

std::span<const CMainWnd::Route> Table(const std::string& name) {
  if (name == "click") return CMainWnd::ClickRoutes();
  if (name == "select") return CMainWnd::SelectRoutes();
  if (name == "slider") return CMainWnd::SliderRoutes();
  if (name == "combo") return CMainWnd::ComboRoutes();
  return CMainWnd::EditRoutes();
}

TEST(ShellRouting, SendersReachTheirHandlers) {
  using M = CMainWnd;
  const RouteCase cases[] = {
      {"click", "closebtn", &M::OnCloseButton, 0},
      {"click", "CloseBtn", &M::OnCloseButton, 0},  // letter case ignored
      {"click", "nodevice_ok_btn", &M::OnHideButton, 0},
      {"click", "control_light_status", &M::OnLightStatusButton, 0},
      {"click", "minbtn", &M::OnMinimizeButton, 0},
      {"click", "setbtn", &M::OnSettingsButton, 0},
      {"click", "key_17", &M::OnKeyButton, 17},
      {"click", "KEY_3", &M::OnKeyButton, 3},
      {"click", "key_butt_keysave", &M::ToCurrentPage, 0},  // not the key_ family
      {"click", "windowdeviceset_1", &M::OnSystemDeviceSettings, 1},
      {"click", "LightTab2_color_option_5", &M::ToCurrentPage, 5},
      {"click", "macro_inset_moveleftkey_btn", &M::ToCurrentPage, 0},
      {"click", "MACRO_INSET_MOVELEFTKEY_BTN", nullptr, 0},  // compared with case
      {"click", "profile_fun_spread_btn", &M::OnProfileButton, 0},
      {"click", "Device_Add_Btn", &M::OnProfileButton, 0},
      {"click", "device_profile_edit_save_btn", &M::OnProfileButton, 0},
      {"click", "Profile_Fun_Spread_Btn", nullptr, 0},
      {"click", "LightTab1_deng_same_mode", &M::Ignore, 0},
      {"click", "deng_same_mode", &M::ToCurrentPage, 0},
      {"click", "device_select_prev", &M::OnDevicePrevious, 0},
      {"click", "device_select_next", &M::OnDeviceNext, 0},
      {"click", "weblink_btn", &M::OnWebLink, 0},
      {"click", "key_", nullptr, 0},
      {"click", "unknown_button", nullptr, 0},
      {"select", "device_select", &M::OnDeviceSelected, 0},
      {"select", "synchro_device_select", &M::Ignore, 0},
      {"select", "DPI_enable_check_4", &M::ToCurrentPage, 4},
      {"select", "Virtual7.1_Op_tab", &M::OnFunctionTab, 0},
      {"select", "deng_op_tab", &M::OnFunctionTab, 0},
      {"select", "LightTab2_deng_7color_check", &M::ToCurrentPage, 0},
      {"slider", "DPI_slider_2", &M::ToCurrentPage, 2},
      {"slider", "6533_eq_hz_slider_9", &M::ToCurrentPage, 9},
      {"slider", "DPI_slider", nullptr, 0},
      {"combo", "device_profile_combo", &M::OnProfileCombo, 0},
      {"combo", "keyset_gunkey_combo", &M::ToCurrentPage, 0},
      {"edit", "keyset_keyboard_text_edit", &M::OnKeyTextEditKillFocus, 0},
      {"edit", "tavix_DPI_edit_1", &M::ToCurrentPage, 1},
      {"edit", "DPI_edit_0", &M::ToCurrentPage, 0},
      {"edit", "bullet_x_eidt", &M::ToCurrentPage, 0},
  };
  for (const RouteCase& c : cases) {
    int number = -1;
    const CMainWnd::Route* route = CMainWnd::Route::Find(Table(c.table), c.sender, &number);
    if (!c.expected) {
      EXPECT_EQ(route, nullptr) << c.table << " " << c.sender;
      continue;
    }
    ASSERT_NE(route, nullptr) << c.table << " " << c.sender;
    EXPECT_TRUE(route->handler == c.expected) << c.table << " " << c.sender;
    EXPECT_EQ(number, c.number) << c.table << " " << c.sender;
  }
}

TEST(ShellRouting, NoSenderIsListedTwiceInATable) {
  // A second row for the same name could never act; it would be a mistake.
  for (const char* name : {"click", "select", "slider", "combo", "edit"}) {
    auto table = Table(name);
    for (std::size_t i = 0; i < table.size(); ++i)
      for (std::size_t j = i + 1; j < table.size(); ++j)
        EXPECT_FALSE(CMainWnd::Route::EqualNoCase(table[i].name, table[j].name))
            << name << ": " << table[i].name;
  }
}

}  // namespace
}  // namespace ostrel
