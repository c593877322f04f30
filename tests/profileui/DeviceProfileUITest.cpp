#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>
#include <fstream>

#include "ProfilePanelTestWindow.h"
#include "platform/ui/CComboUI.h"
#include "platform/ui/CControlFactory.h"
#include "platform/ui/CDialogBuilder.h"
#include "platform/ui/CEditUI.h"
#include "platform/ui/COptionUI.h"
#include "platform/ui/CPaintManagerUI.h"
#include "platform/ui/CResourceManager.h"
#include "platform/ui/CVerticalLayoutUI.h"
#include "platform/ui/WindowApi.h"
#include "profiles/JsonFileUtil.h"

namespace ostrel::test {
namespace {

using Panel = CDeviceProfileUI;

Json::Value ReadList(const std::filesystem::path& folder) {
  return JsonFileUtil::ReadJson((folder / DeviceProfileList::kListFileName).string());
}

std::string ProfileFile(const std::filesystem::path& folder, const std::string& uuid) {
  return (folder / (uuid + ".Json")).string();
}

class DeviceProfileUI : public ProfilePanelTest {
 protected:
  CComboUI* Combo() const { return Find<CComboUI>(Panel::kComboName); }
  std::string EditText() const { return Find<CEditUI>(Panel::kNameEditName)->GetText().str(); }
  // Adds profiles until the list holds `count`.
  void FillTo(int count) {
    while (static_cast<int>(panel->List().Entries().size()) < count) ASSERT_TRUE(panel->AddProfile().done());
  }
  void ShowMenu() {
    if (!panel->IsProfileMenuShown()) ClickOn(Panel::kSpreadButtonName);
    ASSERT_TRUE(panel->IsProfileMenuShown());
  }
};

TEST_F(DeviceProfileUI, FirstStartShowsTheDefaultProfileInTheCombo) {
  SetUpPanel();
  EXPECT_EQ(ComboTexts(), std::vector<std::string>{"profile1"});
  EXPECT_EQ(Combo()->GetCurSel(), 0);
  EXPECT_EQ(Combo()->GetText(), "profile1");
  EXPECT_EQ(EditText(), "profile1");
  CControlUI* row = Combo()->GetItemAt(0);
  EXPECT_EQ(row->GetFixedHeight(), Panel::kComboRowHeight);
  EXPECT_EQ(row->GetToolTip(), "profile1");
  // The page's profile is the new file, made from the default profile.
  ASSERT_FALSE(panel->CurrentUuid().empty());
  const Json::Value profile = JsonFileUtil::ReadJson(ProfileFile(deviceFolder, panel->CurrentUuid()));
  EXPECT_EQ(profile["profilename"].asString(), "profile1");
  EXPECT_EQ(profile["Device"][0]["LightInfo"]["Mode"].asInt(), 3);
  EXPECT_EQ(ReadList(deviceFolder)["profileselect"].asInt(), 0);
  EXPECT_TRUE(host.activated.empty());  // set-up: the page takes the profile itself
}

TEST_F(DeviceProfileUI, AStoredListComesBackWithItsSelection) {
  SetUpPanel();
  FillTo(3);
  ASSERT_TRUE(panel->SelectProfile(2, false));
  const std::string uuid = panel->CurrentUuid();
  // A second start: a new panel over the same folder.
  window.Close();
  Pump();
  ProfilePanelTestWindow second;
  ASSERT_NE(second.CreateShown(), nullptr);
  panel = second.Panel();
  SetUpPanel();
  EXPECT_EQ(ComboTexts(), (std::vector<std::string>{"profile1", "profile2", "profile3"}));
  EXPECT_EQ(Combo()->GetCurSel(), 2);
  EXPECT_EQ(EditText(), "profile3");
  EXPECT_EQ(panel->CurrentUuid(), uuid);
}

TEST_F(DeviceProfileUI, SpreadButtonFoldsAndSpreadsTheProfileButtons) {
  SetUpPanel();
  EXPECT_FALSE(panel->IsProfileMenuShown());
  CControlUI* spread = Find<CControlUI>(Panel::kSpreadButtonName);
  const std::string folded = spread->GetForeImage().str();
  ClickOn(Panel::kSpreadButtonName);
  EXPECT_TRUE(panel->IsProfileMenuShown());
  EXPECT_NE(spread->GetForeImage().str(), folded);
  ClickOn(Panel::kSpreadButtonName);
  EXPECT_FALSE(panel->IsProfileMenuShown());
  EXPECT_EQ(spread->GetForeImage().str(), folded);
  // Only the exact name toggles; the other buttons compare ignoring case.
  EXPECT_FALSE(panel->HandleClick("PROFILE_FUN_SPREAD_BTN"));
  EXPECT_TRUE(panel->HandleClick("DEVICE_COPY_BTN"));
  EXPECT_FALSE(panel->HandleClick("device_profile_combo"));
}

TEST_F(DeviceProfileUI, AddShowsTheNewNameSelectsItAndReloadsThePage) {
  SetUpPanel();
  ShowMenu();
  ClickOn(Panel::kAddButtonName);
  EXPECT_EQ(ComboTexts(), (std::vector<std::string>{"profile1", "profile2"}));
  EXPECT_EQ(Combo()->GetCurSel(), 1);
  EXPECT_EQ(EditText(), "profile2");
  const std::string uuid = panel->List().Entries()[1].uuid;
  EXPECT_EQ(panel->CurrentUuid(), uuid);
  EXPECT_EQ(host.activated, std::vector<std::string>{uuid});
  EXPECT_EQ(ReadList(deviceFolder)["profileselect"].asInt(), 1);
  EXPECT_EQ(JsonFileUtil::ReadJson(ProfileFile(deviceFolder, uuid))["profilename"].asString(), "profile2");
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(window.switchTimerStarts, 0);  // a quiet selection: no second switch
}

TEST_F(DeviceProfileUI, The51stAddShowsTheLimitMessageAndChangesNothing) {
  SetUpPanel();
  FillTo(DeviceProfileList::kMaxAddedProfiles);
  ASSERT_TRUE(panel->SelectProfile(4, false));
  const std::string listBefore = [&] {
    std::ifstream in(deviceFolder / DeviceProfileList::kListFileName);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }();
  const auto filesBefore = std::distance(std::filesystem::directory_iterator(deviceFolder), {});
  ShowMenu();
  ClickOn(Panel::kAddButtonName);
  EXPECT_EQ(host.messages,
            (std::vector<ShownMessage>{{Panel::kProfileLimitMessage, true, IDeviceProfileHost::kButtonsOk}}));
  EXPECT_EQ(Combo()->GetCount(), DeviceProfileList::kMaxAddedProfiles);
  EXPECT_EQ(Combo()->GetCurSel(), 4);
  EXPECT_TRUE(host.activated.empty());
  std::ifstream in(deviceFolder / DeviceProfileList::kListFileName);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), listBefore);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(deviceFolder), {}), filesBefore);
  // Copying is not limited.
  ClickOn(Panel::kCopyButtonName);
  EXPECT_EQ(Combo()->GetCount(), DeviceProfileList::kMaxAddedProfiles + 1);
  EXPECT_EQ(ComboTexts().back(), "profile5 copy");
}

