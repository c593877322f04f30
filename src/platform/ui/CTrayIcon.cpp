#include "platform/ui/CTrayIcon.h"

#include <cairo.h>

#include "platform/os/DebugLog.h"
#include "platform/os/StatusNotifierItem.h"
#include "platform/ui/CPaintManagerUI.h"
#include "platform/ui/CResourceManager.h"
#include "platform/ui/WindowApi.h"

namespace ostrel {

namespace {

constexpr const char* kItemId = "Kestrane";
constexpr int kFallbackSize = 16;
constexpr std::uint8_t kAccent[4] = {0xFF, 0x00, 0x99, 0xFF};  // A, R, G, B

// The protocol's pixmap: A, R, G, B bytes per pixel, not premultiplied.
StatusNotifierItem::Pixmap PixmapFromImage(const std::string& image) {
  StatusNotifierItem::Pixmap pixmap;
  const TImageInfo* info = image.empty() ? nullptr : CPaintManagerUI::GetImageEx(image.c_str());
  if (!info || !info->surface) {
    // Still a visible mark in the tray, in the accent colour.
    DebugPrintf("ui: tray icon image '%s' not found; using a plain mark", image.c_str());
    pixmap.width = pixmap.height = kFallbackSize;
    for (int i = 0; i < kFallbackSize * kFallbackSize; ++i)
      pixmap.argb.insert(pixmap.argb.end(), kAccent, kAccent + 4);
    return pixmap;
  }
  cairo_surface_t* surface = info->surface;
  cairo_surface_flush(surface);
  int w = cairo_image_surface_get_width(surface);
  int h = cairo_image_surface_get_height(surface);
  int stride = cairo_image_surface_get_stride(surface);
  const unsigned char* data = cairo_image_surface_get_data(surface);
  pixmap.width = w;
  pixmap.height = h;
  pixmap.argb.reserve(static_cast<std::size_t>(w) * h * 4);
  for (int y = 0; y < h; ++y) {
    const auto* row = reinterpret_cast<const std::uint32_t*>(data + y * stride);
    for (int x = 0; x < w; ++x) {
      std::uint32_t px = row[x];
      unsigned a = px >> 24;
      auto un = [a](unsigned c) { return static_cast<std::uint8_t>(a == 0 ? 0 : (c * 255 + a / 2) / a); };
      pixmap.argb.push_back(static_cast<std::uint8_t>(a));
      pixmap.argb.push_back(un((px >> 16) & 0xFF));
      pixmap.argb.push_back(un((px >> 8) & 0xFF));
      pixmap.argb.push_back(un(px & 0xFF));
    }
  }
  return pixmap;
}

}  // namespace

CTrayIcon::CTrayIcon() = default;

CTrayIcon::~CTrayIcon() { DeleteTrayIcon(); }

std::string CTrayIcon::IconImageFor(UINT uIconIDResource) {
  std::string id = std::to_string(uIconIDResource);
  CDuiString path = CResourceManager::GetInstance()->GetImagePath(id.c_str());
  if (!path.IsEmpty()) return path.str();
  return "icon_" + id + ".png";
}

void CTrayIcon::CreateTrayIcon(HWND hWndRecv, UINT uIconIDResource, const char* pszToolTipText,
                               UINT uMessage) {
  CreateTrayIcon(hWndRecv, IconImageFor(uIconIDResource).c_str(), pszToolTipText, uMessage, uIconIDResource);
}

void CTrayIcon::CreateTrayIcon(HWND hWndRecv, const char* pszIconImage, const char* pszToolTipText,
                               UINT uMessage, UINT uId) {
  DeleteTrayIcon();
  m_hWnd = hWndRecv;
  m_uMessage = uMessage ? uMessage : UIMSG_TRAYICON;
  m_uId = uId;
  m_sToolTip = pszToolTipText ? pszToolTipText : "";
  auto item = std::make_unique<StatusNotifierItem>();
  HWND receiver = m_hWnd;
  UINT message = m_uMessage;
  WPARAM id = m_uId;
  // Clicks come on the bus thread; the window hears of them through its queue.
  auto onClick = [receiver, message, id](StatusNotifierItem::Click click, int, int) {
    LPARAM mouse = click == StatusNotifierItem::Click::Activate      ? WM_LBUTTONUP
                   : click == StatusNotifierItem::Click::ContextMenu ? WM_RBUTTONUP
                                                                     : WM_MBUTTONUP;
    PostMessage(receiver, message, id, mouse);
  };
  if (!item->Create(kItemId, m_sToolTip.empty() ? kItemId : m_sToolTip,
                    PixmapFromImage(pszIconImage ? pszIconImage : ""), m_sToolTip, onClick)) {
    OutputDebugString("ui: no session bus, no tray icon");
    return;
  }
  m_item = std::move(item);
}

void CTrayIcon::DeleteTrayIcon() {
  if (m_item) m_item->Destroy();
  m_item.reset();
}

bool CTrayIcon::SetTooltipText(const char* pszToolTipText) {
  m_sToolTip = pszToolTipText ? pszToolTipText : "";
  if (!m_item) return false;
  m_item->SetToolTip(m_sToolTip);
  return true;
}

bool CTrayIcon::SetIcon(const char* pszIconImage) {
  if (!m_item) return false;
  m_item->SetIcon(PixmapFromImage(pszIconImage ? pszIconImage : ""));
  return true;
}

bool CTrayIcon::SetIcon(UINT uIconIDResource) { return SetIcon(IconImageFor(uIconIDResource).c_str()); }

bool CTrayIcon::IsCreated() const { return m_item && m_item->IsCreated(); }
bool CTrayIcon::IsVisible() const { return m_item && m_item->IsRegistered(); }
std::string CTrayIcon::ServiceName() const { return m_item ? m_item->ServiceName() : std::string(); }

}  // namespace ostrel
