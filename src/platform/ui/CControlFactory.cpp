#include "platform/ui/CControlFactory.h"

#include <cctype>

#include "platform/ui/CButtonUI.h"
#include "platform/ui/CCheckBoxUI.h"
#include "platform/ui/CColorPaletteUI.h"
#include "platform/ui/CComboUI.h"
#include "platform/ui/CContainerUI.h"
#include "platform/ui/CControlUI.h"
#include "platform/ui/CEditUI.h"
#include "platform/ui/CHorizontalLayoutUI.h"
#include "platform/ui/CLabelUI.h"
#include "platform/ui/CListContainerElementUI.h"
#include "platform/ui/CListLabelElementUI.h"
#include "platform/ui/CListUI.h"
#include "platform/ui/COptionUI.h"
#include "platform/ui/CProgressUI.h"
#include "platform/ui/CRichEditUI.h"
#include "platform/ui/CScrollBarUI.h"
#include "platform/ui/CSliderUI.h"
#include "platform/ui/CTabLayoutUI.h"
#include "platform/ui/CTextUI.h"
#include "platform/ui/CTileLayoutUI.h"
#include "platform/ui/CVerticalLayoutUI.h"

namespace ostrel {

namespace {
template <typename T>
CControlUI* Make() {
  return new T;
}

struct BuiltinClass {
  const char* name;
  CreateClass create;
};

// The element names layouts use for the toolkit's own classes.
constexpr BuiltinClass kBuiltins[] = {
    {"Control", &Make<CControlUI>},
    {"Container", &Make<CContainerUI>},
    {"VerticalLayout", &Make<CVerticalLayoutUI>},
    {"HorizontalLayout", &Make<CHorizontalLayoutUI>},
    {"TabLayout", &Make<CTabLayoutUI>},
    {"TileLayout", &Make<CTileLayoutUI>},
    {"Label", &Make<CLabelUI>},
    {"Text", &Make<CTextUI>},
    {"Button", &Make<CButtonUI>},
    {"Option", &Make<COptionUI>},
    {"CheckBox", &Make<CCheckBoxUI>},
    {"ScrollBar", &Make<CScrollBarUI>},
    {"Edit", &Make<CEditUI>},
    {"RichEdit", &Make<CRichEditUI>},
    {"Progress", &Make<CProgressUI>},
    {"Slider", &Make<CSliderUI>},
    {"Combo", &Make<CComboUI>},
    {"List", &Make<CListUI>},
    {"ListLabelElement", &Make<CListLabelElementUI>},
    {"ListContainerElement", &Make<CListContainerElementUI>},
    {"ColorPalette", &Make<CColorPaletteUI>},
};
}  // namespace

CControlFactory* CControlFactory::GetInstance() {
  static CControlFactory* factory = new CControlFactory();  // lives for the whole process
  return factory;
}

std::string CControlFactory::Key(const char* name) {
  std::string key(name ? name : "");
  for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return key;
}

CControlUI* CControlFactory::CreateBuiltinControl(const char* pstrClassName) {
  if (!pstrClassName) return nullptr;
  for (const BuiltinClass& b : kBuiltins)
    if (CDuiString(b.name).CompareNoCase(pstrClassName) == 0) return b.create();
  return nullptr;
}

CControlUI* CControlFactory::CreateControl(const char* pstrClassName) const {
  if (CControlUI* builtin = CreateBuiltinControl(pstrClassName)) return builtin;
  auto it = m_registered.find(Key(pstrClassName));
  return it == m_registered.end() ? nullptr : it->second();
}

void CControlFactory::RegistControl(const char* pstrClassName, CreateClass pFunc) {
  if (!pstrClassName || !*pstrClassName || !pFunc) return;
  m_registered[Key(pstrClassName)] = pFunc;
}

void CControlFactory::UnregistControl(const char* pstrClassName) { m_registered.erase(Key(pstrClassName)); }

bool CControlFactory::IsRegistered(const char* pstrClassName) const {
  return m_registered.count(Key(pstrClassName)) != 0;
}

}  // namespace ostrel