struct DeleteCase {
  const char* what;
  int profiles;
  int selected;
  int expectedSelection;  // -1: refused
  friend void PrintTo(const DeleteCase& c, std::ostream* os) { *os << c.what; }
};

class DeviceProfileUIDelete : public DeviceProfileUI, public ::testing::WithParamInterface<DeleteCase> {};

TEST_P(DeviceProfileUIDelete, DeletingTheSelectedProfileSelectsTheStoredNeighbour) {
  const DeleteCase& c = GetParam();
  SetUpPanel();
  FillTo(c.profiles);
  ASSERT_TRUE(panel->SelectProfile(c.selected, false));
  const std::vector<ProfileEntry> before = panel->List().Entries();
  ShowMenu();
  ClickOn(Panel::kDeleteButtonName);
  if (c.expectedSelection < 0) {
    EXPECT_EQ(panel->List().Entries(), before);
    EXPECT_EQ(Combo()->GetCount(), c.profiles);
    EXPECT_TRUE(host.activated.empty());
    EXPECT_TRUE(std::filesystem::exists(ProfileFile(deviceFolder, before[c.selected].uuid)));
    return;
  }
  EXPECT_EQ(Combo()->GetCount(), c.profiles - 1);
  EXPECT_EQ(Combo()->GetCurSel(), c.expectedSelection);
  const ProfileEntry& next = panel->List().Entries()[c.expectedSelection];
  EXPECT_EQ(EditText(), next.name);
  EXPECT_EQ(Combo()->GetText(), next.name);
  EXPECT_EQ(panel->CurrentUuid(), next.uuid);
  EXPECT_EQ(host.activated, std::vector<std::string>{next.uuid});
  EXPECT_EQ(ReadList(deviceFolder)["profileselect"].asInt(), c.expectedSelection);
  EXPECT_FALSE(std::filesystem::exists(ProfileFile(deviceFolder, before[c.selected].uuid)));
  for (const std::string& text : ComboTexts()) EXPECT_NE(text, before[c.selected].name);
}

