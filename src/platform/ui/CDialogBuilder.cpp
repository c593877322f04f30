#include "platform/ui/CDialogBuilder.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <pugixml.hpp>
#include <sstream>

#include "platform/os/DebugLog.h"
#include "platform/ui/CContainerUI.h"
#include "platform/ui/CControlFactory.h"
#include "platform/ui/CControlUI.h"
#include "platform/ui/CPaintManagerUI.h"
#include "platform/ui/CResourceManager.h"

namespace ostrel {

namespace {

// Layout files being built, innermost last: an Include of one of them is a cycle.
thread_local std::vector<std::string> g_includeStack;
constexpr std::size_t kMaxIncludeDepth = 16;
// Guards against layouts nested deeper than any real window.
constexpr int kMaxElementDepth = 64;

bool Is(const char* a, const char* b) { return CDuiString(a).CompareNoCase(b) == 0; }

int LineOf(const std::string& text, std::ptrdiff_t offset) {
  if (offset < 0) return 0;
  std::size_t end = std::min<std::size_t>(static_cast<std::size_t>(offset), text.size());
  return 1 +
         static_cast<int>(std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(end), '\n'));
}

bool ReadWhole(const std::string& path, std::string* out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream ss;
  ss << in.rdbuf();
  *out = ss.str();
  return true;
}

void ApplyWindowAttributes(pugi::xml_node root, CPaintManagerUI* pm) {
  for (pugi::xml_attribute a : root.attributes()) {
    const char* n = a.name();
    const char* v = a.value();
    if (Is(n, "size")) {
      SIZE s = CControlUI::ParseSize(v);
      pm->SetInitSize(s.cx, s.cy);
    } else if (Is(n, "sizebox")) {
      pm->SetSizeBox(CControlUI::ParseRect(v));
    } else if (Is(n, "caption")) {
      pm->SetCaptionRect(CControlUI::ParseRect(v));
    } else if (Is(n, "roundcorner")) {
      SIZE s = CControlUI::ParseSize(v);
      pm->SetRoundCorner(s.cx, s.cy);
    } else if (Is(n, "mininfo")) {
      SIZE s = CControlUI::ParseSize(v);
      pm->SetMinInfo(s.cx, s.cy);
    } else if (Is(n, "maxinfo")) {
      SIZE s = CControlUI::ParseSize(v);
      pm->SetMaxInfo(s.cx, s.cy);
    } else if (Is(n, "defaultfontcolor")) {
      pm->SetDefaultFontColor(CControlUI::ParseColor(v));
    } else if (Is(n, "disabledfontcolor")) {
      pm->SetDefaultDisabledColor(CControlUI::ParseColor(v));
    } else if (Is(n, "bktrans") || Is(n, "layered")) {
      pm->SetBackgroundTransparent(CControlUI::ParseBool(v));
    } else if (Is(n, "showdirty") || Is(n, "alpha") || Is(n, "opacity") || Is(n, "trans")) {
      pm->AddWindowCustomAttribute(n, v);
    } else {
      DebugPrintf("ui: unknown window attribute '%s'", n);
    }
  }
}

// Font, Default, Style and Image elements: resources, not controls.
bool ApplyResourceElement(pugi::xml_node node, CPaintManagerUI* pm) {
  const char* name = node.name();
  if (Is(name, "Font")) {
    if (!pm) return true;
    int id = node.attribute("id").as_int(-1);
    const char* face = node.attribute("name").as_string("");
    int size = node.attribute("size").as_int(12);
    bool bold = CControlUI::ParseBool(node.attribute("bold").as_string());
    bool underline = CControlUI::ParseBool(node.attribute("underline").as_string());
    bool italic = CControlUI::ParseBool(node.attribute("italic").as_string());
    bool shared = CControlUI::ParseBool(node.attribute("shared").as_string());
    bool isDefault = CControlUI::ParseBool(node.attribute("default").as_string());
    if (id >= 0) pm->AddFont(id, face, size, bold, underline, italic, shared);
    if (isDefault) pm->SetDefaultFont(face, size, bold, underline, italic, shared);
    return true;
  }
  if (Is(name, "Default")) {
    if (pm)
      pm->AddDefaultAttributeList(node.attribute("name").as_string(), node.attribute("value").as_string(),
                                  CControlUI::ParseBool(node.attribute("shared").as_string()));
    return true;
  }
  if (Is(name, "Style")) {
    if (pm)
      pm->AddStyle(node.attribute("name").as_string(), node.attribute("value").as_string(),
                   CControlUI::ParseBool(node.attribute("shared").as_string()));
    return true;
  }
  if (Is(name, "Image")) {
    // Loaded on first use; listing it only warms the cache.
    if (pm)
      CPaintManagerUI::GetImageEx(node.attribute("name").as_string(), node.attribute("restype").as_string());
    return true;
  }
  return false;
}

}  // namespace

