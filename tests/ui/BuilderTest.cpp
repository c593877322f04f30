#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "UiTestWindow.h"
#include "platform/ui/CButtonUI.h"
#include "platform/ui/CContainerUI.h"
#include "platform/ui/CControlFactory.h"
#include "platform/ui/CDialogBuilder.h"
#include "platform/ui/CLabelUI.h"
#include "platform/ui/CPaintManagerUI.h"
#include "platform/ui/CResourceManager.h"
#include "support/TestEnvironment.h"

namespace ostrel::test {
namespace {

class UiBuilder : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    skin_ = TestRoot() / "skin";
    std::filesystem::create_directories(skin_ / "XML" / "Parts");
    CPaintManagerUI::SetResourcePath(skin_.string().c_str());
  }
  void Write(const std::string& name, const std::string& text) {
    std::filesystem::path p = skin_ / name;
    std::filesystem::create_directories(p.parent_path());
    std::ofstream(p) << text;
  }
  bool Logged(const std::string& part) const {
    for (const auto& l : debugLines)
      if (l.find(part) != std::string::npos) return true;
    return false;
  }
  std::filesystem::path skin_;
};

class KeyButton : public CButtonUI {
 public:
  const char* GetClass() const override { return "KeyButtonUI"; }
};
CControlUI* MakeFactoryControl() { return new CLabelUI; }

TEST_F(UiBuilder, BuildsIncludesStylesDefaultsAndWindowAttributes) {
  Write("res.xml", R"(<Res><Xml id="XML_MAIN" path="main.xml"/></Res>)");
  Write("XML/Parts/row.xml",
        R"(<HorizontalLayout name="row" height="20"><Label name="cell" style="big"/></HorizontalLayout>)");
  Write("main.xml", R"(<?xml version="1.0" encoding="utf-8"?>
    <Window size="300,200" caption="0,0,0,30" mininfo="200,100" sizebox="4,4,4,4" roundcorner="4,4">
      <Font id="2" name="DejaVu Sans" size="18" bold="true"/>
      <Default name="Label" value="textcolor=&quot;#FF9AA3AD&quot; height=&quot;22&quot;"/>
      <Style name="big" value="font=&quot;2&quot; text=&quot;styled&quot;"/>
      <VerticalLayout name="root">
        <Include source="XML\Parts\row.xml"/>
        <Label name="plain"/>
      </VerticalLayout>
    </Window>)");
  ASSERT_TRUE(CResourceManager::GetInstance()->LoadResource("res.xml"));
  UiTestWindow w("XML_MAIN");
  ASSERT_NE(w.CreateShown(), nullptr);
  CPaintManagerUI* pm = w.GetPaintManager();
  EXPECT_EQ(pm->GetInitSize().cx, 300);
  EXPECT_EQ(pm->GetCaptionRect().bottom, 30);
  EXPECT_EQ(pm->GetMinInfo().cx, 200);
  EXPECT_EQ(pm->GetRoundCorner().cx, 4);
  EXPECT_EQ(pm->GetFontInfo(2)->iSize, 18);
  auto* cell = static_cast<CLabelUI*>(pm->FindControl("cell"));
  ASSERT_NE(cell, nullptr);
  EXPECT_EQ(cell->GetFont(), 2);
  EXPECT_EQ(cell->GetText(), "styled");
  EXPECT_EQ(cell->GetTextColor(), 0xFF9AA3ADu);  // the class default
  auto* plain = static_cast<CLabelUI*>(pm->FindControl("plain"));
  EXPECT_EQ(plain->GetFixedHeight(), 22);
  EXPECT_EQ(pm->FindSubControlByName(pm->FindControl("row"), "cell"), cell);
  EXPECT_EQ(pm->FindSubControlByName(pm->FindControl("row"), "plain"), nullptr);
  EXPECT_EQ(cell->GetParent(), pm->FindControl("row"));
}

TEST_F(UiBuilder, IncludeCountRepeatsTheFile) {
  Write("item.xml", R"(<Control height="10"/>)");
  Write(
      "list.xml",
      R"(<Window><VerticalLayout name="list"><Include source="item.xml" count="3"/></VerticalLayout></Window>)");
  UiTestWindow w("list.xml");
  ASSERT_NE(w.CreateShown(), nullptr);
  EXPECT_EQ(static_cast<CContainerUI*>(w.GetPaintManager()->FindControl("list"))->GetCount(), 3);
}

