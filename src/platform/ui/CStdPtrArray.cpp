#include "platform/ui/CStdPtrArray.h"

#include <algorithm>

namespace ostrel {

int CStdPtrArray::Find(void* pData) const {
  auto it = std::find(m_items.begin(), m_items.end(), pData);
  return it == m_items.end() ? -1 : static_cast<int>(it - m_items.begin());
}

bool CStdPtrArray::Add(void* pData) {
  m_items.push_back(pData);
  return true;
}

bool CStdPtrArray::InsertAt(int iIndex, void* pData) {
  if (iIndex < 0 || iIndex > GetSize()) return false;
  m_items.insert(m_items.begin() + iIndex, pData);
  return true;
}

bool CStdPtrArray::SetAt(int iIndex, void* pData) {
  if (iIndex < 0 || iIndex >= GetSize()) return false;
  m_items[iIndex] = pData;
  return true;
}

bool CStdPtrArray::Remove(int iIndex) {
  if (iIndex < 0 || iIndex >= GetSize()) return false;
  m_items.erase(m_items.begin() + iIndex);
  return true;
}

void* CStdPtrArray::GetAt(int iIndex) const {
  if (iIndex < 0 || iIndex >= GetSize()) return nullptr;
  return m_items[iIndex];
}

}  // namespace ostrel
