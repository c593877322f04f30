#pragma once
// A toolkit window: an opaque handle in the window table, a message handler
// and the operations the program's windows use (create, show, modal, close,
// centre). Messages arrive with their Windows numbers.

#include "platform/ui/UIDefs.h"

namespace ostrel {

constexpr int CW_USEDEFAULT = static_cast<int>(0x80000000);
constexpr UINT IDOK = 1;
constexpr UINT IDCANCEL = 2;

class CWindowWnd {
 public:
  CWindowWnd() = default;
  virtual ~CWindowWnd();
  CWindowWnd(const CWindowWnd&) = delete;
  CWindowWnd& operator=(const CWindowWnd&) = delete;

  HWND GetHWND() const { return m_hWnd; }
  operator HWND() const { return m_hWnd; }  // NOLINT: the program passes windows as handles

  // Window classes need no registration here; kept so callers read as usual.
  bool RegisterWindowClass() { return true; }
  bool RegisterSuperclass() { return true; }

  HWND Create(HWND hwndParent, const char* pstrName, DWORD dwStyle, DWORD dwExStyle, const RECT& rc,
              void* hMenu = nullptr);
  HWND Create(HWND hwndParent, const char* pstrName, DWORD dwStyle, DWORD dwExStyle, int x = CW_USEDEFAULT,
              int y = CW_USEDEFAULT, int cx = CW_USEDEFAULT, int cy = CW_USEDEFAULT, void* hMenu = nullptr);
  HWND CreateDuiWindow(HWND hwndParent, const char* pstrWindowName, DWORD dwStyle = 0, DWORD dwExStyle = 0);

  void ShowWindow(bool bShow = true, bool bTakeFocus = true);
  // Runs a modal loop until the window is destroyed; the owner is disabled
  // meanwhile. The result is the code given to Close.
  UINT ShowModal();
  void Close(UINT nRet = IDOK);
  void CenterWindow();
  void SetIcon(UINT nRes) { icon_ = nRes; }
  UINT GetIcon() const { return icon_; }
  LRESULT SendMessage(UINT uMsg, WPARAM wParam = 0, LPARAM lParam = 0L);
  LRESULT PostMessage(UINT uMsg, WPARAM wParam = 0, LPARAM lParam = 0L);
  void ResizeClient(int cx = -1, int cy = -1);

  // Entry from the message loop.
  LRESULT WindowProcedure(UINT uMsg, WPARAM wParam, LPARAM lParam);

 protected:
  virtual const char* GetWindowClassName() const = 0;
  virtual const char* GetSuperClassName() const { return nullptr; }
  virtual UINT GetClassStyle() const { return 0; }
  virtual LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam);
  virtual void OnFinalMessage(HWND hWnd);

  HWND m_hWnd = nullptr;

 private:
  UINT icon_ = 0;
};

}  // namespace ostrel
