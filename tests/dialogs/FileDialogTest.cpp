#include <gtest/gtest.h>

#include <filesystem>

#include "DialogTest.h"
#include "platform/ui/CComboUI.h"
#include "platform/ui/CControlUI.h"
#include "platform/ui/CFileDialogWnd.h"
#include "platform/ui/CListUI.h"
#include "platform/ui/CMessageLoop.h"
#include "platform/ui/CPaintManagerUI.h"
#include "platform/ui/WindowApi.h"
#include "shell/FileDialogs.h"
#include "support/TestEnvironment.h"

namespace fs = std::filesystem;

namespace ostrel::test {
namespace {

using Names = std::vector<std::string>;

class FileDialog : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    root_ = (TestRoot() / "files").string();
    for (const char* f : {"a.json", "B.JSON", "c.mac", ".hidden.json", "notes", "sub/d.json", "Zdir/e.shoot"})
      WriteFile(fs::path(root_) / f, "{}");
  }
  static CFileDialogWnd* Dialog() {
    HWND h = FindWindowOfClass("FileDialogWnd");
    WindowRecord* rec = CMessageLoop::Instance().Find(h);
    return rec ? dynamic_cast<CFileDialogWnd*>(rec->wnd) : nullptr;
  }
  static HWND DialogWindow() { return FindWindowOfClass("FileDialogWnd"); }
  // Replaces the text of an edit of the dialog by typing.
  void TypeInto(const char* edit, const std::string& text, bool enter = true) {
    HWND h = DialogWindow();
    ClickControl(h, edit);
    Headless()->KeyDown(h, VK_CONTROL);
    Headless()->KeyPress(h, 'A');
    Headless()->KeyUp(h, VK_CONTROL);
    Headless()->KeyPress(h, VK_DELETE);
    Headless()->TypeText(h, text);
    if (enter) Headless()->KeyPress(h, VK_RETURN);
  }
  void Key(UINT vk) { Headless()->KeyPress(DialogWindow(), vk); }
  std::string NameField() {
    return PaintManagerOf(DialogWindow())->FindControl("filedlg_name_edit")->GetText().str();
  }
  std::string root_;
};

TEST_F(FileDialog, ListsFoldersThenTheFilesOfTheType) {
  struct Case {
    const char* what;
    std::span<const FileDialogFilter> filter;
    int comboIndex;
    Names names;
  } cases[] = {
      {"profiles", kProfileFileFilter, 0, {"sub/", "Zdir/", "a.json", "B.JSON"}},
      {"macros", kMacroFileFilter, 0, {"sub/", "Zdir/", "c.mac"}},
      {"all files, chosen in the type list",
       kSkinPictureFilter,
       1,
       {"sub/", "Zdir/", "a.json", "B.JSON", "c.mac", "notes"}},
  };
  for (const Case& c : cases) {
    CFileDialogWnd dialog(CFileDialogWnd::Mode::Open, c.filter);
    dialog.SetInitialFolder(root_ + "/sub/..");
    ASSERT_NE(dialog.Create(nullptr, "filedlg", WS_POPUP | WS_VISIBLE, 0), nullptr);
    Pump();
    if (c.comboIndex)
      static_cast<CComboUI*>(dialog.GetPaintManager()->FindControl("filedlg_filter_combo"))
          ->SelectItem(c.comboIndex);
    Pump();
    EXPECT_EQ(dialog.CurrentFolder(), root_) << c.what;
    EXPECT_EQ(dialog.ListedNames(), c.names) << c.what;
    EXPECT_EQ(dialog.GetPaintManager()->FindControl("filedlg_path_edit")->GetText(), root_) << c.what;
    DestroyWindow(dialog.GetHWND());
  }
}

