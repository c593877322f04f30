#pragma once
// A chart of (text, value) items as a pie or as a histogram. The histogram
// view draws its shadow image along the bottom, above the text band.

#include <string>
#include <vector>

#include "platform/ui/CControlUI.h"

namespace ostrel {

class CChartViewUI : public CControlUI {
 public:
  enum class View { Pie, Histogram };
  struct Item {
    CDuiString text;
    double value = 0;
  };
  static constexpr int kTextBandHeight = 25;

  CChartViewUI() = default;
  ~CChartViewUI() override = default;

  void SetAttribute(const char* pstrName, const char* pstrValue) override;
  bool DoPaint(HDC hDC, const RECT& rcPaint, CControlUI* pStopControl) override;
  virtual void DrawPie(HDC hDC);
  virtual void DrawHistogram(HDC hDC);

  View GetView() const { return m_view; }
  const CDuiString& GetShadowImage() const { return m_sShadowImage; }
  int GetShadowHeight() const { return m_nShadowHeight; }
  bool IsShowText() const { return m_bShowText; }
  bool IsShowHtml() const { return m_bShowHtml; }
  int GetFont() const { return m_iFont; }
  int GetPillarWidth() const { return m_nPillarWidth; }
  const CDuiString& GetPillarImage() const { return m_sPillarImage; }
  const std::vector<Item>& GetItems() const { return m_items; }
  void AddItem(const char* text, double value);
  void RemoveAllItems();

 private:
  // The band the item texts take at the bottom of the histogram.
  int TextBand() const { return m_bShowText ? kTextBandHeight : 0; }

  View m_view = View::Pie;
  CDuiString m_sShadowImage;
  int m_nShadowHeight = 0;
  CDuiString m_sPillarImage;
  int m_nPillarWidth = 0;
  bool m_bShowHtml = false;
  bool m_bShowText = true;
  int m_iFont = -1;
  std::vector<Item> m_items;
};

}  // namespace ostrel