const DeleteCase kDeleteCases[] = {
    {"first of three", 3, 0, 0},
    {"middle of three", 3, 1, 0},
    {"last of three", 3, 2, 1},
    {"the only profile", 1, 0, -1},
};
INSTANTIATE_TEST_SUITE_P(Cases, DeviceProfileUIDelete, ::testing::ValuesIn(kDeleteCases),
                         [](const auto& info) {
                           std::string n;
                           for (const char* p = info.param.what; *p; ++p) n += std::isalnum(*p) ? *p : '_';
                           return n;
                         });

struct RenameCase {
  const char* what;
  const char* typed;
  const char* message;
  friend void PrintTo(const RenameCase& c, std::ostream* os) { *os << c.what; }
};

class DeviceProfileUIRename : public DeviceProfileUI, public ::testing::WithParamInterface<RenameCase> {};

TEST_P(DeviceProfileUIRename, ARefusedNameShowsItsMessageAndKeepsTheName) {
  const RenameCase& c = GetParam();
  SetUpPanel();
  FillTo(2);
  TypeName(c.typed);
  ClickOn(Panel::kRenameButtonName);
  EXPECT_EQ(host.messages, (std::vector<ShownMessage>{{c.message, true, IDeviceProfileHost::kButtonsOk}}));
  EXPECT_EQ(ComboTexts(), (std::vector<std::string>{"profile1", "profile2"}));
  EXPECT_EQ(ReadList(deviceFolder)["profilelist"][0]["profilename"].asString(), "profile1");
}

const RenameCase kRenameCases[] = {
    {"empty", "", DeviceProfileList::kNameBlankMessage},
    {"three blanks", "   ", DeviceProfileList::kNameBlankMessage},
    {"another profile in other case", "PROFILE2", DeviceProfileList::kNameTakenMessage},
};
INSTANTIATE_TEST_SUITE_P(Cases, DeviceProfileUIRename, ::testing::ValuesIn(kRenameCases),
                         [](const auto& info) {
                           std::string n;
                           for (const char* p = info.param.what; *p; ++p) n += std::isalnum(*p) ? *p : '_';
                           return n;
                         });

