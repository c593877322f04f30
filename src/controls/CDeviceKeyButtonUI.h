#pragma once
// One key of a device picture: the button's own state images, then the
// light image tinted with the key's colour while the lighting preview runs,
// then the key-set image that marks a re-assigned key. The selection panel
// sets the selected flag when a rubber band covers the key.

#include "platform/ui/CButtonUI.h"

namespace ostrel {

class CDeviceKeyButtonUI : public CButtonUI {
 public:
  CDeviceKeyButtonUI() = default;
  ~CDeviceKeyButtonUI() override = default;

  const char* GetClass() const override { return "DeviceKeyButton"; }
  void* GetInterface(const char* pstrName) override;
  void DoInit() override {}
  void DoEvent(TEventUI& event) override;
  void SetAttribute(const char* pstrName, const char* pstrValue) override;
  void PaintBkColor(HDC hDC) override { CButtonUI::PaintBkColor(hDC); }
  void PaintStatusImage(HDC hDC) override;

  const CDuiString& GetLightImage() const { return m_sLightImage; }
  void SetLightImage(const char* pStrImage);
  const CDuiString& GetKeySetImage() const { return m_sKeySetImage; }
  void SetKeySetImage(const char* pStrImage);
  // The three values of the lighting preview; colour is an RGB() value.
  void SetLightTint(bool bOn, DWORD dwColor, int nLevel);
  bool IsLightTintOn() const { return m_bLightTint; }
  DWORD GetLightColor() const { return m_dwLightColor; }
  int GetLightLevel() const { return m_nLightLevel; }
  // Set while the key does what its own label says.
  void SetKeySetImageHidden(bool bHidden);
  bool IsKeySetImageHidden() const { return m_bHideKeySetImage; }
  void SetSelected(bool bSelected);
  bool IsSelected() const { return m_bSelected; }
  // Drawn over the key while it is selected ("selectedimage"), so the user
  // sees what a rubber band picked.
  void SetSelectedImage(const char* pStrImage);
  const CDuiString& GetSelectedImage() const { return m_sSelectedImage; }

  // Colours the device pages keep with the key.
  DWORD GetColorValue(int index) const;
  void SetColorValue(int index, DWORD dwColor);
  static constexpr int kColorValueCount = 4;

 private:
  CDuiString m_sLightImage;
  CDuiString m_sKeySetImage;
  CDuiString m_sSelectedImage;
  bool m_bHideKeySetImage = true;
  bool m_bLightTint = false;
  DWORD m_dwLightColor = 255;
  int m_nLightLevel = 200;
  bool m_bSelected = false;
  DWORD m_dwColorValues[kColorValueCount] = {0xFF000000, 0xFFFFFFFF, 0, 0xFF0099FF};
};

}  // namespace ostrel
