#pragma once
// The skin's resource index and language texts.
//
// The index ("res.xml") maps ids to files of the skin folder:
//   <Res><Xml id="XML_MAIN" path="main.xml"/><Image id="logo" path="common\logo.png"/></Res>
// Language files hold one element per text key:
//   <Language><Text id="message_text_22" value="..."/></Language>
// An element may instead carry one attribute per language name
// (<Text id="k" en="..." cn="..."/>), picked by SetLanguage.

#include <map>
#include <string>

#include "platform/ui/CDuiString.h"
#include "platform/ui/IQueryControlText.h"

namespace ostrel {

class CResourceManager {
 public:
  static CResourceManager* GetInstance();
  // Forgets the index, the texts and the query hook.
  void Release();

  // Loads the index from the resource folder (or an absolute path). `type`
  // is kept for callers written against resource types; files are the only kind.
  bool LoadResource(const char* pstrXml, const char* type = nullptr);
  CDuiString GetXmlPath(const char* pstrId) const;
  CDuiString GetImagePath(const char* pstrId) const;

  void SetLanguage(const char* pstrLanguage) { m_sLanguage = pstrLanguage ? pstrLanguage : ""; }
  const CDuiString& GetLanguage() const { return m_sLanguage; }
  // Replaces the texts with those of a language file; false (and a debug
  // line) when it cannot be read, keeping the old texts.
  bool LoadLanguage(const char* pstrLanguageFile);
  void AddText(const char* pstrId, const char* pstrText) { m_texts[pstrId] = pstrText ? pstrText : ""; }
  // The text of a key: the query hook first, then the language file; an
  // unknown key is shown as itself.
  CDuiString GetText(const char* pstrId, const char* pstrType = nullptr) const;
  bool HasText(const char* pstrId) const { return m_texts.count(pstrId) != 0; }
  // Every window lays out and repaints its language texts again.
  void ReloadText();

  void SetTextQueryInterface(IQueryControlText* pInterface) { m_pQuerypInterface = pInterface; }
  IQueryControlText* GetTextQueryInterface() const { return m_pQuerypInterface; }

 private:
  CResourceManager() = default;
  std::map<CDuiString, CDuiString> m_xmls;
  std::map<CDuiString, CDuiString> m_images;
  std::map<CDuiString, CDuiString> m_texts;
  CDuiString m_sLanguage;
  IQueryControlText* m_pQuerypInterface = nullptr;
};

}  // namespace ostrel
