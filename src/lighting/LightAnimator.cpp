#include "lighting/LightAnimator.h"

#include <algorithm>
#include <utility>

#include "devicelink/DeviceProtocol.h"
#include "lighting/LightFrame.h"
#include "lighting/LightSteps.h"
#include "lighting/LightTables.h"

namespace ostrel {

LightAnimator::LightAnimator(int deviceType, int ledCount) : deviceType_(deviceType), state_(ledCount) {}

void LightAnimator::SetLedCount(int count) {
  std::lock_guard lock(mutex_);
  state_.SetLedCount(count);
  stepPending_ = true;
}

int LightAnimator::LedCount() const {
  std::lock_guard lock(mutex_);
  return state_.LedCount();
}

void LightAnimator::SetLightSetting(const LightSetting& setting) {
  std::lock_guard lock(mutex_);
  if (setting.selectItem != setting_.selectItem) {
    state_.ClearEffectBuffers();
    state_.stepCounter = 0;
    state_.custom.Restart();
    const LightStep step = LightEffectCodes::StepFor(deviceType_, setting.selectItem);
    if (step == LightStep::kRing || step == LightStep::kRunningRing) LightSteps::SeedRing(state_);
  }
  setting_ = setting;
  stepPending_ = true;
}

LightSetting LightAnimator::GetLightSetting() const {
  std::lock_guard lock(mutex_);
  return setting_;
}

void LightAnimator::SetCustomSteps(std::vector<LightEffectStep> steps) {
  std::lock_guard lock(mutex_);
  state_.custom.SetSteps(std::move(steps));
  stepPending_ = true;
}

void LightAnimator::SetLightList(std::vector<LightListEntry> list, std::int64_t nowMs) {
  std::lock_guard lock(mutex_);
  state_.perLed.SetList(std::move(list), nowMs);
  stepPending_ = true;
}

void LightAnimator::SetPaused(bool paused) {
  std::lock_guard lock(mutex_);
  paused_ = paused;
  stepPending_ = true;
}

bool LightAnimator::IsPaused() const {
  std::lock_guard lock(mutex_);
  return paused_;
}

void LightAnimator::RunStep(LightStep step, std::int64_t nowMs) {
  switch (step) {
    case LightStep::kSpectrum:
      return LightSteps::StepSpectrum(state_, setting_);
    case LightStep::kBreathing:
      return LightSteps::StepBreathing(state_, setting_);
    case LightStep::kBreathingFour:
      return LightSteps::StepBreathingFour(state_, setting_);
    case LightStep::kStatic:
      return LightSteps::StepStatic(state_, setting_);
    case LightStep::kFlash:
      return LightSteps::StepFlash(state_, setting_, nowMs);
    case LightStep::kFlashFour:
      return LightSteps::StepFlashFour(state_, setting_, nowMs);
    case LightStep::kWave:
      return LightSteps::StepWave(state_, setting_, deviceType_);
    case LightStep::kRing:
      return LightSteps::StepRing(state_, setting_);
    case LightStep::kRunningRing:
      return LightSteps::StepRunningRing(state_, setting_, deviceType_);
    case LightStep::kCustom:
      state_.custom.Run(state_, setting_.speed, nowMs);
      return;
    case LightStep::kOff:
    case LightStep::kKeyboard:
      return LightSteps::StepOff(state_);
  }
}

std::int64_t LightAnimator::ScheduleAfterStep(LightStep step, std::int64_t nowMs) const {
  const std::int64_t period =
      std::max(LightEffectCodes::ThresholdTicks(deviceType_, setting_.selectItem, setting_.speed), 1) *
      kTickMs;
  switch (step) {
    case LightStep::kStatic:
    case LightStep::kOff:
    case LightStep::kKeyboard:
      return kNeverDue;  // the same frame until the settings change
    case LightStep::kFlash:
    case LightStep::kFlashFour:
      // Between toggles a flash step redraws the same frame.
      return std::max(nowMs + period,
                      state_.lastToggleMs + LightSteps::FlashTimeMs(setting_.speed, kFlashToggleUnitMs));
    default:
      return nowMs + period;
  }
}

void LightAnimator::Pass(std::int64_t atMs, bool force) {
  const LightStep step = LightEffectCodes::StepFor(deviceType_, setting_.selectItem);
  if (step == LightStep::kCustom) {
    // The animation counts its own passes and times its own steps.
    nextStepMs_ = state_.custom.Run(state_, setting_.speed, atMs);
  } else if (force || atMs >= nextStepMs_) {
    RunStep(step, atMs);
    nextStepMs_ = ScheduleAfterStep(step, atMs);
  }
  // The per-LED modes override the step's result after every pass.
  nextPerLedMs_ = deviceType_ == kDeviceMousePad || deviceType_ == kDeviceHeadset
                      ? state_.perLed.Run(state_.Leds(), atMs)
                      : kNeverDue;
}

std::int64_t LightAnimator::RunDue(std::int64_t nowMs) {
  std::lock_guard lock(mutex_);
  if (paused_) return kNeverDue;
  if (stepPending_) {
    stepPending_ = false;
    Pass(nowMs, true);
  }
  // Every pass due by now, in order, each at its own time: the steps and
  // the per-LED passes interleave exactly as they would on time.
  for (;;) {
    const std::int64_t due = std::min(nextStepMs_, nextPerLedMs_);
    if (due > nowMs) return due;
    Pass(CatchUpTime(due, nowMs), false);
  }
}

void LightAnimator::FillSyncColour(LedColour colour) {
  std::lock_guard lock(mutex_);
  state_.FillAll(colour);
}

void LightAnimator::SetLedColour(int index, LedColour colour) {
  std::lock_guard lock(mutex_);
  state_.SetLedColour(index, colour);
}

LedColour LightAnimator::GetLedColour(int index) const {
  std::lock_guard lock(mutex_);
  return state_.GetLedColour(index);
}

std::size_t LightAnimator::CopyLeds(std::span<LedColour> out) const {
  std::lock_guard lock(mutex_);
  const auto leds = state_.Leds();
  const std::size_t n = std::min(out.size(), leds.size());
  std::copy_n(leds.begin(), n, out.begin());
  return n;
}

std::size_t LightAnimator::BuildStreamFrame(std::span<std::uint8_t, 512> frame) const {
  std::lock_guard lock(mutex_);
  return LightFrame::BuildStreamFrame(state_.Leds(), frame);
}

}  // namespace ostrel
