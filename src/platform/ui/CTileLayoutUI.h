#pragma once
#include "platform/ui/CContainerUI.h"

namespace ostrel {

// Children in rows of equal cells: "columns" cells per row, or as many
// "itemsize" cells as fit.
class CTileLayoutUI : public CContainerUI {
 public:
  const char* GetClass() const override { return "TileLayoutUI"; }
  void* GetInterface(const char* pstrName) override;
  int GetColumns() const { return m_nColumns; }
  void SetColumns(int nCols);
  SIZE GetItemSize() const;
  void SetItemSize(SIZE szItem);
  void SetPos(RECT rc, bool bNeedInvalidate = true) override;
  void SetAttribute(const char* pstrName, const char* pstrValue) override;

 private:
  int m_nColumns = 1;
  SIZE m_szItem;
};

}  // namespace ostrel
