#pragma once
// A progress bar with a thumb the user drags: "movevaluechanged" while the
// thumb moves, "valuechanged" when it is let go (and for wheel and arrow keys).

#include "platform/ui/CProgressUI.h"

namespace ostrel {

class CSliderUI : public CProgressUI {
 public:
  CSliderUI();
  const char* GetClass() const override { return "SliderUI"; }
  void* GetInterface(const char* pstrName) override;
  UINT GetControlFlags() const override;

  void SetEnabled(bool bEnable = true) override;
  int GetChangeStep() const { return m_nStep; }
  void SetChangeStep(int step) { m_nStep = step > 0 ? step : 1; }
  SIZE GetThumbSize() const;
  void SetThumbSize(SIZE szXY);
  RECT GetThumbRect() const;
  void SetThumbImage(const char* pStrImage);
  void SetThumbHotImage(const char* pStrImage);
  void SetThumbPushedImage(const char* pStrImage);
  bool IsSendMove() const { return m_bSendMove; }
  void SetCanSendMove(bool bCanSend) { m_bSendMove = bCanSend; }
  bool IsDragging() const { return (m_uButtonState & UISTATE_CAPTURED) != 0; }

  void DoEvent(TEventUI& event) override;
  void SetAttribute(const char* pstrName, const char* pstrValue) override;
  void PaintStatusImage(HDC hDC) override;

 private:
  int ValueAt(POINT pt) const;

  UINT m_uButtonState = 0;
  int m_nStep = 1;
  SIZE m_szThumb{10, 10};
  bool m_bSendMove = true;
  int m_nValueAtPress = 0;
  DWORD m_dwThumbColor = 0xFFFFFFFF;
  CDuiString m_sThumbImage;
  CDuiString m_sThumbHotImage;
  CDuiString m_sThumbPushedImage;
};

}  // namespace ostrel