struct CDialogBuilder::Impl {
  pugi::xml_document doc;
  bool loaded = false;
  std::string text;

  CControlUI* Parse(pugi::xml_node parent, CControlUI* pParent, CPaintManagerUI* pm,
                    IDialogBuilderCallback* cb, const CDuiString& source, int depth);
};

CControlUI* CDialogBuilder::Impl::Parse(pugi::xml_node parent, CControlUI* pParent, CPaintManagerUI* pm,
                                        IDialogBuilderCallback* cb, const CDuiString& source, int depth) {
  CControlUI* first = nullptr;
  if (depth > kMaxElementDepth) {
    DebugPrintf("ui: layout '%s' nests deeper than %d elements; the rest is left out", source.GetData(),
                kMaxElementDepth);
    return nullptr;
  }
  auto* container = pParent ? static_cast<IContainerUI*>(pParent->GetInterface("IContainer")) : nullptr;
  for (pugi::xml_node node : parent.children()) {
    if (node.type() != pugi::node_element) continue;
    const char* cls = node.name();
    if (ApplyResourceElement(node, pm)) continue;
    if (Is(cls, "Include")) {
      int count = std::clamp(node.attribute("count").as_int(1), 0, 1000);
      const char* src = node.attribute("source").as_string("");
      for (int i = 0; i < count; ++i) {
        CDialogBuilder sub;
        CControlUI* built = sub.Create(src, nullptr, cb, pm, pParent);
        if (!built) break;
        if (!first) first = built;
      }
      continue;
    }
    CControlUI* control = CControlFactory::CreateBuiltinControl(cls);
    if (!control && cb) control = cb->CreateControl(cls);
    if (!control) control = CControlFactory::GetInstance()->CreateControl(cls);
    if (!control) {
      DebugPrintf("ui: layout '%s' line %d: unknown control class '%s'", source.GetData(),
                  LineOf(text, node.offset_debug()), cls);
      continue;
    }
    // Children first, so that attributes such as a tab's "selectedid" see them.
    if (node.first_child()) Parse(node, control, pm, cb, source, depth + 1);
    if (pm) {
      control->SetManager(pm, nullptr, false);
      if (const char* defaults = pm->GetDefaultAttributeList(cls)) control->ApplyAttributeList(defaults);
    }
    for (pugi::xml_attribute a : node.attributes()) control->SetAttribute(a.name(), a.value());
    if (pParent) {
      bool added = false;
      if (container) {
        added = container->Add(control);
      }
      if (!added) {
        DebugPrintf("ui: layout '%s' line %d: '%s' cannot hold children; '%s' left out", source.GetData(),
                    LineOf(text, node.offset_debug()), pParent->GetClass(), cls);
        delete control;
        continue;
      }
    } else if (first) {
      DebugPrintf("ui: layout '%s' line %d: more than one root control; '%s' left out", source.GetData(),
                  LineOf(text, node.offset_debug()), cls);
      delete control;
      continue;
    }
    if (!first) first = control;
  }
  return first;
}

