#pragma once
// Misbehaviour a simulated device can be told to show, to test how the
// program copes with real-world devices.

#include <chrono>
#include <cstdint>

namespace ostrel::devsim {

struct FaultSettings {
  // Command frames are recorded but neither carried out nor answered.
  bool silent = false;
  // Added to the USB interval before each reply goes out.
  std::chrono::milliseconds replyDelay{0};
  // Each reply is preceded by a stale one carrying another command id.
  bool otherIdFirst = false;
  // Status byte forced into replies (0 = none; 0xFF or 0xFE). A forced error
  // is a refusal: the request is not carried out.
  std::uint8_t statusError = 0;
  // Only frames with this command id get the forced status (0 = every id).
  std::uint8_t statusErrorCommand = 0;
  // Only the n-th frame that qualifies gets it (0 = every qualifying frame);
  // counted from the moment the faults were set.
  unsigned statusErrorFrame = 0;
  // Every n-th reply is lost (the request is carried out). 0 = none. With
  // otherIdFirst the stale reply still comes: another command's reply, then
  // nothing.
  unsigned dropEvery = 0;
  // The device is unplugged when the n-th command frame arrives, before it
  // is answered. 0 = never.
  unsigned unplugAfterFrames = 0;
};

}  // namespace ostrel::devsim