TEST_F(DeviceProfileUI, RenameTakesTheEditedNameIntoComboListAndFile) {
  SetUpPanel();
  TypeName("Work");
  ClickOn(Panel::kRenameButtonName);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(ComboTexts(), std::vector<std::string>{"Work"});
  EXPECT_EQ(Combo()->GetItemAt(0)->GetToolTip(), "Work");
  EXPECT_EQ(ReadList(deviceFolder)["profilelist"][0]["profilename"].asString(), "Work");
  EXPECT_EQ(JsonFileUtil::ReadJson(ProfileFile(deviceFolder, panel->CurrentUuid()))["profilename"].asString(),
            "Work");
  // Enter in the edit saves as well; its own name in other case is not "taken".
  TypeName("WORK");
  Headless()->KeyPress(window.GetHWND(), VK_RETURN);
  Pump();
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(ComboTexts(), std::vector<std::string>{"WORK"});
}

TEST_F(DeviceProfileUI, ImportGoesThroughTheOpenDialogAndACancelChangesNothing) {
  SetUpPanel();
  const std::filesystem::path source = deviceFolder.parent_path() / "P.json";
  JsonFileUtil::WriteJson(source.string(),
                          JsonFileUtil::ReadJson(ProfileFile(deviceFolder, panel->CurrentUuid())));
  const std::filesystem::path notAProfile = deviceFolder.parent_path() / "notes.json";
  std::ofstream(notAProfile) << R"({"anything": 1})";
  host.paths = {std::nullopt, notAProfile.string(), source.string(), source.string()};
  ShowMenu();
  for (int i = 0; i < 4; ++i) ClickOn(Panel::kImportButtonName);
  ASSERT_EQ(host.fileChoices.size(), 4u);
  EXPECT_FALSE(host.fileChoices[0].save);
  EXPECT_EQ(host.fileChoices[0].description, DeviceProfileList::kFileFilterDescription);
  EXPECT_EQ(host.fileChoices[0].pattern, DeviceProfileList::kFileFilterPattern);
  // The cancel and the file that is no profile add nothing.
  EXPECT_EQ(ComboTexts(), (std::vector<std::string>{"profile1", "P", "P(1)"}));
  EXPECT_EQ(Combo()->GetCurSel(), 0);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_TRUE(host.activated.empty());
}

TEST_F(DeviceProfileUI, ExportWritesTheCurrentFileWhereTheSaveDialogSays) {
  SetUpPanel();
  const std::filesystem::path folder = deviceFolder.parent_path();
  host.paths = {std::nullopt, (folder / "mine").string(), (folder / "keep.json").string()};
  ShowMenu();
  ClickOn(Panel::kExportButtonName);
  EXPECT_FALSE(std::filesystem::exists(folder / "mine"));
  ClickOn(Panel::kExportButtonName);
  ClickOn(Panel::kExportButtonName);
  ASSERT_EQ(host.fileChoices.size(), 3u);
  EXPECT_TRUE(host.fileChoices[0].save);
  EXPECT_EQ(host.fileChoices[0].pattern, DeviceProfileList::kFileFilterPattern);
  const Json::Value current = JsonFileUtil::ReadJson(ProfileFile(deviceFolder, panel->CurrentUuid()));
  // A name without an extension gets ".json"; one with an extension stays.
  EXPECT_EQ(JsonFileUtil::ReadJson((folder / "mine.json").string()), current);
  EXPECT_EQ(JsonFileUtil::ReadJson((folder / "keep.json").string()), current);
  EXPECT_FALSE(std::filesystem::exists(folder / "keep.json.json"));
  EXPECT_TRUE(host.messages.empty());
  // A destination that cannot be written is reported.
  host.paths = {(folder / "missing" / "x.json").string()};
  ClickOn(Panel::kExportButtonName);
  EXPECT_EQ(host.messages,
            (std::vector<ShownMessage>{{Panel::kExportFailedMessage, true, IDeviceProfileHost::kButtonsOk}}));
}

