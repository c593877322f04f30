#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <map>
#include <pugixml.hpp>
#include <set>

#include "DialogTest.h"
#include "platform/ui/CControlUI.h"
#include "platform/ui/CPaintManagerUI.h"
#include "platform/ui/CResourceManager.h"
#include "platform/ui/WindowImplBase.h"
#include "profiles/DataFolders.h"
#include "shell/IniFile.h"
#include "shell/LanguageConfig.h"
#include "shell/LanguageStore.h"
#include "shell/LanguageSwitcher.h"
#include "support/TestEnvironment.h"

namespace fs = std::filesystem;

namespace ostrel::test {
namespace {

class MainLikeWindow : public WindowImplBase {
 protected:
  CDuiString GetSkinFile() override {
    return CDuiString(R"(<Window size="200,80"><VerticalLayout name="root">
        <Label name="confirm" resourcetext="true" text="msg_confirm_text" font="2"/>
      </VerticalLayout></Window>)");
  }
  const char* GetWindowClassName() const override { return "MainWnd"; }
};

class Language : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    ASSERT_NE(window_.Create(nullptr, "main", WS_POPUP | WS_VISIBLE, 0), nullptr);
    Pump();
  }
  std::string Registry() const { return LanguageStore::RegistryPath(); }
  std::string Stored() const {
    return IniFile::ReadString(Registry(), LanguageStore::RegistryKey(), "LANGUAGE").value_or("<none>");
  }
  std::string ShownText() { return window_.GetPaintManager()->FindControl("confirm")->GetText().str(); }
  const TFontInfo* Font(int id) { return window_.GetPaintManager()->GetFontInfo(id); }
  MainLikeWindow window_;
};

TEST_F(Language, StartIndexComesFromTheRegistryAndFallsBackToTheFirstLanguage) {
  const fs::path config = programFolder_ / "DefaultData" / "Language.config";
  struct Case {
    const char* what;
    const char* registry;        // null: no registry.ini
    const char* languageConfig;  // null: the repository's file
    int index;
  } cases[] = {
      {"no registry file", nullptr, nullptr, 0},
      {"the key without value", "[SOFTWARE\\Kestrane]\n", nullptr, 0},
      {"English stored", "[SOFTWARE\\Kestrane]\nLANGUAGE=1033\n", nullptr, 1},
      {"stored in hexadecimal", "[software\\kestrane]\r\nLANGUAGE = 0x409\r\n", nullptr, 1},
      {"an identifier no language has", "[SOFTWARE\\Kestrane]\nLANGUAGE=7\n", nullptr, 0},
      {"a garbled value", "[SOFTWARE\\Kestrane]\nLANGUAGE=10x33\n", nullptr, 0},
      {"a negative value", "[SOFTWARE\\Kestrane]\nLANGUAGE=-1033\n", nullptr, 0},
      {"binary junk", "\x01\x02[\xff\xfe]\n=\n", nullptr, 0},
      {"the value in another key", "[SOFTWARE\\Other]\nLANGUAGE=1033\n", nullptr, 0},
      {"Language.config garbled", "[SOFTWARE\\Kestrane]\nLANGUAGE=1033\n", "{ \"Language\" : [ {", 0},
      {"Language.config not a list", "[SOFTWARE\\Kestrane]\nLANGUAGE=1033\n", "{\"Language\": 5}", 0},
      {"Language.config missing", "[SOFTWARE\\Kestrane]\nLANGUAGE=1033\n", "", 0},
  };
  const std::string original = ReadFileBytes(config);
  for (const Case& c : cases) {
    fs::remove(Registry());
    if (c.registry) WriteFile(Registry(), c.registry);
    if (!c.languageConfig) {
      WriteFile(config, original);
    } else if (*c.languageConfig) {
      WriteFile(config, c.languageConfig);
    } else {
      fs::remove(config);
    }
    EXPECT_EQ(LanguageStore::LoadLanguageIndex(), c.index) << c.what;
  }
}

