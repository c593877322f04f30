#include "shell/LanguageSwitcher.h"

#include "platform/os/DebugLog.h"
#include "platform/ui/CControlUI.h"
#include "platform/ui/CPaintManagerUI.h"
#include "platform/ui/CResourceManager.h"
#include "platform/ui/WindowApi.h"
#include "shell/LanguageConfig.h"
#include "shell/LanguageFonts.h"
#include "shell/LanguageStore.h"

namespace ostrel {

bool LanguageSwitcher::SetLanguage(int index, CPaintManagerUI* pm, const std::vector<HWND>& redraw) {
  if (index == current_) return false;
  if (auto face = LanguageFonts::FaceFor(index)) LanguageFonts::Apply(pm, *face);
  current_ = index;

  CResourceManager* rm = CResourceManager::GetInstance();
  std::optional<LanguageEntry> entry = LanguageConfig::Entry(index);
  if (entry) {
    rm->SetLanguage(entry->name.c_str());
    rm->LoadLanguage(entry->file.c_str());
  } else {
    DebugPrintf("Language.config has no language %d", index);
  }
  rm->ReloadText();
  // Without an entry there is no identifier: storing 0 would make the next
  // start fall back to the first language for no reason.
  if (entry) LanguageStore::StoreLanguageId(entry->id);

  if (pm) {
    pm->Invalidate();
    if (CControlUI* root = pm->GetRoot()) root->NeedUpdate();
    pm->NeedUpdate();
  }
  for (HWND h : redraw)
    if (h && IsWindow(h)) SendMessage(h, kLanguageMessage, 0, 0);
  return true;
}

}  // namespace ostrel