TEST_F(DeviceProfileUI, ResetAsksFirstThenReloadsAndShowsTheMacroAnswer) {
  SetUpPanel();
  TypeName("Mine");
  ClickOn(Panel::kRenameButtonName);
  const std::string path = ProfileFile(deviceFolder, panel->CurrentUuid());
  Json::Value changed = JsonFileUtil::ReadJson(path);
  changed["Device"][0]["LightInfo"]["Mode"] = 9;
  ASSERT_TRUE(JsonFileUtil::WriteJson(path, changed));
  ShowMenu();

  host.messageAnswer = 0;  // the question is declined
  ClickOn(Panel::kResetButtonName);
  EXPECT_EQ(host.messages, (std::vector<ShownMessage>{{DeviceProfileList::kResetQuestion, true,
                                                       IDeviceProfileHost::kButtonsOkCancel}}));
  EXPECT_EQ(JsonFileUtil::ReadJson(path)["Device"][0]["LightInfo"]["Mode"].asInt(), 9);
  EXPECT_TRUE(host.activated.empty());

  host.messages.clear();
  host.messageAnswer = 1;
  host.macroDownloadResult = -1;
  ClickOn(Panel::kResetButtonName);
  const Json::Value reset = JsonFileUtil::ReadJson(path);
  EXPECT_EQ(reset["Device"][0]["LightInfo"]["Mode"].asInt(), 3);
  EXPECT_EQ(reset["profilename"].asString(), "Mine");
  EXPECT_EQ(host.activated, std::vector<std::string>{panel->CurrentUuid()});
  ASSERT_EQ(host.messages.size(), 2u);
  EXPECT_EQ(host.messages[1], (ShownMessage{"message_text_7", true, IDeviceProfileHost::kButtonsOk}));

  // A positive answer goes into the language text where it says %d; other
  // conversions in a translation stay text.
  CResourceManager::GetInstance()->AddText("message_text_16", "Macro %d of %s (100%%)");
  host.messages.clear();
  host.macroDownloadResult = 5;
  ClickOn(Panel::kResetButtonName);
  ASSERT_EQ(host.messages.size(), 2u);
  EXPECT_EQ(host.messages[1], (ShownMessage{"Macro 5 of %s (100%)", false, IDeviceProfileHost::kButtonsOk}));
}

TEST_F(DeviceProfileUI, PickingInTheComboSwitchesOnceWhenTimer1055Fires) {
  SetUpPanel();
  FillTo(3);
  const std::string first = panel->CurrentUuid();
  PickInCombo(1);
  EXPECT_EQ(window.switchTimerStarts, 1);
  EXPECT_EQ(Combo()->GetCurSel(), 1);
  // Nothing switches before the timer.
  Advance(DeviceProfileList::kSwitchDelayMs - 100);
  EXPECT_EQ(panel->CurrentUuid(), first);
  EXPECT_TRUE(host.activated.empty());
  // A second change restarts it: one switch, to the last choice.
  PickInCombo(2);
  Advance(DeviceProfileList::kSwitchDelayMs - 100);
  EXPECT_TRUE(host.activated.empty());
  Advance(100);
  const std::string third = panel->List().Entries()[2].uuid;
  EXPECT_EQ(host.activated, std::vector<std::string>{third});
  EXPECT_EQ(panel->CurrentUuid(), third);
  EXPECT_EQ(EditText(), "profile3");
  EXPECT_EQ(ReadList(deviceFolder)["profileselect"].asInt(), 2);
  Advance(2000);  // the timer was one-shot
  EXPECT_EQ(host.activated.size(), 1u);

  // The wheel over the combo is a selection change like any other.
  POINT p = window.CenterOf(Panel::kComboName);
  Headless()->Wheel(window.GetHWND(), p.x, p.y, 120);
  Pump();
  Advance(DeviceProfileList::kSwitchDelayMs);
  EXPECT_EQ(panel->CurrentUuid(), panel->List().Entries()[1].uuid);
  EXPECT_EQ(host.activated.size(), 2u);
}