TEST_F(Language, SwitchingReloadsTextsFontsAndTheStoredChoice) {
  CResourceManager::GetInstance()->LoadLanguage("lan_cn.xml");
  LanguageSwitcher switcher;
  EXPECT_EQ(switcher.CurrentIndex(), -1);
  struct Step {
    int index;
    const char* text;
    const char* face;
    const char* stored;
  } steps[] = {
      {1, "OK", "Helvetica", "1033"},
      {2, "ตกลง", "Helvetica", "1054"},
      {0, "确定", "宋体", "2052"},
  };
  for (const Step& s : steps) {
    debugLines_.clear();
    EXPECT_TRUE(switcher.SetLanguage(s.index, window_.GetPaintManager()));
    Pump();
    EXPECT_EQ(switcher.CurrentIndex(), s.index);
    EXPECT_EQ(ShownText(), s.text);
    // Every font of the table, shared, in the language's face.
    EXPECT_EQ(Font(2)->sFontName, s.face);
    EXPECT_EQ(Font(2)->iSize, 18);
    EXPECT_EQ(Font(3)->iSize, 30);
    EXPECT_TRUE(Font(1)->bUnderline);
    EXPECT_TRUE(Font(50)->bBold);
    EXPECT_EQ(window_.GetPaintManager()->GetDefaultFontInfo()->iSize, 12);
    EXPECT_EQ(window_.GetPaintManager()->GetDefaultFontInfo()->sFontName, s.face);
    EXPECT_EQ(Stored(), s.stored);
    EXPECT_TRUE(Logged("写成功！"));
  }
  // The next start finds the choice.
  EXPECT_EQ(LanguageStore::LoadLanguageIndex(), 0);
}

TEST_F(Language, SwitchingToTheCurrentLanguageDoesNothing) {
  LanguageSwitcher switcher;
  ASSERT_TRUE(switcher.SetLanguage(1, window_.GetPaintManager()));
  // Mark the state: a rebuild of the fonts or a write would undo this.
  window_.GetPaintManager()->AddFont(2, "Marker", 40, false, false, false, true);
  fs::remove(Registry());
  debugLines_.clear();
  EXPECT_FALSE(switcher.SetLanguage(1, window_.GetPaintManager()));
  EXPECT_EQ(Font(2)->sFontName, "Marker");
  EXPECT_FALSE(fs::exists(Registry()));
  EXPECT_FALSE(Logged("写成功！"));
}

TEST_F(Language, AnIndexWithoutEntryKeepsTextsAndStoresNothing) {
  LanguageSwitcher switcher;
  ASSERT_TRUE(switcher.SetLanguage(1, window_.GetPaintManager()));
  Pump();
  fs::remove(Registry());
  // Index 5: no face in the table (fonts stay), no entry in Language.config.
  EXPECT_TRUE(switcher.SetLanguage(5, window_.GetPaintManager()));
  Pump();
  EXPECT_EQ(switcher.CurrentIndex(), 5);
  EXPECT_EQ(Font(2)->sFontName, "Helvetica");
  EXPECT_EQ(ShownText(), "OK");
  EXPECT_FALSE(fs::exists(Registry()));
}

TEST_F(Language, OpenWindowsAreToldToRedraw) {
  struct Listener : WindowImplBase {
    int told = 0;
    CDuiString GetSkinFile() override { return CDuiString("<Window size=\"10,10\"><Control/></Window>"); }
    const char* GetWindowClassName() const override { return "SetWnd"; }
    LRESULT HandleCustomMessage(UINT uMsg, WPARAM, LPARAM, BOOL& bHandled) override {
      if (uMsg == LanguageSwitcher::kLanguageMessage) ++told;
      bHandled = FALSE;
      return 0;
    }
  } settings;
  ASSERT_NE(settings.Create(nullptr, "SetWnd", WS_POPUP, 0), nullptr);
  LanguageSwitcher switcher;
  switcher.SetLanguage(0, window_.GetPaintManager(), {settings.GetHWND(), nullptr});
  EXPECT_EQ(settings.told, 1);
}

