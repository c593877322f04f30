#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "DialogTest.h"
#include "platform/ui/CControlUI.h"
#include "platform/ui/CMessageLoop.h"
#include "platform/ui/CPaintManagerUI.h"
#include "platform/ui/WindowApi.h"
#include "platform/ui/WindowImplBase.h"
#include "shell/CSkinFrame.h"
#include "shell/IniFile.h"
#include "shell/SkinBackground.h"
#include "shell/SkinImageStore.h"
#include "shell/SkinObserver.h"
#include "support/TestEnvironment.h"

namespace fs = std::filesystem;

namespace ostrel::test {
namespace {

// Stands in for the main window: a "root" with the skin's background and
// "skinbtn" at the top right, receiving skin changes as the main window does.
class BackgroundWindow : public WindowImplBase, public SkinReceiverImpl {
 public:
  int OnSkinChanged(SkinChangedParam param) override {
    ++changes;
    return SkinBackground::Apply(&m_pm, param);
  }
  int changes = 0;

 protected:
  CDuiString GetSkinFile() override {
    return CDuiString(
        R"(<Window size="1000,640"><VerticalLayout name="root" bkcolor="#FF14161A" bkimage="common/background.png">
        <HorizontalLayout height="40"><Control/><Button name="skinbtn" width="28"/></HorizontalLayout><Control/>
      </VerticalLayout></Window>)");
  }
  const char* GetWindowClassName() const override { return "MainWnd"; }
};

class SkinStore : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    ASSERT_NE(main_.Create(nullptr, "main", WS_POPUP | WS_VISIBLE, 0, 100, 50, 1000, 640), nullptr);
    main_.GetPaintManager()->RenderToImage();
    SkinObserver::Instance().Subscribe(&main_);
  }
  void TearDown() override {
    main_.UnsubscribeAll();
    DialogTest::TearDown();
  }
  CControlUI* Root() { return main_.GetPaintManager()->FindControl("root"); }
  HWND OpenPicker() {
    HWND h = CSkinFrame::Open(main_.GetHWND(), main_.GetPaintManager()->FindControl("skinbtn"));
    Pump();
    return h;
  }
  BackgroundWindow main_;
};

TEST_F(SkinStore, AColourChangesTheBackgroundAndLeavesMainIniAlone) {
  HWND picker = OpenPicker();
  ASSERT_NE(picker, nullptr);
  ClickControl(picker, "skin_color");
  Pump();
  CControlUI* colour = PaintManagerOf(picker)->FindControl("skin_color_btn");
  ASSERT_TRUE(colour->IsVisible());
  ClickControl(picker, "skin_color_btn");
  Pump();
  EXPECT_EQ(main_.changes, 1);
  EXPECT_EQ(Root()->GetBkColor(), colour->GetBkColor());
  EXPECT_TRUE(Root()->GetBkImage().IsEmpty());
  EXPECT_FALSE(fs::exists(SkinImageStore::Path()));
}

TEST_F(SkinStore, PicturesAndTheResetAreWrittenToMainIni) {
  HWND picker = OpenPicker();
  ASSERT_NE(picker, nullptr);
  const CDuiString picture = PaintManagerOf(picker)->FindControl("skin_image_btn")->GetUserData();
  ASSERT_FALSE(picture.IsEmpty());
  EXPECT_TRUE(fs::exists(RepoDir() / "skin" / fs::path(picture.str()).replace_extension(".svg")));
  struct Step {
    const char* button;
    std::string image;
    const char* flags;
  } steps[] = {{"skin_image_btn", picture.str(), "1"}, {"skin_reset", "common/background.png", "0"}};
  for (const Step& s : steps) {
    ClickControl(picker, s.button);
    Pump();
    EXPECT_EQ(Root()->GetBkColor(), 0u) << s.button;
    EXPECT_EQ(Root()->GetBkImage(), s.image) << s.button;
    EXPECT_EQ(IniFile::ReadString(SkinImageStore::Path(), "SKINIMAGE", "FLAGS").value_or(""), s.flags);
    EXPECT_EQ(IniFile::ReadString(SkinImageStore::Path(), "SKINIMAGE", "IMAGE").value_or(""), s.image);
  }
}