CDialogBuilder::CDialogBuilder() : m_impl(std::make_unique<Impl>()) {}
CDialogBuilder::~CDialogBuilder() = default;

bool CDialogBuilder::IsLoaded() const { return m_impl->loaded; }

bool CDialogBuilder::Load(const char* xml) {
  m_impl->loaded = false;
  m_impl->doc.reset();
  std::string input = xml ? xml : "";
  std::size_t start = input.find_first_not_of(" \t\r\n");
  if (start != std::string::npos && input[start] == '<') {
    m_sSource = "(text)";
    m_impl->text = input;
  } else {
    CDuiString file = CResourceManager::GetInstance()->GetXmlPath(input.c_str());
    if (file.IsEmpty()) file = input;
    CDuiString path = CPaintManagerUI::ResolveResourceFile(file);
    m_sSource = path;
    if (!ReadWhole(path.str(), &m_impl->text)) {
      DebugPrintf("ui: layout '%s' cannot be read", path.GetData());
      return false;
    }
  }
  pugi::xml_parse_result r =
      m_impl->doc.load_buffer(m_impl->text.data(), m_impl->text.size(), pugi::parse_default);
  if (!r) {
    DebugPrintf("ui: layout '%s' line %d: %s", m_sSource.GetData(), LineOf(m_impl->text, r.offset),
                r.description());
    return false;
  }
  m_impl->loaded = true;
  return true;
}

CControlUI* CDialogBuilder::Create(const char* xml, const char*, IDialogBuilderCallback* pCallback,
                                   CPaintManagerUI* pManager, CControlUI* pParent) {
  // Includes are resolved relative to the same index and folder; a file
  // already being built is a cycle.
  std::string key;
  std::string input = xml ? xml : "";
  if (!input.empty() && input.find('<') == std::string::npos) {
    CDuiString file = CResourceManager::GetInstance()->GetXmlPath(input.c_str());
    key = CPaintManagerUI::ResolveResourceFile(file.IsEmpty() ? input.c_str() : file.GetData()).str();
    if (std::find(g_includeStack.begin(), g_includeStack.end(), key) != g_includeStack.end()) {
      DebugPrintf("ui: layout '%s' includes itself (through %s); the include is left out", key.c_str(),
                  g_includeStack.back().c_str());
      return nullptr;
    }
    if (g_includeStack.size() >= kMaxIncludeDepth) {
      DebugPrintf("ui: layout '%s' is included more than %zu levels deep; left out", key.c_str(),
                  kMaxIncludeDepth);
      return nullptr;
    }
  }
  if (!Load(xml)) return nullptr;
  if (!key.empty()) g_includeStack.push_back(key);
  CControlUI* result = Build(pCallback, pManager, pParent);
  if (!key.empty()) g_includeStack.pop_back();
  return result;
}

CControlUI* CDialogBuilder::Create(IDialogBuilderCallback* pCallback, CPaintManagerUI* pManager,
                                   CControlUI* pParent) {
  if (!m_impl->loaded) return nullptr;
  return Build(pCallback, pManager, pParent);
}

CControlUI* CDialogBuilder::Build(IDialogBuilderCallback* pCallback, CPaintManagerUI* pManager,
                                  CControlUI* pParent) {
  m_pCallback = pCallback;
  pugi::xml_node root = m_impl->doc.document_element();
  if (!root) {
    DebugPrintf("ui: layout '%s' is empty", m_sSource.GetData());
    return nullptr;
  }
  pugi::xml_node from = m_impl->doc;
  if (Is(root.name(), "Window")) {
    if (pManager) ApplyWindowAttributes(root, pManager);
    from = root;
  }
  CControlUI* result = m_impl->Parse(from, pParent, pManager, pCallback, m_sSource, 0);
  if (!result && !pParent) DebugPrintf("ui: layout '%s' holds no control", m_sSource.GetData());
  return result;
}

}  // namespace ostrel