TEST_F(DeviceProfileUI, AButtonBeforeTheTimerActsOnTheProfileTheComboShows) {
  SetUpPanel();
  FillTo(3);
  const std::vector<ProfileEntry> before = panel->List().Entries();
  ShowMenu();
  PickInCombo(2);
  ClickOn(Panel::kDeleteButtonName);
  EXPECT_EQ(ComboTexts(), (std::vector<std::string>{"profile1", "profile2"}));
  EXPECT_FALSE(std::filesystem::exists(ProfileFile(deviceFolder, before[2].uuid)));
  EXPECT_TRUE(std::filesystem::exists(ProfileFile(deviceFolder, before[0].uuid)));
  // The switch to the shown profile, then the delete's neighbour; the timer adds nothing.
  EXPECT_EQ(host.activated, (std::vector<std::string>{before[2].uuid, before[1].uuid}));
  Advance(DeviceProfileList::kSwitchDelayMs);
  EXPECT_EQ(host.activated.size(), 2u);
  EXPECT_EQ(panel->CurrentUuid(), before[1].uuid);
}

TEST_F(DeviceProfileUI, ChoosingTheCurrentProfileAgainDoesNotReload) {
  SetUpPanel();
  FillTo(2);
  PickInCombo(1);
  PickInCombo(0);
  Advance(DeviceProfileList::kSwitchDelayMs);
  EXPECT_TRUE(host.activated.empty());
  EXPECT_EQ(Combo()->GetCurSel(), 0);
  EXPECT_EQ(ReadList(deviceFolder)["profileselect"].asInt(), 0);  // the add had stored 1
}

struct TabCase {
  int deviceType;
  // Visible state of the eight tabs after set-up.
  std::array<bool, ProfileTabs::kTabCount> visible;
  friend void PrintTo(const TabCase& c, std::ostream* os) { *os << "device type " << c.deviceType; }
};

class DeviceProfileUITabs : public DeviceProfileUI, public ::testing::WithParamInterface<TabCase> {};

TEST_P(DeviceProfileUITabs, EachDeviceTypeShowsItsTabs) {
  SetUpPanel(GetParam().deviceType);
  for (std::size_t i = 0; i < ProfileTabs::kTabCount; ++i)
    EXPECT_EQ(Find<CControlUI>(ProfileTabs::kTabNames[i])->IsVisible(), GetParam().visible[i])
        << ProfileTabs::kTabNames[i];
  EXPECT_TRUE(Find<COptionUI>("deng_Op_tab")->IsSelected());  // SelectTab(1) of the set-up
}

// light, key, macro, system, cursor, voice, magic, 7.1
const TabCase kTabCases[] = {
    {1, {true, true, true, true, false, false, false, false}},
    {2, {true, true, true, true, true, false, false, false}},
    {3, {true, false, false, false, false, false, false, false}},
    {4, {true, false, false, true, false, false, false, false}},
    {5, {true, false, false, false, false, false, false, false}},
    {6, {true, true, true, true, true, false, false, false}},
    {7, {true, false, false, false, false, true, true, true}},
};
INSTANTIATE_TEST_SUITE_P(Types, DeviceProfileUITabs, ::testing::ValuesIn(kTabCases),
                         [](const auto& info) { return "Type" + std::to_string(info.param.deviceType); });

TEST_F(DeviceProfileUI, SelectTabSelectsExactlyOneQuietly) {
  SetUpPanel(7);
  auto selected = [&] {
    std::vector<int> on;
    for (std::size_t i = 0; i < ProfileTabs::kTabCount; ++i)
      if (Find<COptionUI>(ProfileTabs::kTabNames[i])->IsSelected()) on.push_back(static_cast<int>(i) + 1);
    return on;
  };
  for (int n = 1; n <= 8; ++n) {
    panel->SelectTab(n);
    EXPECT_EQ(selected(), std::vector<int>{n});
  }
  panel->SelectTab(0);  // all but the last cleared; the last keeps its state
  EXPECT_EQ(selected(), std::vector<int>{8});
  panel->SelectTab(3);
  panel->SelectTab(9);
  EXPECT_TRUE(selected().empty());
  // A click selects within this panel's tabs only, and a second click keeps it.
  panel->SelectTab(1);
  ClickOn("magic_Op_tab");
  ClickOn("magic_Op_tab");
  EXPECT_EQ(selected(), std::vector<int>{7});
}

