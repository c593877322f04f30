#pragma once
// Builds a tree of controls from a layout file (pugixml).
//
// The root element "Window" carries the window's attributes (size, caption,
// sizebox, mininfo, maxinfo, roundcorner, defaultfontcolor ...) and may hold
// Font, Default (attributes for every control of a class), Style (named
// attribute lists for the "style" attribute) and Image elements before the
// controls. "Include" elements build another layout file in place
// ("source", "count"). Element names the toolkit does not know go to the
// builder callback, then to the control factory's registrations. Failures
// are written to the debug stream and give null, never a crash.

#include <memory>
#include <string>
#include <vector>

#include "platform/ui/CDuiString.h"
#include "platform/ui/IDialogBuilderCallback.h"

namespace ostrel {

class CControlUI;
class CPaintManagerUI;

class CDialogBuilder {
 public:
  CDialogBuilder();
  ~CDialogBuilder();
  CDialogBuilder(const CDialogBuilder&) = delete;
  CDialogBuilder& operator=(const CDialogBuilder&) = delete;

  // `xml` is a resource id of the index ("XML_MAIN"), a file of the skin
  // folder (backslashes accepted), an absolute path, or layout text
  // starting with '<'. The built controls are added to pParent when given;
  // the result is the first top-level control.
  CControlUI* Create(const char* xml, const char* type = nullptr, IDialogBuilderCallback* pCallback = nullptr,
                     CPaintManagerUI* pManager = nullptr, CControlUI* pParent = nullptr);
  // Builds again from the layout loaded by the last Create.
  CControlUI* Create(IDialogBuilderCallback* pCallback = nullptr, CPaintManagerUI* pManager = nullptr,
                     CControlUI* pParent = nullptr);

  // The file the last Create read ("" for text), and whether it parsed.
  const CDuiString& GetSourceName() const { return m_sSource; }
  bool IsLoaded() const;

 private:
  struct Impl;
  bool Load(const char* xml);
  CControlUI* Build(IDialogBuilderCallback* pCallback, CPaintManagerUI* pManager, CControlUI* pParent);

  std::unique_ptr<Impl> m_impl;
  CDuiString m_sSource;
  IDialogBuilderCallback* m_pCallback = nullptr;
};

}  // namespace ostrel
