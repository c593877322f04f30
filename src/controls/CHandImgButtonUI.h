#pragma once
// A picture button (a macro or profile picture) with a small delete mark in
// its lower right corner. Releasing on the mark raises "click_handdelete"
// instead of "click"; the owner shows the mark by clearing the hidden flag.

#include "platform/ui/CButtonUI.h"

namespace ostrel {

class CHandImgButtonUI : public CButtonUI {
 public:
  CHandImgButtonUI() = default;
  ~CHandImgButtonUI() override = default;

  const char* GetClass() const override { return "HandImgButton"; }
  void* GetInterface(const char* pstrName) override;
  void DoEvent(TEventUI& event) override;
  void SetAttribute(const char* pstrName, const char* pstrValue) override;
  void PaintStatusImage(HDC hDC) override;

  const CDuiString& GetHandImage() const { return m_sHandImage; }
  void SetHandImage(const char* pStrImage);
  void SetDeleteNormalImage(const char* pStrImage);
  void SetDeleteHotImage(const char* pStrImage);
  const CDuiString& GetCurrentDeleteImage() const { return m_sDeleteImage; }
  void SetDeleteHidden(bool bHidden);
  bool IsDeleteHidden() const { return m_bDeleteHidden; }

  // The delete mark's square, in window coordinates (scaled by the DPI).
  RECT GetDeleteRect() const;

 private:
  CDuiString m_sHandImage;
  CDuiString m_sDeleteNormalImage;
  CDuiString m_sDeleteHotImage;
  CDuiString m_sDeleteImage;
  bool m_bDeleteHidden = true;
};

}  // namespace ostrel
