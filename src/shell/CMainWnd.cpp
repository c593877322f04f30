#include "shell/CMainWnd.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "devices/CZantroveMouseDevice.h"
#include "devices/CZantroveUSBDevice.h"
#include "platform/os/DebugLog.h"
#include "platform/ui/CControlFactory.h"
#include "platform/ui/CControlUI.h"
#include "platform/ui/CDialogBuilder.h"
#include "platform/ui/COptionUI.h"
#include "platform/ui/CPaintManagerUI.h"
#include "platform/ui/CResourceManager.h"
#include "platform/ui/CTabLayoutUI.h"
#include "platform/ui/WindowApi.h"
#include "profiles/CDeviceProfileUI.h"
#include "profiles/DataFolders.h"
#include "shell/CSkinFrame.h"
#include "shell/ExternalLauncher.h"
#include "shell/LanguageStore.h"
#include "shell/MessageBox.h"
#include "shell/RegisteredMessages.h"
#include "shell/ShellBus.h"
#include "shell/SkinBackground.h"

namespace ostrel {
namespace {

using M = CMainWnd;
using R = CMainWnd::Route;
constexpr NameMatch Any = NameMatch::AnyCase;
constexpr NameMatch Case = NameMatch::ExactCase;
constexpr NameMatch Num = NameMatch::Numbered;

constexpr R kClickRoutes[] = {
    {"closebtn", Any, &M::OnCloseButton},
    {"nodevice_ok_btn", Any, &M::OnHideButton},
    {"control_light_status", Any, &M::OnLightStatusButton},
    {"minbtn", Any, &M::OnMinimizeButton},
    {"maxbtn", Any, &M::OnMaximizeButton},
    {"restorebtn", Any, &M::OnRestoreButton},
    {"skinbtn", Any, &M::OnSkinButton},
    {"setbtn", Any, &M::OnSettingsButton},
    {"key_", Num, &M::OnKeyButton},
    {"color_option_", Num, &M::ToCurrentPage},
    {"LightTab1_color_option_", Num, &M::ToCurrentPage},
    {"LightTab2_color_option_", Num, &M::ToCurrentPage},
    {"windowdeviceset_", Num, &M::OnSystemDeviceSettings},
    {"default_btn", Any, &M::OnDefaultButton},
    {"reset_repeat_btn", Any, &M::ToCurrentPage},
    {"device_add_btn", Any, &M::OnProfileButton},
    {"device_sub_btn", Any, &M::OnProfileButton},
    {"device_copy_btn", Any, &M::OnProfileButton},
    {"device_import_btn", Any, &M::OnProfileButton},
    {"device_export_btn", Any, &M::OnProfileButton},
    {"device_reset_btn", Any, &M::OnProfileButton},
    {"device_profile_edit_save_btn", Any, &M::OnProfileButton},
    {"key_butt_keysave", Any, &M::ToCurrentPage},
    {"key_butt_keydefalut", Any, &M::ToCurrentPage},
    {"key_butt_keycancel", Any, &M::ToCurrentPage},
    {"key_butt_prosave", Any, &M::ToCurrentPage},
    {"macro_btn_starredio", Any, &M::ToCurrentPage},
    {"macro_btn_stopredio", Any, &M::ToCurrentPage},
    {"macro_btn_name_add", Any, &M::ToCurrentPage},
    {"macro_btn_name_sub", Any, &M::ToCurrentPage},
    {"macro_btn_name_edit", Any, &M::ToCurrentPage},
    {"macro_btn_save", Any, &M::ToCurrentPage},
    {"macro_btn_cancel", Any, &M::ToCurrentPage},
    {"macro_btn_import", Any, &M::ToCurrentPage},
    {"macro_btn_export", Any, &M::ToCurrentPage},
    {"macro_btn_up", Any, &M::ToCurrentPage},
    {"macro_btn_down", Any, &M::ToCurrentPage},
    {"macro_btn_uptop", Any, &M::ToCurrentPage},
    {"macro_btn_downbottom", Any, &M::ToCurrentPage},
    {"macro_btn_delete", Any, &M::ToCurrentPage},
    {"macro_btn_deleteall", Any, &M::ToCurrentPage},
    {"macro_inset_moveleftkey_btn", Case, &M::ToCurrentPage},
    {"macro_inset_moverightkey_btn", Case, &M::ToCurrentPage},
    {"macro_inset_moveupkey_btn", Case, &M::ToCurrentPage},
    {"macro_inset_movedownkey_btn", Case, &M::ToCurrentPage},
    {"shootdate_save_btn", Any, &M::ToCurrentPage},
    {"shootdate_reset_btn", Any, &M::ToCurrentPage},
    {"shootdate_import_btn", Any, &M::ToCurrentPage},
    {"shootdate_export_btn", Any, &M::ToCurrentPage},
    {"bullet_selected_prev", Any, &M::ToCurrentPage},
    {"bullet_selected_next", Any, &M::ToCurrentPage},
    {"custom_bright_color_btn", Any, &M::ToCurrentPage},
    {"custom_off_color_btn", Any, &M::ToCurrentPage},
    {"deng_same_mode", Any, &M::ToCurrentPage},
    {"LightTab1_deng_same_mode", Any, &M::Ignore},
    {"LightTab2_deng_same_mode", Any, &M::Ignore},
    {"hs_EQ_btn_save", Any, &M::ToCurrentPage},
    {"hs_EQ_btn_delete", Any, &M::ToCurrentPage},
    {"profile_fun_spread_btn", Case, &M::OnProfileButton},
    {"device_select_prev", Any, &M::OnDevicePrevious},
    {"device_select_next", Any, &M::OnDeviceNext},
    {"WebLink_btn", Any, &M::OnWebLink},
};

constexpr R kSelectRoutes[] = {
    {"DPI_enable_check_", Num, &M::ToCurrentPage},
    {"polling_rate_option_", Num, &M::ToCurrentPage},
    {"pointer_precision_check", Any, &M::ToCurrentPage},
    {"scrolls_page_check", Any, &M::ToCurrentPage},
    {"delay_rate_option_", Num, &M::ToCurrentPage},
    {"repeat_delay_check_", Num, &M::ToCurrentPage},
    {"winlockflag_option", Any, &M::ToCurrentPage},
    {"wflag_option", Any, &M::ToCurrentPage},
    {"6flag_option", Any, &M::ToCurrentPage},
    {"mouse_device_seting_option_", Num, &M::ToCurrentPage},
    {"keyboard_device_seting_option_", Num, &M::ToCurrentPage},
    {"shoot_gun_op_", Num, &M::ToCurrentPage},
    {"bullet_op_", Num, &M::ToCurrentPage},
    {"bullet_x_check", Any, &M::ToCurrentPage},
    {"bullet_y_check", Any, &M::ToCurrentPage},
    {"magic_option_", Num, &M::ToCurrentPage},
    {"magic_enable_option", Any, &M::ToCurrentPage},
    {"6533_eq_option_", Num, &M::ToCurrentPage},
    {"6533_MicIn_option", Any, &M::ToCurrentPage},
    {"6533_MicMoniter_option", Any, &M::ToCurrentPage},
    {"key_ComBox_check_", Num, &M::ToCurrentPage},
    {"deng_FXL_check", Any, &M::ToCurrentPage},
    {"deng_FXR_check", Any, &M::ToCurrentPage},
    {"deng_7color_check", Any, &M::ToCurrentPage},
    {"LightTab1_deng_FXL_check", Any, &M::ToCurrentPage},
    {"LightTab1_deng_FXR_check", Any, &M::ToCurrentPage},
    {"LightTab1_deng_7color_check", Any, &M::ToCurrentPage},
    {"LightTab2_deng_FXL_check", Any, &M::ToCurrentPage},
    {"LightTab2_deng_FXR_check", Any, &M::ToCurrentPage},
    {"LightTab2_deng_7color_check", Any, &M::ToCurrentPage},
    {"LightTab1_RGBdeng_check", Any, &M::ToCurrentPage},
    {"device_select", Any, &M::OnDeviceSelected},
    {"synchro_device_select", Any, &M::Ignore},
    {"deng_Op_tab", Any, &M::OnFunctionTab},
    {"key_Op_tab", Any, &M::OnFunctionTab},
    {"macro_Op_tab", Any, &M::OnFunctionTab},
    {"system_Op_tab", Any, &M::OnFunctionTab},
    {"cursor_Op_tab", Any, &M::OnFunctionTab},
    {"6533_voice_Op_tab", Any, &M::OnFunctionTab},
    {"magic_Op_tab", Any, &M::OnFunctionTab},
    {"Virtual7.1_Op_tab", Any, &M::OnFunctionTab},
};

constexpr R kSliderRoutes[] = {
    {"DPI_slider_", Num, &M::ToCurrentPage},
    {"tavix_DPI_slider_", Num, &M::ToCurrentPage},
    {"pointer_speed_slider", Any, &M::ToCurrentPage},
    {"scroll_speed_slider", Any, &M::ToCurrentPage},
    {"double_click_slider", Any, &M::ToCurrentPage},
    {"repeat_rate_slider", Any, &M::ToCurrentPage},
    {"6533_eq_hz_slider_", Num, &M::ToCurrentPage},
    {"6533_MicIn_slider", Any, &M::ToCurrentPage},
    {"6533_MicMoniter_slider", Any, &M::ToCurrentPage},
    {"deng_light_slider", Any, &M::ToCurrentPage},
    {"deng_speed_slider", Any, &M::ToCurrentPage},
    {"LightTab1_deng_light_slider", Any, &M::ToCurrentPage},
    {"LightTab1_deng_speed_slider", Any, &M::ToCurrentPage},
    {"LightTab2_deng_light_slider", Any, &M::ToCurrentPage},
    {"LightTab2_deng_speed_slider", Any, &M::ToCurrentPage},
};

constexpr R kComboRoutes[] = {
    {"device_profile_combo", Any, &M::OnProfileCombo},
    {"light_combo_modeSelect", Any, &M::ToCurrentPage},
    {"LightTab1_light_combo_modeSelect", Any, &M::ToCurrentPage},
    {"LightTab2_light_combo_modeSelect", Any, &M::ToCurrentPage},
    {"light_combo_custommodeSelect", Any, &M::ToCurrentPage},
    {"light_combo_ZZCCmodeSelect", Any, &M::ToCurrentPage},
    {"keyset_function_combo", Any, &M::ToCurrentPage},
    {"keyset_macro_over_combo", Any, &M::ToCurrentPage},
    {"keyset_mousekey_combo", Any, &M::ToCurrentPage},
    {"keyset_mouseswing_combo", Any, &M::ToCurrentPage},
    {"keyset_mousewheel_combo", Any, &M::ToCurrentPage},
    {"keyset_mousedpi_combo", Any, &M::ToCurrentPage},
    {"keyset_media_combo", Any, &M::ToCurrentPage},
    {"keyset_system_combo", Any, &M::ToCurrentPage},
    {"keyset_macro_combo", Any, &M::ToCurrentPage},
    {"keyset_gunkey_combo", Any, &M::ToCurrentPage},
    {"keyset_combokey_combo", Any, &M::ToCurrentPage},
    {"macro_name_list", Any, &M::ToCurrentPage},
    {"custom_eq_name_combo", Any, &M::ToCurrentPage},
};

constexpr R kEditRoutes[] = {
    {"tavix_DPI_edit_", Num, &M::ToCurrentPage},
    {"DPI_edit_", Num, &M::ToCurrentPage},
    {"deng_edit_R", Any, &M::ToCurrentPage},
    {"deng_edit_G", Any, &M::ToCurrentPage},
    {"deng_edit_B", Any, &M::ToCurrentPage},
    {"LightTab1_deng_edit_R", Any, &M::ToCurrentPage},
    {"LightTab1_deng_edit_G", Any, &M::ToCurrentPage},
    {"LightTab1_deng_edit_B", Any, &M::ToCurrentPage},
    {"LightTab2_deng_edit_R", Any, &M::ToCurrentPage},
    {"LightTab2_deng_edit_G", Any, &M::ToCurrentPage},
    {"LightTab2_deng_edit_B", Any, &M::ToCurrentPage},
    {"keyset_keyboard_text_edit", Any, &M::OnKeyTextEditKillFocus},
    {"bullet_x_eidt", Any, &M::ToCurrentPage},
    {"bullet_y_eidt", Any, &M::ToCurrentPage},
    {"bullet_delay_eidt", Any, &M::ToCurrentPage},
    {"macro_delay", Any, &M::ToCurrentPage},
    {"keyset_macro_cycle_edit", Any, &M::ToCurrentPage},
};

constexpr CMainWnd::ElementRoute kElementRoutes[] = {
    {"CircleProgress", "CCircleProgressUI", nullptr},
    {"SelectPanel", "CSelectPanelUI", nullptr},
    {"DeviceKeyButton", "CDeviceKeyButtonUI", nullptr},
    {"HandImgButton", "CHandImgButtonUI", nullptr},
    {"HandImgSelectButton", "CHandImgSelectButtonUI", nullptr},
    {"RedioMacroButton", "CRedioMacroButtonUI", nullptr},
    {"ComboEditContainerElement", "CComboEditContainerElementUI", nullptr},
    {"ZantroveMousePadDevice", "CZantroveMousePadDevice", nullptr},
    {"ZantroveHS6533Device", "CZantroveHS6533Device", nullptr},
    {"ZantroveMouseDevice", "CZantroveMouseDevice", nullptr},
    {"ZantroveKeyboardDevice", "CZantroveKeyboardDevice", nullptr},
    {"DeviceProfile", "CDeviceProfileUI", nullptr},
    {"LightControl", "CLightControlUI", nullptr},
    {"MagicControl", "CMagicControlUI", nullptr},
    {"Voice6533Control", "CVoice6533ControlUI", nullptr},
    {"KeySetControl", "CKeySetControlUI", nullptr},
    {"ShootControl", "CShootControlUI", nullptr},
    {"DeviceProfileUI", nullptr, "XML\\CustomControlXML\\DeviceProfile.xml"},
    {"LightSetControlUI", nullptr, "XML\\CustomControlXML\\LightControl.xml"},
    {"Voice6533SetControlUI", nullptr, "XML\\CustomControlXML\\Voice6533Control.xml"},
    {"MagicSetControlUI", nullptr, "XML\\CustomControlXML\\MagicControl.xml"},
    {"KeySetControlUI", nullptr, "XML\\CustomControlXML\\KeySetControl.xml"},
    {"MacroSetControlUI", nullptr, "XML\\CustomControlXML\\MacroControl.xml"},
    {"ShootKeySetControlUI", nullptr, "XML\\CustomControlXML\\ShootControl.xml"},
    {"VirtualSetControlUI", nullptr, "XML\\CustomControlXML\\VirtualSet.xml"},
};

// The function tab options and the kind each tells its page, in the order
// the pages number their tabs.
struct FunctionTab {
  std::string_view option;
  int kind;
};
constexpr FunctionTab kFunctionTabs[] = {
    {"deng_Op_tab", 1},   {"key_Op_tab", 2},        {"macro_Op_tab", 3}, {"system_Op_tab", 4},
    {"cursor_Op_tab", 5}, {"6533_voice_Op_tab", 6}, {"magic_Op_tab", 7}, {"Virtual7.1_Op_tab", 8},
};

// The nine title-bar controls, found at initialisation.
constexpr const char* kTitleButtonNames[] = {"closebtn",    "maxbtn",   "restorebtn",   "minbtn", "skinbtn",
                                             "gamemodebtn", "cloudbtn", "smarteyesbtn", "setbtn"};

// The model rows of the device catalogue: vendor id, product id, device type.
struct ModelIds {
  std::uint32_t vendorId;
  std::uint32_t productId;
  std::uint32_t type;
};
constexpr ModelIds kModels[] = {
    {0x320F, 0x1000, 2},
    {0x320F, 0x511E, 1},
    {0, 0, 3},
    {0, 0, 7},
};

constexpr std::uint32_t kDeviceTableHeader[] = {2, 3, 0, 2};

// Desktop settings programs for the keyboard (0) and the mouse (1).
const std::vector<std::vector<std::string>> kKeyboardSettings = {
    {"gnome-control-center", "keyboard"}, {"systemsettings", "kcm_keyboard"}, {"xfce4-keyboard-settings"}};
const std::vector<std::vector<std::string>> kMouseSettings = {
    {"gnome-control-center", "mouse"}, {"systemsettings", "kcm_mouse"}, {"xfce4-mouse-settings"}};

constexpr const char* kHomePage = "https://www.tavix.com/";

constexpr int kAcceptedDpi[] = {48, 72, 96, 120, 144, 168, 192};

void StoreU32(std::array<std::uint8_t, 1024>& block, std::size_t index, std::uint32_t value) {
  std::size_t at = index * 4;
  block[at] = static_cast<std::uint8_t>(value);
  block[at + 1] = static_cast<std::uint8_t>(value >> 8);
  block[at + 2] = static_cast<std::uint8_t>(value >> 16);
  block[at + 3] = static_cast<std::uint8_t>(value >> 24);
}

}  // namespace

CMainWnd::CMainWnd() = default;

CMainWnd::~CMainWnd() {
  SkinObserver::Instance().Unsubscribe(this);
  CMenuWnd::DestroyMenu();
  RemoveVirtualWnd(CMainPage::kName);
  tray_.DeleteTrayIcon();
  workers_.StopAll();
}

std::span<const CMainWnd::Route> CMainWnd::ClickRoutes() { return kClickRoutes; }
std::span<const CMainWnd::Route> CMainWnd::SelectRoutes() { return kSelectRoutes; }
std::span<const CMainWnd::Route> CMainWnd::SliderRoutes() { return kSliderRoutes; }
std::span<const CMainWnd::Route> CMainWnd::ComboRoutes() { return kComboRoutes; }
std::span<const CMainWnd::Route> CMainWnd::EditRoutes() { return kEditRoutes; }

int CMainWnd::DpiForMonitor(const RECT& monitor) {
  int width = monitor.right - monitor.left;
  int height = monitor.bottom - monitor.top;
  int dpi = width > 1500 && height > 960 ? 144 : 96;
  for (int accepted : kAcceptedDpi)
    if (accepted == dpi) return dpi;
  OutputDebugString("MAIN_WND DPI SET ERROR");
  return 96;
}

std::array<std::uint8_t, 1024> CMainWnd::BuildDeviceTable() {
  std::array<std::uint8_t, 1024> block{};
  std::size_t at = 0;
  for (std::uint32_t value : kDeviceTableHeader) StoreU32(block, at++, value);
  StoreU32(block, at++, static_cast<std::uint32_t>(std::size(kModels)));
  for (const ModelIds& model : kModels) {
    StoreU32(block, at++, model.vendorId);
    StoreU32(block, at++, model.productId);
    StoreU32(block, at++, model.type);
  }
  return block;
}

std::span<const CMainWnd::ElementRoute> CMainWnd::ElementRoutes() { return kElementRoutes; }

CControlUI* CMainWnd::CreateControl(const char* pstrClass) {
  if (!pstrClass) return nullptr;
  for (const ElementRoute& route : kElementRoutes) {
    if (!NotifyRoute<Handler>::EqualNoCase(route.element, pstrClass)) continue;
    if (route.className) return CControlFactory::GetInstance()->CreateControl(route.className);
    // A panel of its own file: a fresh builder, no callback, no parent.
    CDialogBuilder builder;
    return builder.Create(route.layoutFile, nullptr, nullptr, &m_pm, nullptr);
  }
  // Null lets the toolkit try its own classes and the factory.
  return nullptr;
}

void CMainWnd::InitWindow() {
  OutputDebugString("InitWindow");
  CResourceManager::GetInstance()->SetTextQueryInterface(this);
  CResourceManager::GetInstance()->LoadLanguage("lan_cn.xml");
  SkinObserver::Instance().Subscribe(this);
  for (int i = 0; i < kTitleButtons; ++i) titleButtons_[i] = m_pm.FindControl(kTitleButtonNames[i]);
  s_mainWnd = m_hWnd;
  AddVirtualWnd(CMainPage::kName, &mainPage_);
  SetIcon(107);
  CreateTrayIcon();
  // Every model's page and hidden list entry; attached devices connect with
  // the first scan.
  if (!devices_.Create(m_pm, m_hWnd, DataFolders::AppDataFolder(), this))
    OutputDebugString("devices: no device pages");
  for (CZantroveUSBDevice* page : devices_.Pages())
    if (auto* mouse =
            static_cast<CZantroveMouseDevice*>(page->GetInterface(CZantroveMouseDevice::kElementName)))
      mouse->SetMessageSink([this](std::string_view text, bool isResource) {
        ShowMessageBox(m_hWnd, "", std::string(text).c_str(), dpi_, isResource, 0);
      });
  for (CZantroveUSBDevice* page : devices_.Pages())
    for (CControlUI* found : m_pm.FindSubControlsByClass(page, CDeviceProfileUI::kElementName))
      if (auto* panel = static_cast<CDeviceProfileUI*>(found->GetInterface(CDeviceProfileUI::kElementName)))
        panel->SetHost(&profileHost_);
  // The settings and about windows belong to the device that is shown; the
  // key capture of macro recording stops with it too.
  devices_.SetSelectedEntryHiding([this](CZantroveUSBDevice*) {
    CloseChildWindows();
    SendMessage(kHookMessage, 0, 0);
  });
}

void CMainWnd::TellPagesHostLighting(bool on) { devices_.SetHostLighting(on); }

void CMainWnd::TellPagesPreviewRepaint(bool on) {
  for (CZantroveUSBDevice* page : devices_.Pages())
    if (page) page->SetPreviewRepaint(on);
}

void CMainWnd::CreateTrayIcon() {
  tray_.CreateTrayIcon(m_hWnd, 107, "Kestrane");
  if (!tray_.IsCreated()) OutputDebugString("tray: no session bus, no tray icon");
}

void CMainWnd::OnWindowInit() {
  if (bus_) bus_->BroadcastLightState(1, 1);
  SetLanguage(LanguageStore::LoadLanguageIndex());
  s_screenWidth = GetSystemMetrics(SM_CXSCREEN);
  s_screenHeight = GetSystemMetrics(SM_CYSCREEN);
  ShowWindow();
  UpdateNoDeviceLink();
  devices_.StartScanning();
  SetTimer(m_hWnd, kFitTimer, 100);
  initialised_ = true;
}

void CMainWnd::Notify(TNotifyUI& msg) {
  const CDuiString name = msg.pSender ? msg.pSender->GetName() : CDuiString();
  const std::string& type = msg.sType.str();
  if (type != "timer") DebugPrintf("%s %s", type.c_str(), name.GetData());

  bool skipToolkit = false;
  if (type == "windowinit") {
    OnWindowInit();
  } else if (type == "windowsize") {
    if (displayChanged_ && name.str() == "root") {
      displayChanged_ = 0;
      FitWindowToMonitor();
    }
  } else if (type == "click") {
    Dispatch(kClickRoutes, msg);
  } else if (type == "selectchanged") {
    Dispatch(kSelectRoutes, msg);
  } else if (type == "valuechanged") {
    Dispatch(kSliderRoutes, msg);
  } else if (type == "movevaluechanged") {
    ControlName split = ControlName::Split(name.str());
    if (split.hasNumber && (NotifyRoute<Handler>::EqualNoCase(split.prefix, "DPI_slider_") ||
                            NotifyRoute<Handler>::EqualNoCase(split.prefix, "tavix_DPI_slider_")))
      ToCurrentPage(msg, split.number);
  } else if (type == "itemselect") {
    Dispatch(kComboRoutes, msg);
  } else if (type == "killfocus") {
    Dispatch(kEditRoutes, msg);
  } else if (type == "colorchanged" || type == "click_select_end") {
    ToCurrentPage(msg, 0);
  } else if (type == "click_wpremove" || type == "click_wpedit") {
    skipToolkit = true;
  } else if (type == "setfocus" && name.str() == "keyset_keyboard_text_edit") {
    SendMessage(kHookMessage, 1, 0);
  }
  if (!skipToolkit) WindowImplBase::Notify(msg);
}

bool CMainWnd::Dispatch(std::span<const Route> table, TNotifyUI& msg) {
  if (!msg.pSender) return false;
  int number = 0;
  const Route* route = Route::Find(table, msg.pSender->GetName().str(), &number);
  if (!route) return false;
  (this->*(route->handler))(msg, number);
  return true;
}

void CMainWnd::OnClick(TNotifyUI& msg) {
  // With a tray icon the close button hides to the tray; closing the window
  // there would end the program the user only meant to put away.
  if (msg.pSender && NotifyRoute<Handler>::EqualNoCase(msg.pSender->GetName().str(), "closebtn") &&
      tray_.IsCreated())
    return;
  WindowImplBase::OnClick(msg);
}

// ---- click handlers

void CMainWnd::OnCloseButton(TNotifyUI&, int) {
  CloseChildWindows();
  if (tray_.IsCreated()) ::ostrel::ShowWindow(m_hWnd, SW_HIDE);
}

void CMainWnd::OnHideButton(TNotifyUI&, int) { ::ostrel::ShowWindow(m_hWnd, SW_HIDE); }

void CMainWnd::OnLightStatusButton(TNotifyUI& msg, int) {
  SetLightControlled(lightControlled_ ? 0 : 1);
  if (bus_) bus_->BroadcastLightState(1, lightControlled_);
  if (msg.pSender) msg.pSender->SetText(lightControlled_ ? "不控制灯光" : "控制灯光");
}

void CMainWnd::OnMinimizeButton(TNotifyUI&, int) { SendMessage(WM_SYSCOMMAND, SC_MINIMIZE, 0); }
void CMainWnd::OnMaximizeButton(TNotifyUI&, int) { SendMessage(WM_SYSCOMMAND, SC_MAXIMIZE, 0); }
void CMainWnd::OnRestoreButton(TNotifyUI&, int) { SendMessage(WM_SYSCOMMAND, SC_RESTORE, 0); }

void CMainWnd::OnSkinButton(TNotifyUI& msg, int) { CSkinFrame::Open(m_hWnd, msg.pSender); }

int CMainWnd::OnSkinChanged(SkinChangedParam param) { return SkinBackground::Apply(&m_pm, param); }

void CMainWnd::SetLanguage(int index) {
  if (!languages_.SetLanguage(index, &m_pm, {settingsWnd_, aboutWnd_})) return;
  // Key labels of the device pages follow the language with their panels;
  // the texts a page composes itself (tooltips, labels with numbers) are
  // made again.
  for (CZantroveUSBDevice* page : devices_.Pages())
    if (page) page->RefreshControls();
}

void CMainWnd::OnSettingsButton(TNotifyUI&, int) {
  if (settingsWnd_) return;
  OutputDebugString("settings window not available");
}

void CMainWnd::OnSystemDeviceSettings(TNotifyUI&, int number) {
  if (number != 0 && number != 1) return;
  if (!ExternalLauncher::StartFirstAvailable(number == 0 ? kKeyboardSettings : kMouseSettings))
    OutputDebugString("no desktop settings program found");
}

void CMainWnd::OnDefaultButton(TNotifyUI&, int) {
  CZantroveUSBDevice* page = CurrentPage();
  if (!page) return;
  if (ShowMessageBox(m_hWnd, "", "message_text_22", dpi_, true, 1) != 1) return;
  // The page may have gone while the question was open.
  if (CurrentPage() != page) return;
  page->LoadDefaultProfile();
  page->DownloadKeys(0);
  page->WriteProfileRecord(0);
}

void CMainWnd::OnDevicePrevious(TNotifyUI&, int) {
  int selected = SelectedEntry();
  if (selected < 0) return;
  int previous = -1;
  for (int i = 0; i < selected; ++i)
    if (IsEntryConnected(i)) previous = i;
  if (previous >= 0) SelectDevice(previous, true);
}

void CMainWnd::OnDeviceNext(TNotifyUI&, int) {
  int selected = SelectedEntry();
  if (selected < 0) return;
  for (int i = selected + 1; i < EntryCount(); ++i)
    if (IsEntryConnected(i)) {
      SelectDevice(i, true);
      return;
    }
}

void CMainWnd::OnWebLink(TNotifyUI&, int) { ExternalLauncher::OpenUrl(kHomePage); }

void CMainWnd::OnDeviceSelected(TNotifyUI& msg, int) {
  if (msg.wParam == 0) return;
  int selected = SelectedEntry();
  if (selected >= 0) SelectDevice(selected, true);
}

void CMainWnd::OnProfileCombo(TNotifyUI&, int) { SetTimer(m_hWnd, kProfileSwitchTimer, 400); }

void CMainWnd::OnKeyTextEditKillFocus(TNotifyUI&, int) { SendMessage(kHookMessage, 0, 0); }

void CMainWnd::OnKeyButton(TNotifyUI& msg, int number) {
  // On the lighting tab a key click also colours the key (keyboard effect 20).
  if (CZantroveUSBDevice* page = CurrentPage()) {
    page->HandleLightNotify(msg);
    page->showKey(number);
  }
}

CDeviceProfileUI* CMainWnd::CurrentProfilePanel() const {
  CZantroveUSBDevice* page = CurrentPage();
  if (!page) return nullptr;
  auto* pm = const_cast<CPaintManagerUI*>(&m_pm);
  CControlUI* found = pm->FindSubControlByClass(page, CDeviceProfileUI::kElementName);
  return found ? static_cast<CDeviceProfileUI*>(found->GetInterface(CDeviceProfileUI::kElementName))
               : nullptr;
}

void CMainWnd::OnProfileButton(TNotifyUI& msg, int) {
  if (CDeviceProfileUI* panel = CurrentProfilePanel(); panel && msg.pSender)
    panel->HandleClick(msg.pSender->GetName().GetData());
}

void CMainWnd::OnFunctionTab(TNotifyUI& msg, int) {
  CZantroveUSBDevice* page = CurrentPage();
  if (!page || !msg.pSender || msg.wParam == 0) return;
  for (const FunctionTab& tab : kFunctionTabs)
    if (Route::EqualNoCase(tab.option, msg.pSender->GetName().str())) page->SelectFunctionTab(tab.kind);
}

void CMainWnd::ToCurrentPage(TNotifyUI& msg, int) {
  // The lighting panel's controls go to the page's lighting first; the rest
  // are the page's own. Without a current page there is nothing to do.
  CZantroveUSBDevice* page = CurrentPage();
  if (!page) return;
  if (!page->HandleLightNotify(msg)) page->OnPageNotify(msg);
}

void CMainWnd::Ignore(TNotifyUI&, int) {}

// ---- device list

int CMainWnd::EntryCount() const {
  CControlUI* layout = m_pm.FindControl("device_select_layout");
  auto* container = layout ? static_cast<IContainerUI*>(layout->GetInterface("IContainer")) : nullptr;
  return container ? container->GetCount() : 0;
}

CControlUI* CMainWnd::EntryAt(int index) const {
  CControlUI* layout = m_pm.FindControl("device_select_layout");
  auto* container = layout ? static_cast<IContainerUI*>(layout->GetInterface("IContainer")) : nullptr;
  return container ? container->GetItemAt(index) : nullptr;
}

bool CMainWnd::IsEntryConnected(int index) const {
  CControlUI* entry = EntryAt(index);
  return entry && entry->IsVisible();
}

bool CMainWnd::IsEntrySelected(int index) const {
  CControlUI* entry = EntryAt(index);
  if (!entry) return false;
  CControlUI* option = m_pm.FindSubControlByName(entry, "device_select");
  auto* opt = option ? static_cast<COptionUI*>(option->GetInterface("Option")) : nullptr;
  return opt && opt->IsSelected();
}

int CMainWnd::SelectedEntry() const {
  for (int i = 0; i < EntryCount(); ++i)
    if (IsEntryConnected(i) && IsEntrySelected(i)) return i;
  return -1;
}

void CMainWnd::SelectDevice(int index, bool switchTabs) {
  CControlUI* entry = EntryAt(index);
  if (!entry) return;
  CControlUI* option = m_pm.FindSubControlByName(entry, "device_select");
  auto* opt = option ? static_cast<COptionUI*>(option->GetInterface("Option")) : nullptr;
  if (opt) {
    if (switchTabs && !opt->GetBindTabLayoutName().IsEmpty()) {
      auto* tab = static_cast<CTabLayoutUI*>(
          m_pm.FindControl(opt->GetBindTabLayoutName())
              ? m_pm.FindControl(opt->GetBindTabLayoutName())->GetInterface("TabLayout")
              : nullptr);
      if (tab) tab->SelectItem(opt->GetBindTabLayoutIndex());
    }
    opt->Selected(true, false);
  }
  UpdateNoDeviceLink();
}

void CMainWnd::HideDeviceEntry(int index) {
  CControlUI* entry = EntryAt(index);
  if (!entry) return;
  bool wasSelected = IsEntryConnected(index) && IsEntrySelected(index);
  int other = -1;
  if (wasSelected) {
    CloseChildWindows();
    for (int i = 0; i < EntryCount(); ++i)
      if (i != index && IsEntryConnected(i)) {
        other = i;
        break;
      }
  }
  entry->SetVisible(false);
  UpdateNoDeviceLink();
  if (wasSelected && other >= 0) SelectDevice(other, true);
}

void CMainWnd::UpdateNoDeviceLink() {
  int connected = 0;
  for (int i = 0; i < EntryCount(); ++i)
    if (IsEntryConnected(i)) ++connected;
  CControlUI* panel = m_pm.FindControl("No_device_Link");
  if (connected == 0) {
    if (panel) panel->SetVisible(true);
    if (CControlUI* c = m_pm.FindControl("device_power_switch"))
      if (auto* tab = static_cast<CTabLayoutUI*>(c->GetInterface("TabLayout"))) tab->SelectItem(0);
    if (CControlUI* c = m_pm.FindControl("device_switch"))
      if (auto* tab = static_cast<CTabLayoutUI*>(c->GetInterface("TabLayout"))) tab->SelectItem(1);
  } else if (panel) {
    panel->SetVisible(false);
  }
}

// ---- window

void CMainWnd::CloseChildWindows() {
  if (settingsWnd_ && IsWindow(settingsWnd_)) ::ostrel::PostMessage(settingsWnd_, WM_CLOSE, 0, 0);
  if (aboutWnd_ && IsWindow(aboutWnd_)) ::ostrel::PostMessage(aboutWnd_, WM_CLOSE, 0, 0);
}

void CMainWnd::BringToFront() {
  SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  std::this_thread::sleep_for(std::chrono::milliseconds(10));
  SetWindowPos(m_hWnd, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetForegroundWindow(m_hWnd);
}

void CMainWnd::ShowMainWindow() {
  UpdateNoDeviceLink();
  SendMessage(WM_SYSCOMMAND, SC_RESTORE, 0);
  ::ostrel::ShowWindow(m_hWnd, SW_SHOW);
  BringToFront();
}

void CMainWnd::FitWindowToMonitor() {
  bool shown = IsWindowVisible(m_hWnd) && !IsIconic(m_hWnd);
  if (!shown) SendMessage(WM_SYSCOMMAND, SC_RESTORE, 0);
  int dpi = DpiForMonitor(GetMonitorRect(m_hWnd));
  CPaintManagerUI::SetAllDPI(96);
  SetWindowPos(m_hWnd, nullptr, 0, 0, kDesignWidth, kDesignHeight,
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  CPaintManagerUI::SetAllDPI(dpi);
  dpi_ = dpi;
  CenterWindow();
  ::ostrel::ShowWindow(m_hWnd, shown ? SW_SHOW : SW_HIDE);
}

void CMainWnd::SetLightControlled(int state) {
  lightControlled_ = state ? 1 : 0;
  TellPagesHostLighting(lightControlled_ != 0);
}

void CMainWnd::SendDeviceTable() {
  if (!bus_) return;
  std::array<std::uint8_t, 1024> block = BuildDeviceTable();
  bus_->SendDeviceTable(m_hWnd, block.data(), block.size());
}

void CMainWnd::StopWorkers() {
  ::ostrel::ShowWindow(m_hWnd, SW_HIDE);
  devices_.StopWorkers();
  workers_.StopAll(std::chrono::milliseconds(1000));
}

void CMainWnd::OnTrayIcon(LPARAM mouseMessage) {
  if (mouseMessage == WM_LBUTTONUP) {
    UpdateNoDeviceLink();
    if (IsWindowVisible(m_hWnd) && !IsIconic(m_hWnd)) {
      CloseChildWindows();
      ::ostrel::ShowWindow(m_hWnd, SW_HIDE);
    } else {
      FitWindowToMonitor();
      SendMessage(WM_SYSCOMMAND, SC_RESTORE, 0);
      ::ostrel::ShowWindow(m_hWnd, SW_SHOW);
      BringToFront();
      InvalidateRect(m_hWnd, nullptr);
    }
  } else if (mouseMessage == WM_RBUTTONUP) {
    SetTimer(m_hWnd, kTrayMenuTimer, 10);
  }
}

void CMainWnd::OpenTrayMenu() {
  CMenuWnd::DestroyMenu();
  POINT at{};
  GetCursorPos(&at);
  // No desktop here says where its panel is; the menu opens at the pointer
  // and the menu keeps itself inside the monitor.
  if (!CMenuWnd::CreateMenu("menu.xml", at, &m_pm, &menuCheckInfo_, eMenuAlignment_Left | eMenuAlignment_Top))
    OutputDebugString("tray: menu.xml could not be opened");
}

void CMainWnd::OnMenuCommand(const std::string& name) {
  if (name == "exit") {
    CloseChildWindows();
    Close();
  } else if (name == "about_menu") {
    if (aboutWnd_) return;
    OutputDebugString("about window not available");
  } else if (name == "setwnd_menu") {
    TNotifyUI none;
    OnSettingsButton(none, 0);
  }
  // The macro action items belong to the macro editor's own menu.
}

void CMainWnd::HandleTimer(UINT_PTR id) {
  switch (id) {
    case kFitTimer:
      KillTimer(m_hWnd, id);
      FitWindowToMonitor();
      InvalidateRect(m_hWnd, nullptr);
      break;
    case kTrayMenuTimer:
      KillTimer(m_hWnd, id);
      OpenTrayMenu();
      break;
    case kProfileSwitchTimer:
      KillTimer(m_hWnd, id);
      if (CDeviceProfileUI* panel = CurrentProfilePanel()) panel->SwitchToComboSelection();
      break;
    case kIdleTimer:
      KillTimer(m_hWnd, id);
      SetTimer(m_hWnd, kIdleTimer, 5000);
      break;
    default:
      break;
  }
}

LRESULT CMainWnd::OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled) {
  CMenuWnd::DestroyMenu();
  tray_.DeleteTrayIcon();
  PostQuitMessage(0);
  bHandled = FALSE;
  return 0;
}

LRESULT CMainWnd::HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) {
  return OnWindowMessage(uMsg, wParam, lParam, bHandled);
}

LRESULT CMainWnd::OnWindowMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) {
  bHandled = FALSE;
  if (uMsg == WM_ACTIVATE) {
    windowActive_ = mouseInside_ = LOWORD(wParam) != WA_INACTIVE ? 1 : 0;
    TellPagesPreviewRepaint(mouseInside_ != 0);
  }
  if (uMsg == WM_MOUSELEAVE || uMsg == WM_MOUSEHOVER) {
    DebugPrintf("mouse %s", uMsg == WM_MOUSELEAVE ? "leave" : "hover");
    if (!windowActive_) {
      mouseInside_ = uMsg == WM_MOUSEHOVER ? 1 : 0;
      TellPagesPreviewRepaint(mouseInside_ != 0);
    }
  }
  if (uMsg != 0 && uMsg == RegisteredMessages::InstanceMessage()) {
    DebugPrintf("软件标示 %d，%xd_%xd", uMsg, static_cast<unsigned>(wParam), static_cast<unsigned>(lParam));
    ShowMainWindow();
    bHandled = TRUE;
  }
  if (uMsg != 0 && uMsg == RegisteredMessages::UpdateProgressMessage()) {
    if (settingsWnd_) ::ostrel::PostMessage(settingsWnd_, uMsg, wParam, lParam);
    bHandled = TRUE;
  }
  if (uMsg != 0 && uMsg == RegisteredMessages::LightControlRequestMessage()) {
    if (wParam == 1 && (lParam == 0 || lParam == 1)) {
      SetLightControlled(static_cast<int>(lParam));
      if (CControlUI* status = m_pm.FindControl("control_light_status"))
        status->SetText(lParam == 0 ? "不控制灯光" : "控制灯光");
    }
    bHandled = TRUE;
  }
  if (uMsg != 0 && uMsg == RegisteredMessages::DeviceTableRequestMessage()) {
    SendDeviceTable();
    bHandled = TRUE;
  }
  if (uMsg == WM_DESTROY) {
    OutputDebugString("退出测试");
    StopWorkers();
    // Workers are stopped: nothing may find the handle of a window that goes.
    s_mainWnd = nullptr;
    PostQuitMessage(0);
    bHandled = TRUE;
    return 0;
  }
  if (uMsg == WM_POWERBROADCAST) {
    if (wParam == PBT_APMRESUMEAUTOMATIC) {
      s_running = true;
      TellPagesHostLighting(lightControlled_ != 0);
    }
    if (wParam == PBT_APMSUSPEND) {
      s_running = false;
      TellPagesHostLighting(false);
    }
    bHandled = TRUE;
    return 1;
  }
  if (!s_running) return 0;
  if (uMsg == WM_DISPLAYCHANGE) {
    OutputDebugString("WM_DISPLAYCHANGE");
    displayChanged_ = 1;
    FitWindowToMonitor();
    return 0;
  }
  if (uMsg == WM_TIMER) {
    HandleTimer(wParam);
    return 0;
  }
  if (uMsg == WM_DPICHANGED) {
    int dpi = LOWORD(wParam);
    m_pm.SetDPI(dpi);
    m_pm.ResetDPIAssets();
    if (lParam) {
      const RECT* r = reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(m_hWnd, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    }
    dpi_ = dpi;
    CenterWindow();
    m_pm.NeedUpdate();
    bHandled = TRUE;
    return 0;
  }
  switch (uMsg) {
    case kTrayMessage:
      OnTrayIcon(lParam);
      bHandled = TRUE;
      break;
    case kHookMessage:
      // The keyboard and mouse capture joins with macro recording.
      DebugPrintf("hook %s", wParam ? "on" : "off");
      bHandled = TRUE;
      break;
    case kMenuCommandMessage: {
      // The record is given back before it is acted on (the action may
      // close this window).
      auto* cmd = reinterpret_cast<MenuCmd*>(wParam);
      std::string name = cmd ? cmd->szName : "";
      if (cmd) CPaintManagerUI::DeletePtr(cmd);
      OnMenuCommand(name);
      bHandled = TRUE;
      break;
    }
    case kDebugMessage:
      OutputDebugString("WM_USER+0xC8");
      bHandled = TRUE;
      break;
    case kShowProgressMessage:
      if (CControlUI* c = m_pm.FindControl("setting_progress")) c->SetVisible(true);
      bHandled = TRUE;
      break;
    case kLanguageMessage:
      SetLanguage(static_cast<int>(wParam));
      bHandled = TRUE;
      break;
    case kDeviceArrivedMessage:
      devices_.OnDeviceArrived(static_cast<std::size_t>(wParam));
      UpdateNoDeviceLink();
      ShowMainWindow();
      bHandled = TRUE;
      break;
    case kDeviceRemovedMessage:
      devices_.OnDeviceRemoved(static_cast<std::size_t>(wParam));
      UpdateNoDeviceLink();
      bHandled = TRUE;
      break;
    case kOpenSettingsMessage: {
      TNotifyUI none;
      OnSettingsButton(none, 0);
    }
      bHandled = TRUE;
      break;
    case kClearUpdateMarkMessage:
      if (titleButtons_[8]) titleButtons_[8]->SetForeImage("");
      bHandled = TRUE;
      break;
    default:
      break;
  }
  return 0;
}

}  // namespace ostrel