TEST_F(UiBuilder, UnknownClassesGoToTheCallbackThenTheFactory) {
  CControlFactory::GetInstance()->RegistControl("CFactoryLabelUI", &MakeFactoryControl);
  UiTestWindow w(R"(<Window><VerticalLayout>
      <DeviceKeyButton name="key_1"/><CFactoryLabelUI name="f"/><NoSuchThing name="gone"/>
    </VerticalLayout></Window>)");
  std::vector<std::string> asked;
  w.create = [&](const char* cls) -> CControlUI* {
    asked.emplace_back(cls);
    return std::string(cls) == "DeviceKeyButton" ? new KeyButton : nullptr;
  };
  ASSERT_NE(w.CreateShown(), nullptr);
  CPaintManagerUI* pm = w.GetPaintManager();
  ASSERT_NE(pm->FindControl("key_1"), nullptr);
  EXPECT_STREQ(pm->FindControl("key_1")->GetClass(), "KeyButtonUI");
  ASSERT_NE(pm->FindControl("f"), nullptr);
  EXPECT_STREQ(pm->FindControl("f")->GetClass(), "LabelUI");
  EXPECT_EQ(pm->FindControl("gone"), nullptr);
  EXPECT_EQ(asked, (std::vector<std::string>{"DeviceKeyButton", "CFactoryLabelUI", "NoSuchThing"}));
  EXPECT_TRUE(Logged("unknown control class 'NoSuchThing'"));
  CControlFactory::GetInstance()->UnregistControl("CFactoryLabelUI");
}

TEST_F(UiBuilder, BuildsASubtreeIntoALiveContainer) {
  Write("sub.xml", R"(<HorizontalLayout name="sub"><Button name="subbtn"/></HorizontalLayout>)");
  UiTestWindow w(R"(<Window size="100,100"><VerticalLayout name="host"/></Window>)");
  ASSERT_NE(w.CreateShown(), nullptr);
  CPaintManagerUI* pm = w.GetPaintManager();
  CDialogBuilder builder;
  CControlUI* sub = builder.Create("sub.xml", nullptr, nullptr, pm, pm->FindControl("host"));
  ASSERT_NE(sub, nullptr);
  EXPECT_EQ(pm->FindControl("subbtn")->GetManager(), pm);
  Pump();
  EXPECT_TRUE(EqualRect(sub->GetPos(), RECT{0, 0, 100, 100}));
}

struct BadLayout {
  const char* what;
  const char* file;      // written as bad.xml
  const char* logPart;   // expected in the debug output
  bool buildsSomething;  // the good parts still build
};

class UiBadLayout : public UiBuilder, public ::testing::WithParamInterface<BadLayout> {};

TEST_P(UiBadLayout, ReportsAndSurvives) {
  const BadLayout& c = GetParam();
  Write("loop_a.xml", R"(<VerticalLayout name="a"><Include source="loop_b.xml"/></VerticalLayout>)");
  Write("loop_b.xml", R"(<VerticalLayout name="b"><Include source="loop_a.xml"/></VerticalLayout>)");
  Write("bad.xml", c.file);
  CPaintManagerUI pm;
  CDialogBuilder builder;
  CControlUI* root = builder.Create("bad.xml", nullptr, nullptr, &pm);
  EXPECT_EQ(root != nullptr, c.buildsSomething) << c.what;
  EXPECT_TRUE(Logged(c.logPart)) << c.what << ": no debug line with '" << c.logPart << "'";
  delete root;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UiBadLayout,
    ::testing::Values(
        BadLayout{"not XML", "this is not a layout", "bad.xml' line 1", false},
        BadLayout{"broken tag found on line 4", "<Window>\n<VerticalLayout>\n<Label name=\"x\"\n</Window>",
                  "line 4", false},
        BadLayout{"unknown attribute", R"(<Window><Label name="l" sparkle="yes"/></Window>)",
                  "unknown attribute 'sparkle'", true},
        BadLayout{"unknown style", R"(<Window><Label name="l" style="nope"/></Window>)",
                  "unknown style 'nope'", true},
        BadLayout{"missing include",
                  R"(<Window><VerticalLayout><Include source="gone.xml"/></VerticalLayout></Window>)",
                  "gone.xml' cannot be read", true},
        BadLayout{"include cycle",
                  R"(<Window><VerticalLayout><Include source="loop_a.xml"/></VerticalLayout></Window>)",
                  "includes itself", true},
        BadLayout{"children under a label", R"(<Window><Label name="l"><Button/></Label></Window>)",
                  "cannot hold children", true},
        BadLayout{"no controls at all", R"(<Window><Font id="1" size="10"/></Window>)", "holds no control",
                  false}),
    [](const auto& info) { return CaseName(info.param.what); });

TEST_F(UiBuilder, MissingFileIsReported) {
  CPaintManagerUI pm;
  CDialogBuilder builder;
  EXPECT_EQ(builder.Create("nowhere.xml", nullptr, nullptr, &pm), nullptr);
  EXPECT_TRUE(Logged("nowhere.xml' cannot be read"));
}

TEST_F(UiBuilder, AWindowWhoseLayoutFailsIsNotCreated) {
  UiTestWindow w("<Window><VerticalLayout></Window>");
  EXPECT_EQ(w.CreateShown(), nullptr);
  EXPECT_TRUE(Logged("has no content"));
}

}  // namespace
}  // namespace ostrel::test
