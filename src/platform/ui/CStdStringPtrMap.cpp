#include "platform/ui/CStdStringPtrMap.h"

#include <algorithm>

namespace ostrel {

void* CStdStringPtrMap::Find(const char* key) const {
  auto it = m_index.find(key ? key : "");
  return it == m_index.end() ? nullptr : it->second;
}

bool CStdStringPtrMap::Insert(const char* key, void* pData) {
  std::string k(key ? key : "");
  if (m_index.count(k)) return false;
  m_index.emplace(k, pData);
  m_keys.push_back(k);
  return true;
}

void* CStdStringPtrMap::Set(const char* key, void* pData) {
  std::string k(key ? key : "");
  auto it = m_index.find(k);
  if (it == m_index.end()) {
    Insert(key, pData);
    return nullptr;
  }
  void* old = it->second;
  it->second = pData;
  return old;
}

bool CStdStringPtrMap::Remove(const char* key) {
  std::string k(key ? key : "");
  if (m_index.erase(k) == 0) return false;
  m_keys.erase(std::find(m_keys.begin(), m_keys.end(), k));
  return true;
}

void CStdStringPtrMap::RemoveAll() {
  m_keys.clear();
  m_index.clear();
}

CDuiString CStdStringPtrMap::GetAt(int iIndex) const {
  if (iIndex < 0 || iIndex >= GetSize()) return CDuiString();
  return CDuiString(m_keys[iIndex]);
}

}  // namespace ostrel
