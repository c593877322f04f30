#include "platform/ui/CEditUI.h"

#include <cairo.h>

#include <algorithm>
#include <cstdlib>

#include "platform/ui/CMessageLoop.h"
#include "platform/ui/CPaintManagerUI.h"
#include "platform/ui/CRenderEngine.h"
#include "platform/ui/CResourceManager.h"

namespace ostrel {

namespace {
constexpr UINT kCaretTimer = 0x7E11;
constexpr UINT kCaretBlinkMs = 530;

int NextChar(const std::string& s, int i) {
  if (i >= static_cast<int>(s.size())) return static_cast<int>(s.size());
  ++i;
  while (i < static_cast<int>(s.size()) && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80) ++i;
  return i;
}

int PrevChar(const std::string& s, int i) {
  if (i <= 0) return 0;
  --i;
  while (i > 0 && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80) --i;
  return i;
}

int CountChars(const std::string& s) {
  int n = 0;
  for (unsigned char c : s)
    if ((c & 0xC0) != 0x80) ++n;
  return n;
}

std::string EncodeUtf8(char32_t cp) {
  std::string out;
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x110000) {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
  return out;
}

bool IsNumberText(const std::string& s) {
  if (s.empty()) return false;
  std::size_t i = s[0] == '-' ? 1 : 0;
  if (i == s.size()) return false;
  for (; i < s.size(); ++i)
    if (s[i] < '0' || s[i] > '9') return false;
  return true;
}
}  // namespace

CEditUI::CEditUI() {
  m_uTextStyle = DT_SINGLELINE | DT_VCENTER | DT_LEFT;
  m_rcTextPadding = RECT{4, 2, 4, 2};
}

CEditUI::~CEditUI() = default;

void* CEditUI::GetInterface(const char* pstrName) {
  if (CDuiString(pstrName).CompareNoCase("Edit") == 0) return this;
  return CLabelUI::GetInterface(pstrName);
}

UINT CEditUI::GetControlFlags() const { return IsEnabled() ? UIFLAG_SETCURSOR | UIFLAG_TABSTOP : 0; }

void CEditUI::SetText(const char* pstrText) {
  std::string text(pstrText ? pstrText : "");
  if (IsMultiLine() == false) text.erase(std::remove(text.begin(), text.end(), '\n'), text.end());
  if (m_sText == text) return;
  m_sText = text;
  int len = m_sText.GetLength();
  m_nCaret = m_nAnchor = len;
  m_nScrollX = m_nScrollY = 0;
  Invalidate();
}

void CEditUI::SetEnabled(bool bEnable) {
  CLabelUI::SetEnabled(bEnable);
  if (!IsEnabled()) m_uButtonState = 0;
}

void CEditUI::SetMaxChar(UINT uMax) { m_uMaxChar = uMax; }

void CEditUI::SetReadOnly(bool bReadOnly) {
  m_bReadOnly = bReadOnly;
  Invalidate();
}

void CEditUI::SetPasswordMode(bool bPasswordMode) {
  m_bPasswordMode = bPasswordMode;
  Invalidate();
}

void CEditUI::SetMinNumber(int nMin) {
  m_nMinNumber = nMin;
  m_bHasMin = true;
}

void CEditUI::SetMaxNumber(int nMax) {
  m_nMaxNumber = nMax;
  m_bHasMax = true;
}

void CEditUI::SetPromptText(const char* pstrText) {
  m_sPromptText = pstrText;
  Invalidate();
}

CDuiString CEditUI::GetPromptText() const {
  if (m_bResourceText) return CResourceManager::GetInstance()->GetText(m_sPromptText);
  return m_sPromptText;
}

void CEditUI::SetSel(int nStart, int nEnd) {
  int len = m_sText.GetLength();
  if (nEnd < 0 || nEnd > len) nEnd = len;
  nStart = std::clamp(nStart, 0, len);
  m_nAnchor = nStart;
  m_nCaret = nEnd;
  EnsureCaretVisible();
  Invalidate();
}

void CEditUI::SetReplaceSel(const char* pstrText) {
  if (InsertText(pstrText ? pstrText : "")) TextChanged();
}

CDuiString CEditUI::GetSelText() const { return m_sText.Mid(GetSelStart(), GetSelEnd() - GetSelStart()); }

CDuiString CEditUI::ShownText() const {
  if (!m_bPasswordMode) return m_sText;
  return CDuiString(std::string(CountChars(m_sText.str()), m_cPasswordChar));
}

RECT CEditUI::TextBox() const {
  RECT pad = GetTextPadding();
  return RECT{m_rcItem.left + pad.left, m_rcItem.top + pad.top, m_rcItem.right - pad.right,
              m_rcItem.bottom - pad.bottom};
}

UINT CEditUI::EditStyle() const {
  return IsMultiLine() ? (DT_WORDBREAK | DT_TOP)
                       : (DT_SINGLELINE | DT_LEFT | (m_uTextStyle & (DT_VCENTER | DT_BOTTOM)));
}

// Byte index in the shown text ↔ the real text (the mask has one byte per character).
static int ShownToReal(const std::string& real, bool password, int shownIndex) {
  if (!password) return shownIndex;
  int i = 0;
  for (int k = 0; k < shownIndex && i < static_cast<int>(real.size()); ++k) i = NextChar(real, i);
  return i;
}

static int RealToShown(const std::string& real, bool password, int realIndex) {
  if (!password) return realIndex;
  return CountChars(real.substr(0, realIndex));
}

int CEditUI::HitTest(POINT pt) const {
  RECT box = TextBox();
  CDuiString shown = ShownText();
  UINT style = EditStyle();
  int width = box.right - box.left;
  int y = pt.y - box.top + m_nScrollY;
  if (!IsMultiLine()) {
    RECT caret = CRenderEngine::GetCaretRect(m_pManager, shown, m_iFont, style, width, 0);
    int h = caret.bottom - caret.top;
    int top = (style & DT_VCENTER) ? ((box.bottom - box.top) - h) / 2 : 0;
    y = std::clamp<int>(pt.y - box.top - top, 0, std::max(0, h - 1));
  }
  int index =
      CRenderEngine::HitTestText(m_pManager, shown, m_iFont, style, width, pt.x - box.left + m_nScrollX, y);
  return ShownToReal(m_sText.str(), m_bPasswordMode, index);
}

void CEditUI::EnsureCaretVisible() {
  if (!m_pManager) return;
  RECT box = TextBox();
  int width = box.right - box.left;
  int height = box.bottom - box.top;
  if (width <= 0) return;
  RECT caret = CRenderEngine::GetCaretRect(m_pManager, ShownText(), m_iFont, EditStyle(), width,
                                           RealToShown(m_sText.str(), m_bPasswordMode, m_nCaret));
  if (IsMultiLine()) {
    if (caret.top < m_nScrollY) m_nScrollY = caret.top;
    if (caret.bottom > m_nScrollY + height) m_nScrollY = caret.bottom - height;
    return;
  }
  if (caret.left < m_nScrollX) m_nScrollX = caret.left;
  if (caret.left > m_nScrollX + width - 1) m_nScrollX = caret.left - width + 1;
  if (m_nScrollX < 0) m_nScrollX = 0;
}

void CEditUI::DeleteSelection() {
  int a = GetSelStart();
  int b = GetSelEnd();
  if (a == b) return;
  std::string s = m_sText.str();
  s.erase(a, b - a);
  m_sText = s;
  m_nCaret = m_nAnchor = a;
}

bool CEditUI::InsertText(const std::string& input) {
  if (m_bReadOnly) return false;
  std::string text;
  for (char c : input) {
    if (c == '\r') continue;
    if (c == '\n' && !IsMultiLine()) continue;
    text.push_back(c);
  }
  std::string current = m_sText.str();
  int a = GetSelStart();
  int b = GetSelEnd();
  std::string after = current.substr(0, a) + current.substr(b);
  if (m_bDigitsOnly) {
    // Digits, and a minus sign first when negative numbers are allowed.
    std::string digits;
    for (std::size_t i = 0; i < text.size(); ++i) {
      char c = text[i];
      bool minusOk =
          c == '-' && m_bHasMin && m_nMinNumber < 0 && a == 0 && i == 0 && (after.empty() || after[0] != '-');
      if ((c >= '0' && c <= '9') || minusOk) digits.push_back(c);
    }
    text = digits;
  }
  if (text.empty() && a == b) return false;
  // Keep whole characters within the limit.
  int room = static_cast<int>(m_uMaxChar) - CountChars(after);
  if (room <= 0 && a == b) return false;
  int cut = 0;
  for (int k = 0; k < std::max(room, 0) && cut < static_cast<int>(text.size()); ++k)
    cut = NextChar(text, cut);
  text.resize(cut);
  m_sText = current.substr(0, a) + text + current.substr(b);
  m_nCaret = m_nAnchor = a + static_cast<int>(text.size());
  return true;
}

void CEditUI::MoveCaret(int index, bool extend) {
  m_nCaret = std::clamp(index, 0, m_sText.GetLength());
  if (!extend) m_nAnchor = m_nCaret;
  m_bCaretShown = true;
  EnsureCaretVisible();
  Invalidate();
}

void CEditUI::ApplyNumberLimits() {
  if (!m_bDigitsOnly || (!m_bHasMin && !m_bHasMax)) return;
  std::string s = m_sText.str();
  if (!IsNumberText(s)) {
    if (s.empty()) return;  // an empty field stays empty
    s = std::to_string(m_bHasMin ? m_nMinNumber : 0);
  }
  long long v = std::strtoll(s.c_str(), nullptr, 10);
  if (m_bHasMin && v < m_nMinNumber) v = m_nMinNumber;
  if (m_bHasMax && v > m_nMaxNumber) v = m_nMaxNumber;
  std::string clamped = std::to_string(v);
  if (clamped != m_sText.str()) {
    m_sText = clamped;
    m_nCaret = m_nAnchor = m_sText.GetLength();
    TextChanged();
  }
}

void CEditUI::TextChanged() {
  EnsureCaretVisible();
  Invalidate();
  if (m_pManager) m_pManager->SendNotify(this, DUI_MSGTYPE_TEXTCHANGED);
}

void CEditUI::OnKeyDown(TEventUI& event) {
  bool shift = (event.wKeyState & MK_SHIFT) != 0;
  bool ctrl = (event.wKeyState & MK_CONTROL) != 0;
  const std::string& s = m_sText.str();
  switch (event.chKey) {
    case VK_LEFT:
      if (!shift && GetSelStart() != GetSelEnd()) {
        MoveCaret(GetSelStart(), false);
      } else {
        MoveCaret(PrevChar(s, m_nCaret), shift);
      }
      return;
    case VK_RIGHT:
      if (!shift && GetSelStart() != GetSelEnd()) {
        MoveCaret(GetSelEnd(), false);
      } else {
        MoveCaret(NextChar(s, m_nCaret), shift);
      }
      return;
    case VK_HOME:
      MoveCaret(0, shift);
      return;
    case VK_END:
      MoveCaret(m_sText.GetLength(), shift);
      return;
    case VK_UP:
    case VK_DOWN:
      if (IsMultiLine() && m_pManager) {
        RECT box = TextBox();
        RECT caret =
            CRenderEngine::GetCaretRect(m_pManager, ShownText(), m_iFont, EditStyle(), box.right - box.left,
                                        RealToShown(s, m_bPasswordMode, m_nCaret));
        int h = caret.bottom - caret.top;
        int y = event.chKey == VK_UP ? caret.top - h / 2 : caret.bottom + h / 2;
        if (y < 0) {
          MoveCaret(0, shift);
        } else {
          int index = CRenderEngine::HitTestText(m_pManager, ShownText(), m_iFont, EditStyle(),
                                                 box.right - box.left, caret.left, y);
          MoveCaret(ShownToReal(s, m_bPasswordMode, index), shift);
        }
      }
      return;
    case VK_BACK:
    case VK_DELETE:
      if (m_bReadOnly) return;
      if (GetSelStart() == GetSelEnd()) {
        if (event.chKey == VK_BACK) {
          if (m_nCaret == 0) return;
          m_nAnchor = PrevChar(s, m_nCaret);
        } else {
          if (m_nCaret >= m_sText.GetLength()) return;
          m_nAnchor = NextChar(s, m_nCaret);
        }
      }
      DeleteSelection();
      TextChanged();
      return;
    case VK_RETURN:
      if (IsMultiLine() && (GetControlFlags() & UIFLAG_WANTRETURN)) {
        if (InsertText("\n")) TextChanged();
        return;
      }
      ApplyNumberLimits();
      if (m_pManager) m_pManager->SendNotify(this, DUI_MSGTYPE_RETURN);
      return;
    default:
      break;
  }
  if (!ctrl) return;
  switch (event.chKey) {
    case 'A':
      SetSelAll();
      return;
    case 'C':
    case 'X':
      if (m_bPasswordMode || GetSelStart() == GetSelEnd()) return;
      CMessageLoop::Instance().Backend()->SetClipboardText(GetSelText().str());
      if (event.chKey == 'X' && !m_bReadOnly) {
        DeleteSelection();
        TextChanged();
      }
      return;
    case 'V':
      if (InsertText(CMessageLoop::Instance().Backend()->GetClipboardText())) TextChanged();
      return;
    default:
      return;
  }
}

void CEditUI::DoEvent(TEventUI& event) {
  if (!IsMouseEnabled() && event.Type > UIEVENT__MOUSEBEGIN && event.Type < UIEVENT__MOUSEEND) {
    CLabelUI::DoEvent(event);
    return;
  }
  switch (event.Type) {
    case UIEVENT_SETFOCUS:
      m_bFocused = true;
      m_bCaretShown = true;
      if (m_pManager) m_pManager->SetTimer(this, kCaretTimer, kCaretBlinkMs);
      Invalidate();
      return;
    case UIEVENT_KILLFOCUS:
      m_bFocused = false;
      m_bSelecting = false;
      m_nAnchor = m_nCaret;
      if (m_pManager) m_pManager->KillTimer(this, kCaretTimer);
      ApplyNumberLimits();
      Invalidate();
      return;
    case UIEVENT_TIMER:
      if (event.wParam == kCaretTimer) {
        m_bCaretShown = !m_bCaretShown;
        Invalidate();
        return;
      }
      break;
    case UIEVENT_BUTTONDOWN:
      if (!IsEnabled()) return;
      m_bSelecting = true;
      MoveCaret(HitTest(event.ptMouse), (event.wKeyState & MK_SHIFT) != 0);
      return;
    case UIEVENT_DBLCLICK:
      if (!IsEnabled()) return;
      SetSelAll();
      return;
    case UIEVENT_MOUSEMOVE:
      if (m_bSelecting) MoveCaret(HitTest(event.ptMouse), true);
      return;
    case UIEVENT_BUTTONUP:
      m_bSelecting = false;
      return;
    case UIEVENT_MOUSEENTER:
      if (IsEnabled()) {
        m_uButtonState |= UISTATE_HOT;
        Invalidate();
      }
      return;
    case UIEVENT_MOUSELEAVE:
      m_uButtonState &= ~UISTATE_HOT;
      Invalidate();
      return;
    case UIEVENT_KEYDOWN:
      if (IsEnabled()) {
        OnKeyDown(event);
        return;
      }
      break;
    case UIEVENT_CHAR:
      if (IsEnabled() && !m_bReadOnly && event.chKey >= 0x20 && event.chKey != 0x7F) {
        if (InsertText(EncodeUtf8(event.chKey))) TextChanged();
      }
      return;
    default:
      break;
  }
  CLabelUI::DoEvent(event);
}

void CEditUI::PaintStatusImage(HDC hDC) {
  const CDuiString* image = &m_sNormalImage;
  if (!IsEnabled() && !m_sDisabledImage.IsEmpty()) {
    image = &m_sDisabledImage;
  } else if (IsFocused() && !m_sFocusedImage.IsEmpty()) {
    image = &m_sFocusedImage;
  } else if ((m_uButtonState & UISTATE_HOT) && !m_sHotImage.IsEmpty()) {
    image = &m_sHotImage;
  }
  if (!image->IsEmpty()) DrawImage(hDC, *image);
}

void CEditUI::PaintText(HDC hDC) {
  RECT box = TextBox();
  RECT clip;
  if (!IntersectRect(&clip, box, m_rcPaint)) return;
  cairo_save(hDC);
  cairo_rectangle(hDC, clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top);
  cairo_clip(hDC);
  int width = box.right - box.left;
  UINT style = EditStyle();
  CDuiString shown = ShownText();
  // The line's top inside the box (single lines are centred like labels).
  RECT caret0 = CRenderEngine::GetCaretRect(m_pManager, shown, m_iFont, style, width, 0);
  int lineHeight = caret0.bottom - caret0.top;
  int top = box.top - m_nScrollY;
  if (!IsMultiLine() && (style & DT_VCENTER)) top = box.top + ((box.bottom - box.top) - lineHeight) / 2;
  int left = box.left - m_nScrollX;
  if (m_sText.IsEmpty()) {
    CDuiString prompt = GetPromptText();
    if (!prompt.IsEmpty()) {
      RECT rc = box;
      CRenderEngine::DrawText(hDC, m_pManager, rc, prompt, GetAdjustColor(m_dwPromptColor), m_iFont,
                              IsMultiLine() ? DT_WORDBREAK : (DT_SINGLELINE | (style & DT_VCENTER)));
    }
  } else {
    if (IsFocused() && GetSelStart() != GetSelEnd()) {
      int a = RealToShown(m_sText.str(), m_bPasswordMode, GetSelStart());
      int b = RealToShown(m_sText.str(), m_bPasswordMode, GetSelEnd());
      for (RECT r : CRenderEngine::GetSelectionRects(m_pManager, shown, m_iFont, style, width, a, b)) {
        OffsetRect(&r, left, top);
        CRenderEngine::DrawColor(hDC, r, m_dwSelectColor);
      }
    }
    RECT rc{left, top, IsMultiLine() ? box.right : std::max<LONG>(box.right, left + 100000), top + 100000};
    if (!IsMultiLine()) rc.bottom = top + lineHeight;
    DWORD color = IsEnabled() ? m_dwTextColor : m_dwDisabledTextColor;
    CRenderEngine::DrawText(hDC, m_pManager, rc, shown, ResolveTextColor(color), m_iFont,
                            IsMultiLine() ? DT_WORDBREAK : DT_SINGLELINE);
  }
  if (IsFocused() && m_bCaretShown && !m_bReadOnly) {
    RECT c = CRenderEngine::GetCaretRect(m_pManager, shown, m_iFont, style, width,
                                         RealToShown(m_sText.str(), m_bPasswordMode, m_nCaret));
    OffsetRect(&c, left, top);
    CRenderEngine::DrawColor(hDC, c, ResolveTextColor(m_dwTextColor));
  }
  cairo_restore(hDC);
}

void CEditUI::SetAttribute(const char* pstrName, const char* pstrValue) {
  CDuiString name(pstrName);
  const char* v = pstrValue ? pstrValue : "";
  auto is = [&](const char* n) { return name.CompareNoCase(n) == 0; };
  if (is("readonly")) {
    SetReadOnly(ParseBool(v));
  } else if (is("numberonly")) {
    SetNumberOnly(ParseBool(v));
  } else if (is("password")) {
    SetPasswordMode(ParseBool(v));
  } else if (is("passwordchar")) {
    SetPasswordChar(v[0] ? v[0] : '*');
  } else if (is("maxchar")) {
    SetMaxChar(static_cast<UINT>(std::atoi(v)));
  } else if (is("minnum")) {
    SetMinNumber(std::atoi(v));
  } else if (is("maxnum")) {
    SetMaxNumber(std::atoi(v));
  } else if (is("prompttext") || is("tipvalue")) {
    SetPromptText(v);
  } else if (is("prompttextcolor") || is("tipvaluecolor")) {
    SetPromptTextColor(ParseColor(v));
  } else if (is("selectedcolor")) {
    m_dwSelectColor = ParseColor(v);
  } else if (is("normalimage")) {
    m_sNormalImage = v;
  } else if (is("hotimage")) {
    m_sHotImage = v;
  } else if (is("focusedimage")) {
    m_sFocusedImage = v;
  } else if (is("disabledimage")) {
    m_sDisabledImage = v;
  } else if (is("nativebkcolor")) {
    SetBkColor(ParseColor(v));
  } else {
    CLabelUI::SetAttribute(pstrName, pstrValue);
  }
}

}  // namespace ostrel
