#include "platform/ui/UIResources.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/ui/CControlUI.h"

namespace ostrel {

namespace {
void ParseInto(TDrawInfo* info, const char* text) {
  if (!text || !*text) return;
  if (!std::strchr(text, '=')) {
    info->sImageName = text;
    return;
  }
  const char* p = text;
  while (*p) {
    while (*p == ' ' || *p == '\t') ++p;
    if (!*p) break;
    const char* keyStart = p;
    while (*p && *p != '=' && *p != ' ') ++p;
    std::string key(keyStart, p);
    while (*p == ' ') ++p;
    if (*p != '=') break;
    ++p;
    while (*p == ' ') ++p;
    char quote = *p;
    std::string value;
    if (quote == '\'' || quote == '"') {
      ++p;
      const char* v = p;
      while (*p && *p != quote) ++p;
      value.assign(v, p);
      if (*p) ++p;
    } else {
      const char* v = p;
      while (*p && *p != ' ') ++p;
      value.assign(v, p);
    }
    CDuiString k(key);
    auto is = [&](const char* n) { return k.CompareNoCase(n) == 0; };
    if (is("file") || is("res")) {
      info->sImageName = value;
      info->bFromRes = is("res");
    } else if (is("restype")) {
      info->sResType = value;
    } else if (is("dest")) {
      info->rcDest = CControlUI::ParseRect(value.c_str());
      info->bDest = true;
    } else if (is("source")) {
      info->rcSource = CControlUI::ParseRect(value.c_str());
      info->bSource = true;
    } else if (is("corner")) {
      info->rcCorner = CControlUI::ParseRect(value.c_str());
    } else if (is("mask")) {
      const char* m = value.c_str();
      if (*m == '#') ++m;
      if (m[0] == '0' && (m[1] == 'x' || m[1] == 'X')) m += 2;
      info->dwMask = static_cast<DWORD>(std::strtoul(m, nullptr, 16));
    } else if (is("fade")) {
      int fade = std::atoi(value.c_str());
      info->uFade = static_cast<BYTE>(fade < 0 ? 0 : (fade > 255 ? 255 : fade));
    } else if (is("hole")) {
      info->bHole = CControlUI::ParseBool(value.c_str());
    } else if (is("xtiled")) {
      info->bTiledX = CControlUI::ParseBool(value.c_str());
    } else if (is("ytiled")) {
      info->bTiledY = CControlUI::ParseBool(value.c_str());
    } else if (is("hsl")) {
      info->bHSL = CControlUI::ParseBool(value.c_str());
    }
  }
}
}  // namespace

TDrawInfo TDrawInfo::Parse(const char* image, const char* modify) {
  TDrawInfo info;
  info.sDrawString = image ? image : "";
  ParseInto(&info, image);
  ParseInto(&info, modify);
  return info;
}

}  // namespace ostrel