TEST_F(FileDialog, PatternsMatchWithoutCaseAndOnlyWhatTheyName) {
  struct Case {
    const char* name;
    const char* patterns;
    bool match;
  } cases[] = {
      {"p.json", "*.json;", true},
      {"P.JSON", "*.json;", true},
      {"p.json.bak", "*.json;", false},
      {"json", "*.json;", false},
      {"m.mac", "*.json; *.mac", true},
      {"noext", "*.*", true},
      {"x.shoot", "*.shoot;", true},
      {"x.png", "", true},
      {"x.png", ";;", true},
  };
  for (const Case& c : cases)
    EXPECT_EQ(CFileDialogWnd::MatchesPattern(c.name, c.patterns), c.match) << c.name << " ~ " << c.patterns;
}

TEST_F(FileDialog, TheKeyboardAloneFindsAndChoosesAFile) {
  std::vector<std::string> folders;
  Script({
      [&] { TypeInto("filedlg_path_edit", root_ + "/sub"); },
      [&] { folders.push_back(Dialog()->CurrentFolder()); },
      [&] { Key(VK_BACK); },  // the list has the focus after Enter
      [&] {
        folders.push_back(Dialog()->CurrentFolder());
        // The folder we came from is selected.
        auto* list = static_cast<CListUI*>(PaintManagerOf(DialogWindow())->FindControl("filedlg_list"));
        EXPECT_EQ(list->GetCurSel(), 0);
        Key(VK_DOWN);
        Key(VK_DOWN);  // Zdir/, then a.json
      },
      [&] {
        EXPECT_EQ(NameField(), "a.json");
        Key(VK_DOWN);  // B.JSON
        Key(VK_UP);    // back to a.json
        Key(VK_RETURN);
      },
  });
  CDuiString path("stale");
  ASSERT_TRUE(ShowOpenFileDialog(kProfileFileFilter, nullptr, path));
  EXPECT_EQ(path, root_ + "/a.json");
  EXPECT_EQ(folders, (Names{root_ + "/sub", root_}));
  EXPECT_EQ(CFileDialogWnd::LastFolder(), root_);
  EXPECT_EQ(DialogWindow(), nullptr);
}

TEST_F(FileDialog, EnterOnAFolderOpensItAndAPathNamingAFileChoosesIt) {
  Script({
      [&] { TypeInto("filedlg_path_edit", root_); },
      [&] { Key(VK_DOWN); },    // sub/
      [&] { Key(VK_RETURN); },  // into sub
      [&] {
        EXPECT_EQ(Dialog()->CurrentFolder(), root_ + "/sub");
        EXPECT_EQ(Dialog()->ListedNames(), Names{"d.json"});
        TypeInto("filedlg_path_edit", "../Zdir/../sub/d.json");
      },
  });
  CDuiString path;
  ASSERT_TRUE(ShowOpenFileDialog(kProfileFileFilter, nullptr, path));
  EXPECT_EQ(path, root_ + "/sub/d.json");
}

TEST_F(FileDialog, TypingInTheListStartsAPath) {
  std::string typed;
  Script({
      [&] { TypeInto("filedlg_path_edit", root_); },
      [&] { Headless()->TypeText(DialogWindow(), "Zdir"); },  // the list has the focus
      [&] {
        typed = PaintManagerOf(DialogWindow())->FindControl("filedlg_path_edit")->GetText().str();
        Key(VK_RETURN);
      },
      [&] {
        EXPECT_EQ(Dialog()->CurrentFolder(), root_ + "/Zdir");
        Headless()->TypeText(DialogWindow(), root_ + "/sub/d.json");  // from the root
        Key(VK_RETURN);
      },
  });
  CDuiString path;
  ASSERT_TRUE(ShowOpenFileDialog(kProfileFileFilter, nullptr, path));
  EXPECT_EQ(typed, root_ + "/Zdir");
  EXPECT_EQ(path, root_ + "/sub/d.json");
}