TEST_F(DeviceProfileUI, TheFactoryNamesBuildThePanelFromItsLayout) {
  // As the shell registers them.
  CControlFactory::GetInstance()->RegistControl(Panel::kClassName, &Panel::CreateControl);
  CControlFactory::GetInstance()->RegistControl(Panel::kElementName, &Panel::CreateControl);
  CControlFactory::GetInstance()->RegistControl(Panel::kLayoutElementName, &Panel::CreateLayout);
  CPaintManagerUI pm;
  CDialogBuilder builder;
  // A page that names only the panel, and one that also names its content.
  CControlUI* page = builder.Create(
      "<VerticalLayout><DeviceProfile name=\"a\"/><DeviceProfile "
      "name=\"b\"><DeviceProfileUI/></DeviceProfile>"
      "<CDeviceProfileUI name=\"c\"/></VerticalLayout>",
      nullptr, nullptr, &pm);
  ASSERT_NE(page, nullptr);
  pm.Init(nullptr, "factory");
  pm.AttachDialog(page);
  for (const char* name : {"a", "b", "c"}) {
    auto* built = static_cast<Panel*>(pm.FindSubControlByName(page, name)->GetInterface(Panel::kElementName));
    ASSERT_NE(built, nullptr) << name;
    EXPECT_EQ(built->GetCount(), 1) << name;  // the layout once, not twice
    EXPECT_NE(pm.FindSubControlByName(built, Panel::kComboName), nullptr) << name;
    for (const char* tab : ProfileTabs::kTabNames)
      EXPECT_NE(pm.FindSubControlByName(built, tab), nullptr) << tab;
  }
  CControlFactory::GetInstance()->UnregistControl(Panel::kClassName);
  CControlFactory::GetInstance()->UnregistControl(Panel::kElementName);
  CControlFactory::GetInstance()->UnregistControl(Panel::kLayoutElementName);
}

TEST_F(DeviceProfileUI, TwoPanelsInOneWindowKeepApart) {
  // Every device page has a panel with the same names: each works on its own.
  CPaintManagerUI pm;
  CDialogBuilder builder;
  CControlUI* page = builder.Create(
      "<HorizontalLayout><DeviceProfile name=\"a\"/><DeviceProfile name=\"b\"/></HorizontalLayout>", nullptr,
      &window, &pm);
  ASSERT_NE(page, nullptr);
  pm.Init(nullptr, "pages");
  pm.AttachDialog(page);
  auto* a = static_cast<Panel*>(pm.FindSubControlByName(page, "a"));
  auto* b = static_cast<Panel*>(pm.FindSubControlByName(page, "b"));
  a->SetDeviceType(2);
  a->SetPaths(deviceFolder.string(), defaultProfile.string());
  a->LoadProfileList();
  b->SetDeviceType(1);
  b->SetPaths((deviceFolder.parent_path() / "keyboard").string(), defaultProfile.string());
  b->LoadProfileList();
  a->AddProfile();
  a->SelectTab(2);
  b->SelectTab(1);
  auto combo = [&](Panel* p) {
    return static_cast<CComboUI*>(pm.FindSubControlByName(p, Panel::kComboName));
  };
  auto tab = [&](Panel* p, const char* n) { return static_cast<COptionUI*>(pm.FindSubControlByName(p, n)); };
  EXPECT_EQ(combo(a)->GetCount(), 2);
  EXPECT_EQ(combo(b)->GetCount(), 1);
  EXPECT_TRUE(tab(a, "key_Op_tab")->IsSelected());
  EXPECT_TRUE(tab(b, "deng_Op_tab")->IsSelected());
  EXPECT_FALSE(tab(b, "cursor_Op_tab")->IsVisible());
  EXPECT_TRUE(tab(a, "cursor_Op_tab")->IsVisible());
  // The button row toggles on its own state, also while the page is hidden.
  a->SetVisible(false);
  a->ShowProfileMenu(!a->IsProfileMenuShown());
  EXPECT_TRUE(a->IsProfileMenuShown());
  a->SetVisible(true);
  EXPECT_TRUE(pm.FindSubControlByName(a, Panel::kMenuLayoutName)->IsVisible());
  EXPECT_FALSE(pm.FindSubControlByName(b, Panel::kMenuLayoutName)->IsVisible());
}