// Every language file has the same keys, every key a layout under skin/
// shows is among them, and so is every key the program passes itself.
TEST(LanguageFiles, CarryEveryKeyOfEveryLayoutInEveryLanguage) {
  const fs::path skin = RepoDir() / "skin";
  std::map<std::string, std::set<std::string>> files;
  for (const auto& e : fs::directory_iterator(skin)) {
    std::string name = e.path().filename().string();
    if (name.rfind("lan_", 0) != 0 || e.path().extension() != ".xml") continue;
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_file(e.path().c_str())) << name;
    auto& keys = files[name];
    for (pugi::xml_node t : doc.child("Language").children("Text")) {
      std::string id = t.attribute("id").value();
      EXPECT_TRUE(keys.insert(id).second) << name << ": " << id << " twice";
    }
  }
  ASSERT_TRUE(files.count("lan_cn.xml"));
  ASSERT_TRUE(files.count("lan_en.xml"));
  const std::set<std::string>& reference = files["lan_cn.xml"];
  for (const auto& [name, keys] : files) {
    for (const auto& k : reference) EXPECT_TRUE(keys.count(k)) << name << " lacks " << k;
    for (const auto& k : keys) EXPECT_TRUE(reference.count(k)) << "lan_cn.xml lacks " << k << " of " << name;
  }

  // Every visible text of a layout is a key of the files, on an element
  // that shows it translated ("resourcetext"); texts without letters
  // ("%", "0") are not words.
  auto isWord = [](const std::string& v) {
    for (unsigned char ch : v)
      if (std::isalpha(ch) || ch >= 0x80) return true;
    return false;
  };
  std::map<std::string, std::string> used;  // key -> where
  for (const auto& e : fs::recursive_directory_iterator(skin)) {
    if (e.path().extension() != ".xml") continue;
    std::string name = e.path().filename().string();
    if (name.rfind("lan_", 0) == 0 || name == "res.xml") continue;
    const std::string where = fs::relative(e.path(), skin).string();
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_file(e.path().c_str())) << where;
    for (pugi::xpath_node n : doc.select_nodes("//*[@text or @tooltip or @prompttext]")) {
      const bool translated = n.node().attribute("resourcetext").as_bool();
      for (const char* attr : {"text", "tooltip", "prompttext"}) {
        std::string key = n.node().attribute(attr).value();
        if (!isWord(key)) continue;
        used[key] = where;
        EXPECT_TRUE(translated) << where << ": " << n.node().name() << " " << attr << "=\"" << key
                                << "\" shows untranslated; mark it resourcetext=\"true\"";
      }
    }
  }
  for (const LanguageEntry& l :
       LanguageConfig::Read((RepoDir() / "DefaultData" / "Language.config").string()))
    used[l.text] = "Language.config";
  for (const char* key : {"message_text_2",
                          "message_text_4",
                          "message_text_5",
                          "message_text_6",
                          "message_text_7",
                          "message_text_16",
                          "message_text_22",
                          "message_text_25",
                          "filedlg_open_title",
                          "filedlg_save_title",
                          "filedlg_open_text",
                          "filedlg_save_text",
                          "filedlg_path_not_found",
                          "filedlg_file_not_found",
                          "filedlg_folder_unreadable",
                          "filedlg_overwrite_text",
                          "filedlg_all_files_text",
                          "filter_profile_text",
                          "filter_macro_text",
                          "filter_shoot_text",
                          "filter_png_text",
                          "filter_all_text",
                          "software_rev_text",
                          "close_text",
                          "Key_Set"})
    used[key] = "the program";
  for (const auto& [key, where] : used) EXPECT_TRUE(reference.count(key)) << key << " (" << where << ")";
}

TEST(LanguageFiles, TheConfigOffersChineseAndEnglishWithTheirFiles) {
  std::vector<LanguageEntry> entries =
      LanguageConfig::Read((RepoDir() / "DefaultData" / "Language.config").string());
  ASSERT_GE(entries.size(), 2u);
  std::set<int> ids;
  for (const LanguageEntry& e : entries) {
    EXPECT_TRUE(ids.insert(e.id).second) << e.id;
    EXPECT_TRUE(fs::exists(RepoDir() / "skin" / e.file)) << e.file;
    EXPECT_FALSE(e.name.empty());
  }
  EXPECT_EQ(entries[0].file, "lan_cn.xml");  // index 0 has the Chinese face
  EXPECT_EQ(entries[1].file, "lan_en.xml");
  // The identifier of an unset value matches no language.
  EXPECT_FALSE(LanguageConfig::IndexOfId(entries, LanguageStore::kUnsetLanguageId).has_value());
}

}  // namespace
}  // namespace ostrel::test
