#pragma once
// A one-line text field edited in place: caret, selection (mouse, Shift,
// Ctrl+A), clipboard, password mask, placeholder text, a maximum length in
// characters, digits only with an optional minimum and maximum (applied
// when the field loses focus or Enter is pressed). Raises "textchanged"
// and "return".

#include "platform/ui/CLabelUI.h"

namespace ostrel {

class CEditUI : public CLabelUI {
 public:
  CEditUI();
  ~CEditUI() override;
  const char* GetClass() const override { return "EditUI"; }
  void* GetInterface(const char* pstrName) override;
  UINT GetControlFlags() const override;
  int GetCursor() const override {
    return m_nCursor == 32512 ? 32513 : m_nCursor;
  }  // text fields show the I-beam

  void SetText(const char* pstrText) override;
  CDuiString GetText() const override { return m_sText; }
  void SetEnabled(bool bEnable = true) override;
  void SetMaxChar(UINT uMax);
  UINT GetMaxChar() const { return m_uMaxChar; }
  void SetReadOnly(bool bReadOnly);
  bool IsReadOnly() const { return m_bReadOnly; }
  void SetPasswordMode(bool bPasswordMode);
  bool IsPasswordMode() const { return m_bPasswordMode; }
  void SetPasswordChar(char cPasswordChar) { m_cPasswordChar = cPasswordChar; }
  void SetNumberOnly(bool bNumberOnly) { m_bDigitsOnly = bNumberOnly; }
  bool IsNumberOnly() const { return m_bDigitsOnly; }
  void SetMinNumber(int nMin);
  void SetMaxNumber(int nMax);
  int GetMinNumber() const { return m_nMinNumber; }
  int GetMaxNumber() const { return m_nMaxNumber; }
  void SetPromptText(const char* pstrText);
  CDuiString GetPromptText() const;
  void SetPromptTextColor(DWORD dwColor) { m_dwPromptColor = dwColor; }

  // Byte offsets into the UTF-8 text.
  void SetSel(int nStart, int nEnd);
  void SetSelAll() { SetSel(0, -1); }
  void SetReplaceSel(const char* pstrText);
  int GetCaret() const { return m_nCaret; }
  int GetSelStart() const { return m_nCaret < m_nAnchor ? m_nCaret : m_nAnchor; }
  int GetSelEnd() const { return m_nCaret < m_nAnchor ? m_nAnchor : m_nCaret; }
  CDuiString GetSelText() const;

  void DoEvent(TEventUI& event) override;
  void SetAttribute(const char* pstrName, const char* pstrValue) override;
  void PaintStatusImage(HDC hDC) override;
  void PaintText(HDC hDC) override;

 protected:
  virtual bool IsMultiLine() const { return false; }
  // What is laid out: the text, or its mask in password mode.
  CDuiString ShownText() const;
  RECT TextBox() const;
  UINT EditStyle() const;
  int HitTest(POINT pt) const;
  // Inserts typed or pasted text at the selection, within the limits.
  bool InsertText(const std::string& text);
  void DeleteSelection();
  void MoveCaret(int index, bool extend);
  void EnsureCaretVisible();
  void ApplyNumberLimits();
  void TextChanged();
  void OnKeyDown(TEventUI& event);

  UINT m_uMaxChar = 255;
  bool m_bReadOnly = false;
  bool m_bPasswordMode = false;
  char m_cPasswordChar = '*';
  bool m_bDigitsOnly = false;
  bool m_bHasMin = false;
  bool m_bHasMax = false;
  int m_nMinNumber = 0;
  int m_nMaxNumber = 0;
  CDuiString m_sPromptText;
  DWORD m_dwPromptColor = 0xFF666666;
  DWORD m_dwSelectColor = 0x800099FF;
  UINT m_uButtonState = 0;
  int m_nCaret = 0;
  int m_nAnchor = 0;
  int m_nScrollX = 0;
  int m_nScrollY = 0;
  bool m_bCaretShown = true;
  bool m_bSelecting = false;
  CDuiString m_sNormalImage;
  CDuiString m_sHotImage;
  CDuiString m_sFocusedImage;
  CDuiString m_sDisabledImage;
};

}  // namespace ostrel
