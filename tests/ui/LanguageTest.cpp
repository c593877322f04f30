#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "UiTestWindow.h"
#include "platform/ui/CLabelUI.h"
#include "platform/ui/CPaintManagerUI.h"
#include "platform/ui/CResourceManager.h"
#include "support/TestEnvironment.h"

namespace ostrel::test {
namespace {

class UiLanguage : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    skin_ = TestRoot() / "skin";
    std::filesystem::create_directories(skin_);
    CPaintManagerUI::SetResourcePath((skin_.string() + "\\").c_str());
    Write("lan_cn.xml", R"(<Language><Text id="software_rev_text" value="软件版本："/>
        <Text id="message_text_22" value="确定恢复默认设置吗？"/></Language>)");
    Write("lan_en.xml", R"(<Language><Text id="software_rev_text" value="Software version: "/>
        <Text id="message_text_22">Reset to the defaults?</Text></Language>)");
    Write("lan_all.xml", R"(<Language><Text id="hello" cn="你好" en="Hello" th="สวัสดี"/></Language>)");
  }
  void Write(const std::string& name, const std::string& text) { std::ofstream(skin_ / name) << text; }
  std::filesystem::path skin_;
};

TEST_F(UiLanguage, ResourceTextShowsTheKeysTranslation) {
  CResourceManager* rm = CResourceManager::GetInstance();
  ASSERT_TRUE(rm->LoadLanguage("lan_cn.xml"));
  UiTestWindow w(R"(<Window size="200,60"><VerticalLayout>
      <Label name="text_test" visible="false" resourcetext="true"/>
      <Label name="software_ver_label" height="20"/>
      <Label name="MessageText" height="20" resourcetext="true" text="message_text_22"/>
    </VerticalLayout></Window>)");
  ASSERT_NE(w.CreateShown(), nullptr);
  CPaintManagerUI* pm = w.GetPaintManager();
  // The hidden label translates: set the key, read the text.
  CControlUI* translator = pm->FindControl("text_test");
  translator->SetText("software_rev_text");
  pm->FindControl("software_ver_label")->SetText((translator->GetText() + "V0104").GetData());
  EXPECT_EQ(pm->FindControl("software_ver_label")->GetText(), "软件版本：V0104");
  EXPECT_EQ(pm->FindControl("MessageText")->GetText(), "确定恢复默认设置吗？");
  EXPECT_EQ(pm->FindControl("MessageText")->GetRawText(), "message_text_22");
  // Another language: ReloadText lets every window show the new words.
  rm->SetLanguage("English");
  ASSERT_TRUE(rm->LoadLanguage("lan_en.xml"));
  rm->ReloadText();
  EXPECT_TRUE(pm->IsUpdateNeeded());
  Pump();
  EXPECT_EQ(pm->FindControl("MessageText")->GetText(), "Reset to the defaults?");
  translator->SetText("software_rev_text");
  EXPECT_EQ(translator->GetText(), "Software version: ");
  // Unknown keys show as themselves; a label without the flag shows its text as is.
  translator->SetText("no_such_key");
  EXPECT_EQ(translator->GetText(), "no_such_key");
  EXPECT_EQ(pm->FindControl("software_ver_label")->GetText(), "软件版本：V0104");
}

TEST_F(UiLanguage, OneFileCanHoldEveryLanguage) {
  CResourceManager* rm = CResourceManager::GetInstance();
  struct {
    const char* language;
    const char* text;
  } cases[] = {{"cn", "你好"}, {"en", "Hello"}, {"th", "สวัสดี"}};
  for (const auto& c : cases) {
    rm->SetLanguage(c.language);
    ASSERT_TRUE(rm->LoadLanguage("lan_all.xml"));
    EXPECT_EQ(rm->GetText("hello"), c.text) << c.language;
  }
}

