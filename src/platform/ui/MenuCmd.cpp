#include "platform/ui/MenuCmd.h"

#include <cstring>
#include <new>

#include "platform/ui/CPaintManagerUI.h"

namespace ostrel {

namespace {
template <std::size_t N>
void CopyCut(char (&to)[N], const char* from) {
  std::strncpy(to, from ? from : "", N - 1);
  to[N - 1] = '\0';
}
}  // namespace

MenuCmd* NewMenuCmd(const char* name, const char* userData, const char* text, bool checked) {
  auto* cmd = new MenuCmd();
  CopyCut(cmd->szName, name);
  CopyCut(cmd->szUserData, userData);
  CopyCut(cmd->szText, text);
  cmd->bChecked = checked ? TRUE : FALSE;
  return cmd;
}

// Records handed across windows are the menus' only kind.
void CPaintManagerUI::DeletePtr(void* ptr) { delete static_cast<MenuCmd*>(ptr); }

}  // namespace ostrel
