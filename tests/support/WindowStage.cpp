#include "support/WindowStage.h"

#include <memory>

#include "platform/ui/CHeadlessBackend.h"
#include "platform/ui/CMessageLoop.h"
#include "platform/ui/CPaintManagerUI.h"
#include "platform/ui/CResourceManager.h"
#include "shell/RegisteredMessages.h"
#include "shell/ShellApplication.h"

namespace ostrel::test {

bool WindowStage::Begin(const std::string& skinFolder, bool virtualClock) {
  CMessageLoop& loop = CMessageLoop::Instance();
  loop.AttachCurrentThread();
  loop.Reset();
  auto backend = std::make_unique<CHeadlessBackend>();
  headless_ = backend.get();
  loop.SetBackend(std::move(backend));
  loop.UseVirtualClock(virtualClock);
  CResourceManager::GetInstance()->Release();
  std::string folder = skinFolder;
  if (folder.empty() || folder.back() != '/') folder += '/';
  CPaintManagerUI::SetResourcePath(folder.c_str());
  if (!CResourceManager::GetInstance()->LoadResource("res.xml")) return false;
  RegisteredMessages::RegisterInstanceMessage();
  RegisteredMessages::RegisterApplicationMessages();
  ShellApplication::RegisterControls();
  return true;
}

void WindowStage::End(HWND window) {
  if (window && IsWindow(window)) DestroyWindow(window);
  CMessageLoop::Instance().Reset();
  CResourceManager::GetInstance()->Release();
}

}  // namespace ostrel::test
