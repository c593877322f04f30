#pragma once
// The macro editor's record button. While the recorder keeps it blinking,
// control timer 100 (50 ms) fades its record image between 80 and 255.

#include "platform/ui/CButtonUI.h"

namespace ostrel {

class CRedioMacroButtonUI : public CButtonUI {
 public:
  static constexpr UINT kBlinkTimerId = 100;
  static constexpr UINT kBlinkPeriodMs = 50;
  static constexpr int kFadeStep = 20;
  static constexpr int kFadeMin = 80;
  static constexpr int kFadeMax = 255;

  CRedioMacroButtonUI() = default;
  ~CRedioMacroButtonUI() override = default;

  const char* GetClass() const override { return "RedioMacroButton"; }
  void* GetInterface(const char* pstrName) override;
  void DoInit() override {}
  void DoEvent(TEventUI& event) override;
  void SetAttribute(const char* pstrName, const char* pstrValue) override;
  void PaintStatusImage(HDC hDC) override { CButtonUI::PaintStatusImage(hDC); }

  // A resource image name ("res=" of the image syntax).
  void SetRecordImage(const char* pStrImage) { m_sRecordImage = pStrImage; }
  const CDuiString& GetRecordImage() const { return m_sRecordImage; }
  // On: starts the blink timer. Off: the timer is not re-armed; the last
  // image stays.
  void SetBlinking(bool bBlinking);
  bool IsBlinking() const { return m_bBlinking; }
  int GetFade() const { return m_nFade; }

 private:
  void Blink();

  CDuiString m_sRecordImage;
  bool m_bBlinking = false;
  int m_nFade = kFadeMax;
  bool m_bFadingIn = false;
};

}  // namespace ostrel
