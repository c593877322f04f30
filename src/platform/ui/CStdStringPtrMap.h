#pragma once
// Untyped pointers by string key in insertion order (the menus keep their
// check states in one). The bucket count is accepted for callers that give
// it; lookups are hashed either way.

#include <string>
#include <unordered_map>
#include <vector>

#include "platform/ui/CDuiString.h"

namespace ostrel {

class CStdStringPtrMap {
 public:
  explicit CStdStringPtrMap(int nSize = 83) { m_index.reserve(nSize > 0 ? nSize : 0); }
  int GetSize() const { return static_cast<int>(m_keys.size()); }
  // Null when the key is absent.
  void* Find(const char* key) const;
  // False when the key exists already (Set replaces).
  bool Insert(const char* key, void* pData);
  void* Set(const char* key, void* pData);
  bool Remove(const char* key);
  void RemoveAll();
  // The key at position iIndex ("" out of range).
  CDuiString GetAt(int iIndex) const;
  CDuiString operator[](int iIndex) const { return GetAt(iIndex); }

 private:
  std::vector<std::string> m_keys;
  std::unordered_map<std::string, void*> m_index;
};

}  // namespace ostrel