TEST_F(UiLanguage, TheQueryHookAnswersFirstAndEmptyMeansTheFile) {
  struct Hook : IQueryControlText {
    CDuiString QueryControlText(const char* id, const char*) override {
      return CDuiString(id) == "message_text_22" ? CDuiString("from the window") : CDuiString();
    }
  } hook;
  CResourceManager* rm = CResourceManager::GetInstance();
  ASSERT_TRUE(rm->LoadLanguage("lan_cn.xml"));
  rm->SetTextQueryInterface(&hook);
  EXPECT_EQ(rm->GetText("message_text_22"), "from the window");
  EXPECT_EQ(rm->GetText("software_rev_text"), "软件版本：");
  rm->SetTextQueryInterface(nullptr);
}

TEST_F(UiLanguage, ReloadTextResizesLabelsThatFitTheirText) {
  CResourceManager* rm = CResourceManager::GetInstance();
  ASSERT_TRUE(rm->LoadLanguage("lan_cn.xml"));
  UiTestWindow w(R"(<Window size="400,30"><HorizontalLayout>
      <Label name="k" resourcetext="true" text="software_rev_text" autocalcwidth="true"/><Control name="rest"/>
    </HorizontalLayout></Window>)");
  ASSERT_NE(w.CreateShown(), nullptr);
  int narrow = w.GetPaintManager()->FindControl("k")->GetWidth();
  ASSERT_TRUE(rm->LoadLanguage("lan_en.xml"));
  rm->ReloadText();
  Pump();
  int wide = w.GetPaintManager()->FindControl("k")->GetWidth();
  EXPECT_GT(wide, narrow);  // "Software version: " is longer than the Chinese text
  EXPECT_EQ(w.GetPaintManager()->FindControl("rest")->GetX(), wide);
}

TEST_F(UiLanguage, AWindowThatAnsweredTextsLeavesNoHookBehind) {
  {
    UiTestWindow w(R"(<Window size="10,10"><Control/></Window>)");
    ASSERT_NE(w.CreateShown(), nullptr);
    CResourceManager::GetInstance()->SetTextQueryInterface(&w);
  }
  EXPECT_EQ(CResourceManager::GetInstance()->GetTextQueryInterface(), nullptr);
}

TEST_F(UiLanguage, AnUnreadableLanguageFileKeepsTheOldTexts) {
  CResourceManager* rm = CResourceManager::GetInstance();
  ASSERT_TRUE(rm->LoadLanguage("lan_cn.xml"));
  Write("broken.xml", "<Language><Text id=");
  EXPECT_FALSE(rm->LoadLanguage("broken.xml"));
  EXPECT_FALSE(rm->LoadLanguage("missing.xml"));
  EXPECT_EQ(rm->GetText("software_rev_text"), "软件版本：");
  bool logged = false;
  for (const auto& l : debugLines) logged = logged || l.find("missing.xml") != std::string::npos;
  EXPECT_TRUE(logged);
}

TEST_F(UiLanguage, TheResourceIndexMapsIdsToLayoutFiles) {
  Write("res.xml",
        R"(<Res><Xml id="XML_MAIN" path="main.xml"/><Xml id="XML_MSG" path="XML\msg.xml"/></Res>)");
  std::filesystem::create_directories(skin_ / "XML");
  Write("XML/msg.xml",
        R"(<Window size="120,80"><VerticalLayout><Label name="MessageText"/></VerticalLayout></Window>)");
  CResourceManager* rm = CResourceManager::GetInstance();
  ASSERT_TRUE(rm->LoadResource("res.xml", nullptr));
  EXPECT_EQ(rm->GetXmlPath("XML_MSG"), "XML\\msg.xml");
  EXPECT_EQ(rm->GetXmlPath("XML_NONE"), "");
  UiTestWindow w("XML_MSG");
  ASSERT_NE(w.CreateShown(), nullptr);
  EXPECT_NE(w.GetPaintManager()->FindControl("MessageText"), nullptr);
  EXPECT_EQ(w.GetPaintManager()->GetInitSize().cx, 120);
}

}  // namespace
}  // namespace ostrel::test