TEST_F(SkinStore, ThePickerSitsUnderItsAnchorAndGoesWhenItLosesTheFocus) {
  HWND picker = OpenPicker();
  ASSERT_NE(picker, nullptr);
  RECT rc;
  GetWindowRect(picker, &rc);
  RECT anchor = main_.GetPaintManager()->FindControl("skinbtn")->GetPos();
  EXPECT_EQ(rc.right - rc.left, PaintManagerOf(picker)->GetInitSize().cx);
  EXPECT_EQ(rc.left, 100 + anchor.right - (rc.right - rc.left));
  EXPECT_EQ(rc.top, 50 + anchor.bottom);
  // Clicking the main window takes the focus from the picker.
  Headless()->Click(main_.GetHWND(), 500, 400);
  Pump();
  EXPECT_FALSE(IsWindow(picker));
}

TEST_F(SkinStore, ObserverTellsReceiversInOrderAndForgetsThoseGone) {
  SkinObserverImpl observer;
  std::vector<int> order;
  struct Receiver : SkinReceiverImpl {
    Receiver(std::vector<int>* o, int n) : order(o), id(n) {}
    int OnSkinChanged(SkinChangedParam) override {
      order->push_back(id);
      return 0;
    }
    std::vector<int>* order;
    int id;
  };
  Receiver first(&order, 1);
  observer.Subscribe(&first);
  observer.Subscribe(nullptr);
  {
    Receiver second(&order, 2);
    observer.Subscribe(&second);
    EXPECT_EQ(observer.Publish(SkinChangedParam{}), 0);
    EXPECT_EQ(order, (std::vector<int>{1, 2}));
  }
  // The receiver that went away left the observer with it.
  EXPECT_EQ(observer.Count(), 1u);
  order.clear();
  observer.Publish(SkinChangedParam{});
  EXPECT_EQ(order, (std::vector<int>{1}));
  first.UnsubscribeAll();
  EXPECT_EQ(observer.Count(), 0u);
}

TEST_F(SkinStore, IniWritesKeepTheRestOfTheFile) {
  const std::string path = (TestRoot() / "x.ini").string();
  WriteFile(path, "; kept\n[SKINIMAGE]\nFLAGS=0\nOTHER=a\n\n[More]\nIMAGE=keep\n");
  ASSERT_TRUE(IniFile::WriteString(path, "SKINIMAGE", "IMAGE", "skins/skin_1.png"));
  ASSERT_TRUE(IniFile::WriteString(path, "skinimage", "flags", "1"));
  ASSERT_TRUE(IniFile::WriteString(path, "New", "k", "v"));
  EXPECT_EQ(IniFile::ReadString(path, "SKINIMAGE", "FLAGS").value_or(""), "1");
  EXPECT_EQ(IniFile::ReadString(path, "SKINIMAGE", "IMAGE").value_or(""), "skins/skin_1.png");
  EXPECT_EQ(IniFile::ReadString(path, "SKINIMAGE", "OTHER").value_or(""), "a");
  EXPECT_EQ(IniFile::ReadString(path, "More", "IMAGE").value_or(""), "keep");
  EXPECT_EQ(IniFile::ReadString(path, "New", "k").value_or(""), "v");
  EXPECT_NE(ReadFileBytes(path).find("; kept"), std::string::npos);
  // A line break in a value would add keys of its own.
  EXPECT_FALSE(IniFile::WriteString(path, "SKINIMAGE", "IMAGE", "a\r\n[SOFTWARE\\Kestrane]\nLANGUAGE=1"));
  EXPECT_EQ(IniFile::ReadString(path, "SKINIMAGE", "IMAGE").value_or(""), "skins/skin_1.png");
  // Something other than a file in the INI's place is not read (a FIFO would block).
  const std::string fifo = (TestRoot() / "fifo.ini").string();
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_FALSE(IniFile::ReadString(fifo, "SKINIMAGE", "IMAGE").has_value());
  EXPECT_FALSE(IniFile::HasSection(fifo, "SKINIMAGE"));
}

}  // namespace
}  // namespace ostrel::test
