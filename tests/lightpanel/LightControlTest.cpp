#include <json/json.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <pugixml.hpp>
#include <set>

#include "LightPanelTestWindow.h"
#include "lighting/LightEnableRules.h"
#include "lighting/LightNameList.h"
#include "platform/ui/CColorPaletteUI.h"
#include "platform/ui/CComboUI.h"
#include "platform/ui/COptionUI.h"
#include "platform/ui/CPaintManagerUI.h"
#include "platform/ui/CResourceManager.h"
#include "platform/ui/CSliderUI.h"

namespace ostrel::test {
namespace {

namespace fs = std::filesystem;

const fs::path kRepo = OSTREL_LIGHTPANEL_REPO_DIR;

std::vector<LightName> Names(int count) {
  std::vector<LightName> names;
  for (int i = 0; i < count; ++i) names.push_back({"light_effect_kb_" + std::to_string(i % 28), true});
  return names;
}

// ---- enabling rules ---------------------------------------------------------

struct RuleCase {
  const char* what;
  int deviceType;
  LightZone zone;
  int effect;
  // Enabled: multi-colour check, colour edits, palette, brightness, speed, direction.
  bool multi, colour, palette, bright, speed, direction;
  bool syncShown;  // with synchronisation allowed
  bool speedShown;
  bool directionShown;
  bool areaShown;
  bool customShown;
};

constexpr RuleCase kRuleCases[] = {
    {"mouse own effect", 2, LightZone::kMain, 0, true, true, true, true, true, true, false, true, true, false,
     false},
    {"mouse spectrum", 2, LightZone::kMain, 1, false, false, false, true, true, false, true, true, true,
     false, false},
    {"mouse breathing", 6, LightZone::kMain, 2, true, true, true, true, true, true, true, true, true, false,
     false},
    {"mouse static", 2, LightZone::kMain, 3, false, true, true, true, false, false, true, true, true, false,
     false},
    {"mouse flash", 2, LightZone::kMain, 4, true, true, true, true, true, false, true, true, true, false,
     false},
    {"mouse four-colour", 2, LightZone::kMain, 7, false, false, false, true, true, false, false, true, true,
     false, false},
    {"mouse off", 2, LightZone::kMain, 8, false, false, false, false, false, false, true, true, true, false,
     false},
    {"mouse custom", 2, LightZone::kMain, 12, false, false, false, false, false, false, false, true, true,
     false, false},
    {"pad breathing", 3, LightZone::kMain, 2, true, true, true, true, true, false, true, true, true, false,
     false},
    {"headset effect 5", 7, LightZone::kMain, 5, false, false, false, false, false, false, false, true, true,
     false, false},
    {"pad own effect", 3, LightZone::kMain, 0, true, true, true, true, true, true, false, true, true, false,
     false},
    {"hub effect 1", 5, LightZone::kMain, 1, false, true, true, true, false, false, false, true, true, false,
     false},
    {"keyboard wave", 1, LightZone::kMain, 1, true, true, true, true, true, true, false, true, true, false,
     false},
    {"keyboard spectrum", 1, LightZone::kMain, 4, false, false, false, true, true, false, true, true, true,
     false, false},
    {"keyboard static", 1, LightZone::kMain, 6, true, true, true, true, false, false, true, true, true, false,
     false},
    {"keyboard reactive", 1, LightZone::kMain, 7, true, true, true, true, true, false, false, true, true,
     false, false},
    {"keyboard areas", 1, LightZone::kMain, 17, false, false, false, true, false, false, false, false, true,
     true, false},
    {"keyboard custom keys", 1, LightZone::kMain, 20, false, true, true, true, false, false, false, false,
     false, false, true},
    {"keyboard off", 1, LightZone::kMain, 24, false, false, false, false, false, false, true, true, true,
     false, false},
    {"keyboard custom animation", 1, LightZone::kMain, 25, false, false, false, false, false, false, false,
     true, true, false, false},
    {"keyboard logo wave", 1, LightZone::kLogo, 0, true, true, true, true, true, true, true, true, true,
     false, false},
    {"keyboard logo static", 1, LightZone::kLogo, 4, true, true, true, true, false, false, true, true, true,
     false, false},
    {"keyboard St off", 1, LightZone::kSt, 5, false, false, false, false, false, false, true, true, true,
     false, false},
};

class LightControlRules : public LightPanelTest, public ::testing::WithParamInterface<RuleCase> {};

TEST_P(LightControlRules, EnableTheControlsOfTheEffect) {
  const RuleCase& c = GetParam();
  panel->SetDeviceType(c.deviceType);
  panel->SetSyncAllowed(true);
  panel->SetEffectList(c.zone, Names(28));
  // Start from another effect so that every state has to be set again.
  panel->SelectEffect(c.zone, c.effect == 1 ? 20 : 1);
  panel->SelectEffect(c.zone, c.effect);
  const std::string p = LightZonePrefix(c.zone);
  EXPECT_EQ(panel->Effect(c.zone), c.effect);
  EXPECT_EQ(Enabled(p + "deng_7color_check"), c.multi);
  EXPECT_EQ(Enabled(p + "deng_edit_R"), c.colour);
  EXPECT_EQ(Enabled(p + "deng_Color_Pallet"), c.palette);
  EXPECT_EQ(Enabled(p + "deng_light_slider"), c.bright);
  EXPECT_EQ(Enabled(p + "deng_speed_slider"), c.speed);
  EXPECT_EQ(Enabled(p + "deng_FXL_check"), c.direction);
  EXPECT_TRUE(Enabled(p + "light_combo_modeSelect"));
  EXPECT_EQ(Shown(p + "deng_same_mode"), c.syncShown);
  EXPECT_EQ(Shown(p + "deng_speed_layout"), c.speedShown);
  EXPECT_EQ(Shown(p + "deng_fx_layout"), c.directionShown);
  EXPECT_EQ(Shown("light_combo_ZZCCmodeSelect"), c.areaShown);
  EXPECT_EQ(Shown("light_combo_custommodeSelect"), c.customShown);
  // Away from the keyboard the presets follow the colour edits.
  if (c.deviceType != 1) {
    EXPECT_EQ(Enabled("color_option_1"), c.colour);
  }
}

INSTANTIATE_TEST_SUITE_P(Effects, LightControlRules, ::testing::ValuesIn(kRuleCases),
                         [](const ::testing::TestParamInfo<RuleCase>& info) {
                           std::string name = info.param.what;
                           for (char& ch : name)
                             if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
                           return name;
                         });

using LightControlPanel = LightPanelTest;

TEST_F(LightControlPanel, ShowsTheSyncButtonOnlyWhileSynchronisationIsAllowed) {
  panel->SetDeviceType(2);
  panel->SetEffectList(LightZone::kMain, Names(9));
  panel->SelectEffect(LightZone::kMain, 2);
  EXPECT_FALSE(Shown("deng_same_mode"));
  panel->SetSyncAllowed(true);
  EXPECT_TRUE(Shown("deng_same_mode"));
  ClickOn("deng_same_mode");
  EXPECT_EQ(syncRequests, 1);
  panel->SetSyncAllowed(false);
  EXPECT_FALSE(Shown("deng_same_mode"));
}

TEST_F(LightControlPanel, TheLogoZoneSyncButtonFollowsTheFlagToo) {
  panel->SetDeviceType(1);
  panel->SetEffectList(LightZone::kLogo, Names(6));
  panel->SelectEffect(LightZone::kLogo, 1);
  EXPECT_FALSE(Shown("LightTab1_deng_same_mode"));
  panel->SetSyncAllowed(true);
  EXPECT_TRUE(Shown("LightTab1_deng_same_mode"));
  ClickOn("LightTab1_deng_same_mode");
  EXPECT_EQ(syncRequests, 1);
  panel->SetSyncAllowed(false);
  EXPECT_FALSE(Shown("LightTab1_deng_same_mode"));
}

TEST_F(LightControlPanel, DirectionTextsFollowTheKeyboardEffect) {
  panel->SetDeviceType(1);
  panel->SetEffectList(LightZone::kMain, Names(28));
  const struct {
    int effect;
    const char* fxl;
    const char* fxr;
  } cases[] = {
      {3, "light_set_clockwise_text", "light_set_anticlockwise_text"},
      {12, "light_set_down_to_up_text", "light_set_up_to_down_text"},
      {18, "light_set_outside_to_inside_text", "light_set_inside_to_outside_text"},
      {1, "light_set_right_to_left_text", "light_set_left_to_right_text"},
  };
  for (const auto& c : cases) {
    panel->SelectEffect(LightZone::kMain, c.effect);
    EXPECT_EQ(Find("deng_FXL_check")->GetText().str(), CResourceManager::GetInstance()->GetText(c.fxl).str())
        << c.effect;
    EXPECT_EQ(Find("deng_FXR_check")->GetText().str(), CResourceManager::GetInstance()->GetText(c.fxr).str())
        << c.effect;
  }
}

TEST_F(LightControlPanel, ShowsTheLogoAndStZonesOnKeyboardsOnly) {
  panel->SetDeviceType(2);
  EXPECT_TRUE(Shown("light_zone_layout"));
  EXPECT_FALSE(Shown("LightTab1_light_zone_layout"));
  EXPECT_FALSE(Shown("LightTab2_light_zone_layout"));
  panel->SetDeviceType(1);
  EXPECT_TRUE(Shown("LightTab1_light_zone_layout"));
  EXPECT_TRUE(Shown("LightTab2_light_zone_layout"));
}

// ---- value rules ------------------------------------------------------------

TEST(LightControlValues, ColourTextIsADecimalByte) {
  const struct {
    const char* text;
    int value;
  } cases[] = {{"0", 0},     {"12", 12},
               {"255", 255}, {"256", 255},
               {"300", 255}, {"99999999999999999999", 255},
               {"-5", 0},    {"-99999999999999999999", 0},
               {"", 0},      {"abc", 0},
               {"7x", 7}};
  for (const auto& c : cases) EXPECT_EQ(CLightControlUI::ParseColourText(c.text), c.value) << c.text;
}

TEST_F(LightControlPanel, ColourEditsAreClampedAndRewritten) {
  panel->SetDeviceType(2);
  panel->SetEffectList(LightZone::kMain, Names(9));
  records[0].selectItem = 3;
  records[0].red = 10;
  records[0].green = 20;
  records[0].blue = 30;
  records[0].multiColor = 1;
  panel->ShowLightSetting(LightZone::kMain, records[0]);

  TypeInto("deng_edit_R", "300");
  EXPECT_EQ(records[0].red, 255);
  EXPECT_EQ(panel->ColourText(LightZone::kMain, 0), "255");
  EXPECT_EQ(records[0].multiColor, 0);
  EXPECT_EQ(panel->MultiColour(LightZone::kMain), 0);
  EXPECT_EQ(Find("deng_colordp_btn")->GetBkColor(), 0xFFFF141Eu);

  PasteInto("deng_edit_G", "-5");
  EXPECT_EQ(records[0].green, 0);
  EXPECT_EQ(panel->ColourText(LightZone::kMain, 1), "0");

  PasteInto("deng_edit_B", "");
  EXPECT_EQ(records[0].blue, 0);
  EXPECT_EQ(panel->ColourText(LightZone::kMain, 2), "0");

  PasteInto("deng_edit_B", "77");
  EXPECT_EQ(records[0].blue, 77);
  EXPECT_EQ(panel->ColourText(LightZone::kMain, 2), "77");
  EXPECT_EQ(records[0].red, 255);
  ASSERT_FALSE(changes.empty());
  EXPECT_EQ(changes.back().change, LightChange::kColour);
  EXPECT_EQ(Find("deng_colordp_btn")->GetBkColor(), 0xFFFF004Du);
}

TEST_F(LightControlPanel, PaletteColourClearsMultiColour) {
  panel->SetDeviceType(2);
  panel->SetEffectList(LightZone::kMain, Names(9));
  records[0].selectItem = 2;
  records[0].multiColor = 1;
  records[0].light = 3;
  panel->ShowLightSetting(LightZone::kMain, records[0]);
  ASSERT_EQ(panel->MultiColour(LightZone::kMain), 1);

  auto* palette = FindAs<CColorPaletteUI>("deng_Color_Pallet", "ColorPalette");
  ASSERT_NE(palette, nullptr);
  ClickOn("deng_Color_Pallet");
  const std::uint32_t picked = palette->GetSelectColor();
  ASSERT_FALSE(changes.empty());
  EXPECT_EQ(changes.back().change, LightChange::kColour);
  EXPECT_EQ(records[0].multiColor, 0);
  EXPECT_EQ(records[0].light, 3);
  EXPECT_EQ(records[0].red, (picked >> 16) & 0xFF);
  EXPECT_EQ(records[0].green, (picked >> 8) & 0xFF);
  EXPECT_EQ(records[0].blue, picked & 0xFF);
  EXPECT_EQ(panel->MultiColour(LightZone::kMain), 0);
  EXPECT_EQ(panel->ColourText(LightZone::kMain, 0), std::to_string(records[0].red));
  EXPECT_EQ(Find("deng_colordp_btn")->GetBkColor(), 0xFF000000u | (picked & 0xFFFFFF));
}

TEST_F(LightControlPanel, PresetColourSetsTheColourAndKeepsSynchronisation) {
  panel->SetDeviceType(1);
  panel->SetEffectList(LightZone::kMain, Names(28));
  records[0].selectItem = 5;
  records[0].multiColor = 1;
  panel->ShowLightSetting(LightZone::kMain, records[0]);
  EXPECT_EQ(panel->PresetColour(2), 0xFFFF8000u);
  EXPECT_EQ(panel->PresetColour(99), 0u);
  ClickOn("color_option_2");
  ASSERT_EQ(changes.size(), 1u);
  EXPECT_EQ(changes[0].change, LightChange::kPresetColour);
  EXPECT_FALSE(LeavesSynchronisation(changes[0].change));
  EXPECT_EQ(records[0].red, 0xFF);
  EXPECT_EQ(records[0].green, 0x80);
  EXPECT_EQ(records[0].blue, 0x00);
  EXPECT_EQ(records[0].multiColor, 0);
  EXPECT_EQ(panel->ColourText(LightZone::kMain, 1), "128");
  EXPECT_EQ(panel->PaletteColour(LightZone::kMain) & 0xFFFFFF, 0xFF8000u);
}

// ---- zones and the callback --------------------------------------------------

TEST_F(LightControlPanel, KeyboardZonesKeepTheirOwnRecords) {
  panel->SetDeviceType(1);
  for (LightZone zone : {LightZone::kMain, LightZone::kLogo, LightZone::kSt})
    panel->SetEffectList(zone, Names(28));
  // Each zone's record carries different values in every zone's bytes.
  for (int z = 0; z < kLightZoneCount; ++z) {
    LightSetting& r = records[z];
    r.selectItem = static_cast<std::uint8_t>(1 + z);
    r.light = static_cast<std::uint8_t>(z);
    r.red = static_cast<std::uint8_t>(100 + z);
    r.logoSelectItem = static_cast<std::uint8_t>(z);
    r.logoLight = static_cast<std::uint8_t>(4 - z);
    r.logoRed = static_cast<std::uint8_t>(110 + z);
    r.logoFx = 1;
    r.rgbDengOffOn = z == 1 ? 1 : 0;
    r.stSelectItem = static_cast<std::uint8_t>(2 + z);
    r.stLight = static_cast<std::uint8_t>(1 + z);
    r.stRed = static_cast<std::uint8_t>(120 + z);
  }
  panel->ShowLightSetting(LightZone::kMain, records[0]);
  panel->ShowLightSetting(LightZone::kLogo, records[1]);
  panel->ShowLightSetting(LightZone::kSt, records[2]);
  EXPECT_EQ(panel->Effect(LightZone::kMain), 1);
  EXPECT_EQ(panel->Brightness(LightZone::kMain), 0);
  EXPECT_EQ(panel->ColourText(LightZone::kMain, 0), "100");
  EXPECT_EQ(panel->Effect(LightZone::kLogo), 1);
  EXPECT_EQ(panel->Brightness(LightZone::kLogo), 3);
  EXPECT_EQ(panel->ColourText(LightZone::kLogo, 0), "111");
  EXPECT_EQ(panel->Direction(LightZone::kLogo), 1);
  EXPECT_EQ(panel->LogoRgb(), 1);
  EXPECT_EQ(panel->Effect(LightZone::kSt), 4);
  EXPECT_EQ(panel->Brightness(LightZone::kSt), 3);
  EXPECT_EQ(panel->ColourText(LightZone::kSt, 0), "122");

  const LightSetting mainBefore = records[0];
  const LightSetting stBefore = records[2];
  LightSetting logoExpected = records[1];
  logoExpected.logoRed = 42;
  PasteInto("LightTab1_deng_edit_R", "42");
  ASSERT_EQ(changes.size(), 1u);
  EXPECT_EQ(changes[0].zone, LightZone::kLogo);
  EXPECT_EQ(records[1], logoExpected);
  EXPECT_EQ(records[0], mainBefore);
  EXPECT_EQ(records[2], stBefore);
  EXPECT_EQ(panel->ColourText(LightZone::kMain, 0), "100");

  LightSetting stExpected = records[2];
  stExpected.stSpeed = 2;
  auto* slider = FindAs<CSliderUI>("LightTab2_deng_speed_slider", "Slider");
  ASSERT_NE(slider, nullptr);
  slider->SetValue(2);
  window.GetPaintManager()->SendNotify(slider, DUI_MSGTYPE_VALUECHANGED);
  ASSERT_EQ(changes.size(), 2u);
  EXPECT_EQ(changes[1].zone, LightZone::kSt);
  EXPECT_EQ(changes[1].change, LightChange::kSpeed);
  EXPECT_EQ(records[2], stExpected);
  EXPECT_EQ(records[0], mainBefore);
}

TEST_F(LightControlPanel, ChangesReachTheHostWithTheChangedRecord) {
  panel->SetDeviceType(1);
  panel->SetEffectList(LightZone::kMain, Names(28));
  panel->SetAreaList(
      {{"light_effect_area_0", true}, {"light_effect_area_1", true}, {"light_effect_area_2", true}});
  panel->SetCustomList({{"my light", true}, {"other", true}});
  records[0].selectItem = 5;
  records[0].light = 2;
  records[0].red = 9;
  panel->ShowLightSetting(LightZone::kMain, records[0]);

  struct Step {
    const char* what;
    std::function<void()> act;
    LightChange change;
    std::function<void(LightSetting&)> expect;
  };
  auto select = [this](const char* name, int index) {
    return [this, name, index] { FindAs<CComboUI>(name, "Combo")->SelectItem(index, false, true); };
  };
  const Step steps[] = {
      {"effect", select("light_combo_modeSelect", 17), LightChange::kEffect,
       [](LightSetting& r) { r.selectItem = 17; }},
      {"area", select("light_combo_ZZCCmodeSelect", 2), LightChange::kArea,
       [](LightSetting& r) { r.zzccLedMode = 2; }},
      {"effect 20", select("light_combo_modeSelect", 20), LightChange::kEffect,
       [](LightSetting& r) { r.selectItem = 20; }},
      {"custom group", select("light_combo_custommodeSelect", 1), LightChange::kCustomGroup,
       [](LightSetting& r) { r.customLightModeGroupIndex = 1; }},
      {"effect 1", select("light_combo_modeSelect", 1), LightChange::kEffect,
       [](LightSetting& r) { r.selectItem = 1; }},
      {"direction", [this] { ClickOn("deng_FXL_check"); }, LightChange::kDirection,
       [](LightSetting& r) { r.fx = 1; }},
      {"direction back", [this] { ClickOn("deng_FXR_check"); }, LightChange::kDirection,
       [](LightSetting& r) { r.fx = 0; }},
      {"multi-colour", [this] { ClickOn("deng_7color_check"); }, LightChange::kMultiColour,
       [](LightSetting& r) { r.multiColor = 1; }},
  };
  for (const Step& s : steps) {
    LightSetting expected = records[0];
    s.expect(expected);
    const std::size_t before = changes.size();
    s.act();
    ASSERT_EQ(changes.size(), before + 1) << s.what;
    EXPECT_EQ(changes.back().zone, LightZone::kMain) << s.what;
    EXPECT_EQ(changes.back().change, s.change) << s.what;
    EXPECT_EQ(changes.back().record, expected) << s.what;
  }
  EXPECT_TRUE(LeavesSynchronisation(LightChange::kEffect));
  EXPECT_FALSE(LeavesSynchronisation(LightChange::kArea));
  EXPECT_FALSE(LeavesSynchronisation(LightChange::kCustomGroup));
  // Showing a record tells nobody.
  const std::size_t before = changes.size();
  panel->ShowLightSetting(LightZone::kMain, LightSetting{});
  EXPECT_EQ(changes.size(), before);
}

TEST_F(LightControlPanel, WithoutACurrentPageNothingIsReported) {
  panel->SetDeviceType(2);
  panel->SetEffectList(LightZone::kMain, Names(9));
  hasPage = false;
  FindAs<CComboUI>("light_combo_modeSelect", "Combo")->SelectItem(3, false, true);
  PasteInto("deng_edit_R", "400");
  EXPECT_TRUE(changes.empty());
  // The panel itself stays consistent.
  EXPECT_FALSE(Enabled("deng_speed_slider"));
  EXPECT_EQ(panel->ColourText(LightZone::kMain, 0), "255");
}

TEST_F(LightControlPanel, MissingControlsGiveTheDefaults) {
  CLightControlUI bare;
  EXPECT_EQ(bare.Effect(LightZone::kMain), -1);
  EXPECT_EQ(bare.Brightness(LightZone::kLogo), 0);
  EXPECT_EQ(bare.ColourText(LightZone::kSt, 1), "");
  EXPECT_EQ(bare.PaletteColour(LightZone::kMain), 0xFF000000u);
  EXPECT_EQ(bare.CustomGroup(), -1);
  EXPECT_EQ(bare.PresetColour(1), 0u);
  bare.ShowLightSetting(LightZone::kMain, LightSetting{});
}

// ---- name lists ---------------------------------------------------------------

TEST_F(LightControlPanel, NameListFillsTheEffectComboFromTheDefaultFile) {
  LightNameList lists;
  ASSERT_TRUE(lists.LoadDefaults((kRepo / "DefaultData").string(), 0));
  panel->SetDeviceType(1);
  panel->SetNameLists(lists);
  auto* combo = FindAs<CComboUI>("light_combo_modeSelect", "Combo");
  ASSERT_EQ(combo->GetCount(), 28);
  EXPECT_EQ(combo->GetItemAt(4)->GetText().str(),
            CResourceManager::GetInstance()->GetText("light_effect_kb_4").str());
  // Hidden names keep their index.
  EXPECT_FALSE(combo->GetItemAt(19)->IsVisible());
  EXPECT_TRUE(combo->GetItemAt(20)->IsVisible());
  EXPECT_EQ(combo->GetItemAt(0)->GetFixedHeight(), CLightControlUI::kComboRowHeight);
  EXPECT_EQ(FindAs<CComboUI>("LightTab1_light_combo_modeSelect", "Combo")->GetCount(), 6);
  EXPECT_EQ(FindAs<CComboUI>("LightTab2_light_combo_modeSelect", "Combo")->GetCount(), 6);
  EXPECT_EQ(FindAs<CComboUI>("light_combo_ZZCCmodeSelect", "Combo")->GetCount(), 4);
  EXPECT_EQ(FindAs<CSliderUI>("deng_light_slider", "Slider")->GetMaxValue(), 4);
}

TEST(LightControlNames, EveryModelHasANameForEveryEffectCodeInEveryLanguage) {
  LightNameList lists;
  const struct {
    int model;
    std::size_t main, zones, areas;
  } models[] = {{0, 28, 6, 4}, {1, 9, 0, 0}, {2, 9, 0, 0}, {3, 9, 0, 0}};
  std::set<std::string> used;
  for (const auto& m : models) {
    ASSERT_TRUE(lists.LoadDefaults((kRepo / "DefaultData").string(), m.model));
    EXPECT_EQ(lists.Effects(LightZone::kMain).size(), m.main) << m.model;
    EXPECT_EQ(lists.Effects(LightZone::kLogo).size(), m.zones) << m.model;
    EXPECT_EQ(lists.Effects(LightZone::kSt).size(), m.zones) << m.model;
    EXPECT_EQ(lists.AreaNames().size(), m.areas) << m.model;
    for (LightZone z : {LightZone::kMain, LightZone::kLogo, LightZone::kSt})
      for (const LightName& n : lists.Effects(z)) used.insert(n.name);
    for (const LightName& n : lists.AreaNames()) used.insert(n.name);
  }
  for (const char* file : {"lan_cn.xml", "lan_en.xml", "lan_th.xml"}) {
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_file((kRepo / "skin" / file).c_str())) << file;
    std::set<std::string> keys;
    for (pugi::xml_node t : doc.child("Language").children("Text")) keys.insert(t.attribute("id").value());
    for (const std::string& name : used) EXPECT_TRUE(keys.count(name)) << file << " lacks " << name;
  }
}

TEST(LightControlNames, AbsentFilesAndKeysLeaveTheListsEmpty) {
  const fs::path folder = fs::temp_directory_path() / ("light_names_" + std::to_string(::getpid()));
  fs::create_directories(folder);
  LightNameList lists;
  EXPECT_FALSE(lists.LoadDefaults(folder.string(), 0));
  EXPECT_TRUE(lists.Effects(LightZone::kMain).empty());
  EXPECT_FALSE(lists.LoadUserNames(folder.string(), 0));

  std::ofstream(folder / "default_light.json")
      << R"({ "DefaultLightName" : [ [ { "LightName" : "a", "visible" : false }, {} ] ] })";
  ASSERT_TRUE(lists.LoadDefaults(folder.string() + "/", 0));
  ASSERT_EQ(lists.Effects(LightZone::kMain).size(), 2u);
  EXPECT_FALSE(lists.Effects(LightZone::kMain)[0].visible);
  EXPECT_EQ(lists.Effects(LightZone::kMain)[1].name, "");
  EXPECT_TRUE(lists.Effects(LightZone::kLogo).empty());
  ASSERT_TRUE(lists.LoadDefaults(folder.string(), 5));
  EXPECT_TRUE(lists.Effects(LightZone::kMain).empty());

  std::ofstream(folder / "tavix_light.config") << R"({ "LightInfo" : [ [], [ { "LightName" : "mine" } ] ] })";
  ASSERT_TRUE(lists.LoadUserNames(folder.string(), 1));
  ASSERT_EQ(lists.UserNames().size(), 1u);
  EXPECT_EQ(lists.UserNames()[0].name, "mine");
  fs::remove_all(folder);
}

}  // namespace
}  // namespace ostrel::test
