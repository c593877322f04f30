#pragma once
// An ordered list of untyped pointers, as older toolkit code passes them.
// New code should prefer std::vector of the real type.

#include <vector>

namespace ostrel {

class CStdPtrArray {
 public:
  explicit CStdPtrArray(int iPreallocSize = 0) { m_items.reserve(iPreallocSize > 0 ? iPreallocSize : 0); }
  void Empty() { m_items.clear(); }
  bool IsEmpty() const { return m_items.empty(); }
  int GetSize() const { return static_cast<int>(m_items.size()); }
  int Find(void* pData) const;
  bool Add(void* pData);
  bool InsertAt(int iIndex, void* pData);
  bool SetAt(int iIndex, void* pData);
  bool Remove(int iIndex);
  // Null for an index out of range.
  void* GetAt(int iIndex) const;
  void* operator[](int iIndex) const { return GetAt(iIndex); }

 private:
  std::vector<void*> m_items;
};

}  // namespace ostrel