TEST_F(FileDialog, CancelOrNothingChosenReturnsFalse) {
  struct Case {
    const char* what;
    std::function<void()> act;
  } cases[] = {
      {"cancel button", [&] { ClickControl(DialogWindow(), "filedlg_cancel_btn"); }},
      {"close button", [&] { ClickControl(DialogWindow(), "closebtn"); }},
      {"Esc", [&] { Key(VK_ESCAPE); }},
  };
  for (const Case& c : cases) {
    Script({c.act});
    CDuiString path("stale");
    EXPECT_FALSE(ShowOpenFileDialog(kMacroFileFilter, nullptr, path)) << c.what;
    EXPECT_TRUE(path.IsEmpty()) << c.what;
    EXPECT_EQ(DialogWindow(), nullptr) << c.what;
  }
  // Confirming with an empty name chooses nothing and keeps the dialog.
  bool stillOpen = false;
  Script({[&] { TypeInto("filedlg_path_edit", root_); }, [&] { TypeInto("filedlg_name_edit", "   "); },
          [&] { ClickControl(DialogWindow(), "filedlg_ok_btn"); },
          [&] {
            stillOpen = DialogWindow() != nullptr && Dialog()->ChosenPath().empty();
            Key(VK_ESCAPE);
          }});
  CDuiString path("stale");
  EXPECT_FALSE(ShowSaveFileDialog(kProfileFileFilter, nullptr, path));
  EXPECT_TRUE(stillOpen);
  EXPECT_TRUE(path.IsEmpty());
}

TEST_F(FileDialog, OpenWantsAnExistingFileAndTakesWildcardsAsTheType) {
  std::string error;
  Names listed;
  Script({[&] { TypeInto("filedlg_path_edit", root_); },
          [&] { TypeInto("filedlg_name_edit", "missing.json"); },
          [&] {
            error = Dialog()->ErrorKey();
            TypeInto("filedlg_name_edit", "*.MAC");
          },
          [&] {
            listed = Dialog()->ListedNames();
            TypeInto("filedlg_name_edit", "Zdir");  // a folder name opens the folder
          },
          [&] {
            EXPECT_EQ(Dialog()->CurrentFolder(), root_ + "/Zdir");
            EXPECT_EQ(NameField(), "");
            Key(VK_ESCAPE);
          }});
  CDuiString path;
  EXPECT_FALSE(ShowOpenFileDialog(kProfileFileFilter, nullptr, path));
  EXPECT_EQ(error, "filedlg_file_not_found");
  EXPECT_EQ(listed, (Names{"sub/", "Zdir/", "c.mac"}));
}

TEST_F(FileDialog, SaveAddsTheTypesExtensionAndAsksBeforeReplacing) {
  struct Case {
    const char* what;
    const char* name;
    bool exists;
    std::string chosen;
  } cases[] = {
      {"a new name gets .json", "export", false, root_ + "/export.json"},
      {"a name with its own extension keeps it", "export.txt", false, root_ + "/export.txt"},
      {"an existing file needs a second confirmation", "a", true, root_ + "/a.json"},
      {"a name in a sub-folder", "sub/new", false, root_ + "/sub/new.json"},
  };
  for (const Case& c : cases) {
    std::string warned;
    bool openAfterFirst = false;
    Script({[&] { TypeInto("filedlg_path_edit", root_); }, [&] { TypeInto("filedlg_name_edit", c.name); },
            [&] {
              openAfterFirst = DialogWindow() != nullptr;
              if (openAfterFirst) {
                warned = Dialog()->ErrorKey();
                ClickControl(DialogWindow(), "filedlg_ok_btn");
              }
            }});
    CDuiString path;
    EXPECT_TRUE(ShowSaveFileDialog(kProfileFileFilter, nullptr, path)) << c.what;
    EXPECT_EQ(path, c.chosen) << c.what;
    EXPECT_EQ(openAfterFirst, c.exists) << c.what;
    if (c.exists) {
      EXPECT_EQ(warned, "filedlg_overwrite_text") << c.what;
    }
  }
  // A save into a folder that does not exist is refused.
  std::string error;
  Script({[&] { TypeInto("filedlg_path_edit", root_); },
          [&] { TypeInto("filedlg_name_edit", "nowhere/x.json"); },
          [&] {
            error = Dialog()->ErrorKey();
            Key(VK_ESCAPE);
          }});
  CDuiString path;
  EXPECT_FALSE(ShowSaveFileDialog(kProfileFileFilter, nullptr, path));
  EXPECT_EQ(error, "filedlg_path_not_found");
}

}  // namespace
}  // namespace ostrel::test
