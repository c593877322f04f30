#pragma once
// A bar filled from min to value: "forecolor" fills the done part,
// "foreimage" is drawn over it (stretched, or cut when not stretched).

#include "platform/ui/CLabelUI.h"

namespace ostrel {

class CProgressUI : public CLabelUI {
 public:
  CProgressUI();
  const char* GetClass() const override { return "ProgressUI"; }
  void* GetInterface(const char* pstrName) override;

  bool IsHorizontal() const { return m_bHorizontal; }
  void SetHorizontal(bool bHorizontal = true);
  bool IsStretchForeImage() const { return m_bStretchForeImage; }
  void SetStretchForeImage(bool bStretchForeImage = true);
  int GetMinValue() const { return m_nMin; }
  void SetMinValue(int nMin);
  int GetMaxValue() const { return m_nMax; }
  void SetMaxValue(int nMax);
  int GetValue() const { return m_nValue; }
  // Clamped to the range.
  virtual void SetValue(int nValue);

  void SetAttribute(const char* pstrName, const char* pstrValue) override;
  void PaintForeColor(HDC hDC) override;
  void PaintForeImage(HDC hDC) override;

 protected:
  // The done part of the bar.
  RECT DoneRect() const;

  bool m_bHorizontal = true;
  bool m_bStretchForeImage = true;
  int m_nMin = 0;
  int m_nMax = 100;
  int m_nValue = 0;
};

}  // namespace ostrel