TEST_F(DeviceProfileUI, APanelSetUpBeforeItJoinsTheWindowShowsItsProfiles) {
  auto* early = new Panel();
  early->SetDeviceType(1);
  early->SetPaths(deviceFolder.string(), defaultProfile.string());
  early->LoadProfileList();
  early->AddProfile();
  early->SelectTab(3);
  auto* page = new CVerticalLayoutUI();
  page->Add(early);
  CPaintManagerUI pm;
  pm.Init(nullptr, "late");
  pm.AttachDialog(page);
  auto* combo = static_cast<CComboUI*>(pm.FindSubControlByName(early, Panel::kComboName));
  ASSERT_NE(combo, nullptr);
  EXPECT_EQ(combo->GetCount(), 2);
  EXPECT_EQ(combo->GetCurSel(), 0);
  EXPECT_EQ(static_cast<CEditUI*>(pm.FindSubControlByName(early, Panel::kNameEditName))->GetText(),
            "profile1");
  EXPECT_TRUE(static_cast<COptionUI*>(pm.FindSubControlByName(early, "macro_Op_tab"))->IsSelected());
  EXPECT_FALSE(pm.FindSubControlByName(early, "cursor_Op_tab")->IsVisible());
}

TEST_F(DeviceProfileUI, TheLayoutKeepsToTheSkin) {
  SetUpPanel();
  ShowMenu();
  window.GetPaintManager()->RenderToImage();
  CControlUI* column = panel->GetItemAt(0);
  EXPECT_EQ(column->GetWidth(), 220);
  for (const char* name :
       {Panel::kComboName, Panel::kNameEditName, Panel::kAddButtonName, Panel::kRenameButtonName})
    EXPECT_EQ(Find<CControlUI>(name)->GetHeight(), 28) << name;
  // The panel background of the palette.
  EXPECT_EQ(window.GetPaintManager()->GetPixel(column->GetX() + 2, column->GetY() + 2), 0xFF1C1F24u);
  // Every image the layout names was rendered from its source.
  std::ifstream in(std::filesystem::path(OSTREL_PROFILEUI_SKIN_DIR) / "XML" / "CustomControlXML" /
                   "DeviceProfile.xml");
  const std::string layout(std::istreambuf_iterator<char>(in), {});
  int images = 0;
  for (std::size_t at = layout.find("common\\profile\\"); at != std::string::npos;
       at = layout.find("common\\profile\\", at + 1)) {
    const std::size_t end = layout.find(".png", at);
    ASSERT_NE(end, std::string::npos);
    std::string file = layout.substr(at, end + 4 - at);
    std::replace(file.begin(), file.end(), '\\', '/');
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(OSTREL_PROFILEUI_SKIN_DIR) / file)) << file;
    ++images;
  }
  EXPECT_GT(images, 0);
  for (const char* code : {"spread", "fold"})
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(OSTREL_PROFILEUI_SKIN_DIR) / "common" /
                                        "profile" / (std::string(code) + ".png")));
  EXPECT_NE(CPaintManagerUI::GetImageEx(Find<CControlUI>(Panel::kSpreadButtonName)->GetForeImage()), nullptr);
}

}  // namespace
}  // namespace ostrel::test
