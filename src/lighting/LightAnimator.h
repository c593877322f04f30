#pragma once
// The lighting of a mouse (types 2 and 6), mouse pad (3) or headset (7)
// page: its main lighting record, LED colour list and effect state, stepped
// by the page's lighting runner and read by the page's frame output. All
// members are safe to call from the window thread, the runner and the
// synchronisation thread at once.

#include <array>
#include <cstdint>
#include <mutex>
#include <span>
#include <vector>

#include "lighting/LightEffectCodes.h"
#include "lighting/LightEffectState.h"
#include "lighting/LightSchedule.h"
#include "lighting/LightSyncTarget.h"
#include "profiles/LightEffectStep.h"
#include "profiles/LightListEntry.h"
#include "profiles/LightSetting.h"

namespace ostrel {

class LightAnimator : public LightSchedule, public LightSyncTarget {
 public:
  LightAnimator(int deviceType, int ledCount);

  int DeviceType() const { return deviceType_; }
  // Resizes when the count changes and turns every LED off.
  void SetLedCount(int count);
  int LedCount() const;

  // The main record; a changed effect restarts the effect state. The next
  // step is due at once (wake the runner after calling).
  void SetLightSetting(const LightSetting& setting);
  LightSetting GetLightSetting() const;
  // The profile's lists: the custom animation's steps and the per-LED modes
  // (the per-LED modes apply on mouse pads and headsets only).
  void SetCustomSteps(std::vector<LightEffectStep> steps);
  void SetLightList(std::vector<LightListEntry> list, std::int64_t nowMs);

  // While paused the synchronisation drives the LEDs and no step runs.
  void SetPaused(bool paused);
  bool IsPaused() const;

  std::int64_t RunDue(std::int64_t nowMs) override;
  bool IsSyncPaused() const override { return IsPaused(); }
  void FillSyncColour(LedColour colour) override;

  void SetLedColour(int index, LedColour colour);
  LedColour GetLedColour(int index) const;
  // Copies up to out.size() entries; returns how many.
  std::size_t CopyLeds(std::span<LedColour> out) const;
  // The bytes StreamLedFrame sends: returns the length, LED count × 3.
  std::size_t BuildStreamFrame(std::span<std::uint8_t, 512> frame) const;

  // Runs f(state, record) under the animator's lock: the page operations
  // that step or edit the list themselves.
  template <typename F>
  void WithState(F&& f) {
    std::lock_guard lock(mutex_);
    f(state_, static_cast<const LightSetting&>(setting_));
    stepPending_ = true;
  }

  // Direct access for tests and single-threaded use only.
  LightEffectState& State() { return state_; }
  void RunStep(LightStep step, std::int64_t nowMs);

 private:
  std::int64_t ScheduleAfterStep(LightStep step, std::int64_t nowMs) const;
  // One pass at `atMs`: the step when due (or `force`d), then the per-LED
  // modes.
  void Pass(std::int64_t atMs, bool force);

  const int deviceType_;
  mutable std::mutex mutex_;
  LightSetting setting_;
  LightEffectState state_;
  bool paused_ = false;
  std::int64_t nextStepMs_ = 0;
  std::int64_t nextPerLedMs_ = kNeverDue;
  bool stepPending_ = true;
};

}  // namespace ostrel
