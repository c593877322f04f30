#pragma once
// One open HID interface (one top-level collection) with overlapped-style
// reads and writes bounded by a time-out and ended at once by Close().
//
// Paths come from Enumerate(): every top-level collection of every hidraw
// node and of every virtual interface is one path, containing
// "vid_XXXX&pid_XXXX&mi_XX&colXX" ("&colXX" only when the interface has
// several top-level collections).

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/hid/HidTypes.h"

namespace ostrel {

class HidDevice;  // platform handle of one open collection (platform/hid)

class HidLink {
 public:
  static constexpr std::uint32_t kInfinite = 0xFFFFFFFFu;

  HidLink();
  ~HidLink();
  HidLink(const HidLink&) = delete;
  HidLink& operator=(const HidLink&) = delete;

  // Path list.
  bool Enumerate();
  const char* NextPath();  // null when the list is absent or exhausted
  void FreePaths();

  bool Open(const std::string& path, bool read, bool write, bool overlapped, bool exclusive);
  void Close();  // safe when not open; releases a Read/Write blocked on another thread
  bool IsOpen() const;

  // Whole reports; the first byte of every buffer is the report id.
  bool Read(std::uint32_t count, std::uint8_t* buffer, std::uint32_t timeoutMs,
            std::uint32_t* outCount = nullptr);
  bool Write(std::uint32_t count, const std::uint8_t* buffer, std::uint32_t timeoutMs,
             std::uint32_t* outCount = nullptr);

  // Decodes an input report into the items of the given kind.
  bool UnpackInputReport(const std::uint8_t* report, std::uint32_t length, HIDP_REPORT_TYPE kind,
                         std::vector<HidDataItem>& items);

  const HIDD_ATTRIBUTES& Attributes() const;
  const HIDP_CAPS& Caps() const;
  std::uint32_t InterfaceNumber() const;
  std::uint32_t CollectionNumber() const;
  const std::string& Path() const;
  std::vector<std::uint8_t>& InputReportBuffer();
  std::vector<HidDataItem>& InputItems();

  // The existence test of a claimed slot: the path still names a present
  // interface of the same device (no access is opened).
  static bool PathExists(const std::string& path);

  // An output report sent as a SET_REPORT request (the headset's LED reports).
  bool SetOutputReport(const std::uint8_t* report, std::uint32_t length);

  // Per report kind: the capability arrays and items of the open interface.
  const std::vector<HIDP_BUTTON_CAPS>& ButtonCaps(HIDP_REPORT_TYPE kind) const;
  const std::vector<HIDP_VALUE_CAPS>& ValueCaps(HIDP_REPORT_TYPE kind) const;
  std::vector<HidDataItem>& Items(HIDP_REPORT_TYPE kind);

  // More usage-list entries than this over all items make Open fail: a
  // descriptor could otherwise ask for gigabytes.
  static constexpr std::size_t kMaxUsageListEntries = 1u << 20;

 private:
  enum class Transfer { kRead, kWrite, kDecode };
  struct PerKind {
    std::vector<std::uint8_t> report;
    std::vector<HidDataItem> items;
    std::vector<HIDP_BUTTON_CAPS> buttonCaps;
    std::vector<HIDP_VALUE_CAPS> valueCaps;
  };

  bool Describe(const HidDevice& device);
  void FreeOpenData();
  // Marks a transfer in progress; null when the link is not open.
  HidDevice* BeginTransfer(Transfer transfer);
  void EndTransfer(Transfer transfer);

  // Path list.
  std::vector<std::string> paths_;
  std::uint32_t cursor_ = 0;
  // Open options.
  bool read_ = false, write_ = false, overlapped_ = false, exclusive_ = false;
  std::unique_ptr<HidDevice> device_;
  std::string path_;
  HIDP_CAPS caps_;
  HIDD_ATTRIBUTES attributes_;
  std::array<PerKind, kHidReportKinds> perKind_;
  std::uint32_t interfaceNumber_ = 0;
  std::uint32_t collectionNumber_ = 0;
  // Abort signal of blocked transfers (an eventfd), and who is in one.
  int abortEvent_ = -1;
  std::atomic<bool> readInProgress_{false};
  std::atomic<bool> writeInProgress_{false};
  mutable std::mutex mutex_;
  std::condition_variable idle_;
  int active_ = 0;
  bool closing_ = false;
};

}  // namespace ostrel
