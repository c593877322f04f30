#pragma once
// The vendor protocol channel of a device page: one HidLink, the 64-byte
// frame exchange with its log and time-outs, the three locks and every
// command of the protocol. Several threads may use one channel: each frame
// holds the command lock (or the light lock) and every transfer on the link
// holds the transport lock, always taken in that order.

#include <array>
#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>

#include "devicelink/DeviceProtocol.h"
#include "devicelink/HidLink.h"

namespace ostrel {

class DeviceChannel {
 public:
  DeviceChannel();
  ~DeviceChannel();
  DeviceChannel(const DeviceChannel&) = delete;
  DeviceChannel& operator=(const DeviceChannel&) = delete;

  // One request and its reply. 1 reply read; 0 not connected, no reply, or
  // no reply carrying the request's command id; -1 the write failed.
  int Exchange(const std::uint8_t* request, std::size_t requestLength, std::uint8_t* reply,
               std::size_t replyLength, std::uint32_t* bytesRead);
  // The lighting stream's exchange: no busy flag, no log, 1000 ms time-outs,
  // a single read.
  int QuickExchange(const std::uint8_t* request, std::size_t requestLength, std::uint8_t* reply,
                    std::size_t replyLength, std::uint32_t* bytesRead);

  // Opens the link on a vendor interface and marks the channel connected
  // (under the transport lock, so no worker exchanges on a half-open link).
  bool Connect(const std::string& path, bool longTimeout);
  // Marks the channel disconnected and closes the link; a transfer blocked
  // on another thread returns at once.
  void Disconnect();

  bool IsConnected() const { return connected_.load(); }
  void SetConnected(bool connected) { connected_.store(connected); }
  bool IsPaused() const { return paused_.load(); }
  void SetPaused(bool paused) { paused_.store(paused); }
  bool IsBusy() const { return busy_.load() > 0; }
  bool HasLongTimeout() const { return longTimeout_.load(); }
  void SetLongTimeout(bool longTimeout) { longTimeout_.store(longTimeout); }
  std::uint32_t TimeoutMs() const { return HasLongTimeout() ? kLongTimeoutMs : kShortTimeoutMs; }

  std::uint16_t BlockLength() const { return blockLength_.load(); }
  // Refuses (and keeps the old length) above 512.
  bool SetBlockLength(std::uint16_t length);
  std::uint8_t ChunkSize() const { return chunkSize_.load(); }
  // Clamped to 1..56 so a frame's payload always fits.
  void SetChunkSize(std::uint8_t size);

  HidLink& Link() { return link_; }

  void LockTransport() { transportLock_.lock(); }
  void UnlockTransport() { transportLock_.unlock(); }
  void LockCommand() { commandLock_.lock(); }
  void UnlockCommand() { commandLock_.unlock(); }
  void LockLight() { lightLock_.lock(); }
  void UnlockLight() { lightLock_.unlock(); }

  // The command set. Every operation returns 1 or the code of the first
  // frame that failed; frames already sent stay sent.
  int BeginConfig();
  int EndConfig();  // waits 10 ms first
  // EndConfig for a caller that did other work since its last configuration
  // frame (acknowledged at `lastFrame`): waits only what is left of the
  // 10 ms the device needs after that frame.
  int EndConfigAfter(std::chrono::steady_clock::time_point lastFrame);
  int StartHostLighting();
  bool QueryLink();
  int ReadDeviceInfo(std::uint8_t* info);  // 34 bytes, written only on success
  int ReadMemory(std::uint8_t* out, std::size_t length, std::uint16_t address);
  int WriteMemory(const std::uint8_t* data, std::size_t length, std::uint16_t address);
  int ReadKeyMap(std::uint8_t* out);  // room for 512; block length bytes filled
  int WriteKeyMap(const std::uint8_t* data, int blockIndex);
  int ReadKeyAttributes(std::uint8_t* out);  // block length / 3 bytes
  int ReadLedColours(std::uint8_t* out, std::size_t length, std::uint32_t bank, std::uint32_t bankSize);
  int WriteLedColours(const std::uint8_t* data, std::size_t length, std::uint32_t bank,
                      std::uint32_t bankSize);
  int StreamLedFrame(const std::uint8_t* data, std::size_t length);
  int WriteMacroData(const std::uint8_t* data, std::size_t length);
  int WriteShootData(const std::uint8_t* data, std::size_t length);
  int ReadPowerStatus(std::uint8_t* out, std::size_t length, std::uint16_t address);

 private:
  enum class Guard { kCommand, kLight, kNone };

  // One frame under its lock; the reply's status byte is checked.
  int SendFrame(CommandId command, Guard guard, std::uint8_t length, std::uint16_t address,
                const std::uint8_t* payload, std::uint8_t* reply);
  // Cuts a transfer of `total` bytes at `base` into frames of `chunk` bytes.
  int Transfer(CommandId command, Guard guard, std::size_t total, std::uint32_t base, std::size_t chunk,
               const std::uint8_t* data, std::uint8_t* out);
  static int CheckStatus(const std::uint8_t* reply);
  // A write then one or two reads under the transport lock.
  int Transact(const std::uint8_t* request, std::size_t requestLength, std::uint8_t* reply,
               std::size_t replyLength, std::uint32_t* bytesRead, std::uint32_t timeoutMs, bool secondRead,
               std::uint8_t* receivedCopy);

  // Replies are read into this buffer and copied to the caller only when
  // they are the answer, so a transfer ended by a time-out can never land in
  // a caller's (possibly released) buffer. Declared before the link so that
  // it outlives it.
  std::array<std::uint8_t, kFrameSize> received_{};
  std::uint32_t receivedCount_ = 0;

  std::atomic<std::uint16_t> blockLength_{kMaxBlockLength};
  // Counts running exchanges: two threads may exchange at once (shooting
  // data takes no command lock), and the first to finish must not clear it.
  std::atomic<int> busy_{0};
  std::atomic<bool> connected_{false};
  std::atomic<bool> paused_{false};
  std::atomic<bool> longTimeout_{false};
  std::atomic<std::uint8_t> chunkSize_{kDefaultChunkSize};

  // Recursive, like the critical sections the pages expect: a holder of the
  // transport lock (opening the link) may call into the channel.
  std::recursive_mutex transportLock_;
  std::recursive_mutex commandLock_;
  std::recursive_mutex lightLock_;

  HidLink link_;
};

}  // namespace ostrel
