#include "platform/ui/CResourceManager.h"

#include <pugixml.hpp>

#include "platform/os/DebugLog.h"
#include "platform/ui/CControlUI.h"
#include "platform/ui/CPaintManagerUI.h"

namespace ostrel {

namespace {
CControlUI* MarkText(CControlUI* c, void*) {
  if (c->IsResourceText()) {
    // A new text may need another size, so the parent lays out again.
    c->NeedParentUpdate();
    c->Invalidate();
  }
  return nullptr;
}

bool LoadXmlFile(pugi::xml_document* doc, const CDuiString& path, const char* what) {
  pugi::xml_parse_result r = doc->load_file(path.GetData(), pugi::parse_default, pugi::encoding_auto);
  if (r) return true;
  DebugPrintf("ui: %s '%s' not loaded: %s at offset %td", what, path.GetData(), r.description(), r.offset);
  return false;
}
}  // namespace

CResourceManager* CResourceManager::GetInstance() {
  static CResourceManager* instance = new CResourceManager();  // lives for the whole process
  return instance;
}

void CResourceManager::Release() {
  m_xmls.clear();
  m_images.clear();
  m_texts.clear();
  m_sLanguage.Empty();
  m_pQuerypInterface = nullptr;
}

bool CResourceManager::LoadResource(const char* pstrXml, const char*) {
  pugi::xml_document doc;
  if (!LoadXmlFile(&doc, CPaintManagerUI::ResolveResourceFile(pstrXml), "resource index")) return false;
  for (pugi::xpath_node xn : doc.select_nodes("//*[@id]")) {
    pugi::xml_node n = xn.node();
    const char* path = n.attribute("path").as_string(n.attribute("file").as_string(""));
    CDuiString kind = n.name();
    CDuiString parent = n.parent().name();
    bool image = kind.CompareNoCase("image") == 0 || kind.CompareNoCase("img") == 0 ||
                 parent.CompareNoCase("image") == 0 || parent.CompareNoCase("img") == 0;
    (image ? m_images : m_xmls)[n.attribute("id").as_string()] = path;
  }
  return true;
}

CDuiString CResourceManager::GetXmlPath(const char* pstrId) const {
  auto it = m_xmls.find(pstrId ? pstrId : "");
  return it == m_xmls.end() ? CDuiString() : it->second;
}

CDuiString CResourceManager::GetImagePath(const char* pstrId) const {
  auto it = m_images.find(pstrId ? pstrId : "");
  return it == m_images.end() ? CDuiString() : it->second;
}

bool CResourceManager::LoadLanguage(const char* pstrLanguageFile) {
  pugi::xml_document doc;
  if (!LoadXmlFile(&doc, CPaintManagerUI::ResolveResourceFile(pstrLanguageFile), "language file"))
    return false;
  std::map<CDuiString, CDuiString> texts;
  for (pugi::xpath_node xn : doc.select_nodes("//*[@id]")) {
    pugi::xml_node n = xn.node();
    pugi::xml_attribute chosen;
    if (!m_sLanguage.IsEmpty()) chosen = n.attribute(m_sLanguage.GetData());
    if (!chosen) chosen = n.attribute("value");
    if (!chosen) chosen = n.attribute("text");
    texts[n.attribute("id").as_string()] = chosen ? chosen.as_string() : n.text().as_string();
  }
  m_texts.swap(texts);
  return true;
}

CDuiString CResourceManager::GetText(const char* pstrId, const char* pstrType) const {
  if (!pstrId || !*pstrId) return CDuiString();
  if (m_pQuerypInterface) {
    CDuiString answer = m_pQuerypInterface->QueryControlText(pstrId, pstrType);
    if (!answer.IsEmpty()) return answer;
  }
  auto it = m_texts.find(pstrId);
  return it == m_texts.end() ? CDuiString(pstrId) : it->second;
}

void CResourceManager::ReloadText() {
  for (CPaintManagerUI* pm : CPaintManagerUI::GetPaintManagers()) {
    if (CControlUI* root = pm->GetRoot()) root->FindControl(MarkText, nullptr, UIFIND_ALL);
    pm->NeedUpdate();
    pm->Invalidate();
  }
}

}  // namespace ostrel
