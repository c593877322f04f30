#include "lighting/LightSyncAnimator.h"

#include <algorithm>
#include <utility>

#include "lighting/LightEffectState.h"
#include "lighting/LightMath.h"
#include "lighting/LightSteps.h"
#include "lighting/LightTables.h"

namespace ostrel {

void LightSyncAnimator::SetTargets(std::vector<LightSyncTarget*> targets) {
  std::lock_guard lock(mutex_);
  targets_ = std::move(targets);
  pending_ = true;
}

void LightSyncAnimator::SetCommonEffect(CommonEffect effect, const LightSetting& parameters) {
  std::lock_guard lock(mutex_);
  effect_ = effect;
  parameters_ = parameters;
  phase_ = 0;
  colourIndex_ = 0;
  toggle_ = 0;
  lastToggleMs_ = kLongAgoMs;
  pending_ = true;
}

bool LightSyncAnimator::PageRecord(int sourceType, const LightSetting& source, int deviceType,
                                   LightSetting& out) {
  const CommonEffect effect = LightEffectCodes::CommonEffectFor(sourceType, source.selectItem);
  const int code = LightEffectCodes::CodeForCommonEffect(deviceType, effect);
  if (effect == CommonEffect::kNone || code < 0) return false;
  out = source;
  out.selectItem = static_cast<std::uint8_t>(code);
  return true;
}

CommonEffect LightSyncAnimator::Effect() const {
  std::lock_guard lock(mutex_);
  return effect_;
}

LedColour LightSyncAnimator::Step(std::int64_t nowMs) {
  const LightSetting& p = parameters_;
  const std::uint8_t bright = LightSteps::Bright(p.light);
  const Rgb fixed = LightSteps::FixedColour(p);
  switch (effect_) {
    case CommonEffect::kBreathing: {
      phase_ = StepPhase(p.fx, 128, phase_, 1);
      if (p.multiColor && phase_ < 2) colourIndex_ = static_cast<std::uint8_t>((colourIndex_ + 16) % 192);
      const Rgb colour = p.multiColor ? kColourWheel[colourIndex_] : fixed;
      return LightSteps::Entry(colour, Scale(bright, kBreathingCurve[phase_ & 127]));
    }
    case CommonEffect::kStatic:
      return LightSteps::Entry(fixed, bright);
    case CommonEffect::kFlash: {
      if (nowMs - lastToggleMs_ >= LightSteps::FlashTimeMs(p.speed, kFlashToggleUnitMs)) {
        toggle_ = toggle_ ? 0 : 1;
        lastToggleMs_ = nowMs;
        colourIndex_ = LightSteps::NextWheelIndex(colourIndex_, 14);
      }
      if (!toggle_) return {};
      return LightSteps::Entry(p.multiColor ? kColourWheel[colourIndex_] : fixed, bright);
    }
    case CommonEffect::kSpectrum:
      phase_ = StepPhase(1, 192, phase_, 1);
      return LightSteps::Entry(kColourWheel[phase_], bright);
    case CommonEffect::kOff:
    case CommonEffect::kNone:
      break;
  }
  return {};
}

std::int64_t LightSyncAnimator::RunDue(std::int64_t nowMs) {
  std::lock_guard lock(mutex_);
  if (effect_ == CommonEffect::kNone) return kNeverDue;
  std::size_t paused = 0;
  for (const LightSyncTarget* t : targets_) paused += t->IsSyncPaused() ? 1 : 0;
  // A page that has just joined gets the current frame at once.
  if (paused != pausedCount_) pending_ = true;
  pausedCount_ = paused;
  if (paused == 0) return kNeverDue;
  // Every step due by now, in order, each at its own time; the pages take
  // the last colour.
  bool stepped = false;
  LedColour colour{};
  if (pending_) nextStepMs_ = nowMs;
  pending_ = false;
  while (nextStepMs_ <= nowMs) {
    const std::int64_t at = CatchUpTime(nextStepMs_, nowMs);
    colour = Step(at);
    stepped = true;
    const std::int64_t period =
        static_cast<std::int64_t>(kSlowTimingRow[LightEffectCodes::ClampLevel(parameters_.speed)]) * kTickMs;
    if (effect_ == CommonEffect::kStatic || effect_ == CommonEffect::kOff)
      nextStepMs_ = kNeverDue;
    else if (effect_ == CommonEffect::kFlash)
      nextStepMs_ = std::max(at + period,
                             lastToggleMs_ + LightSteps::FlashTimeMs(parameters_.speed, kFlashToggleUnitMs));
    else
      nextStepMs_ = at + period;
  }
  if (stepped)
    for (LightSyncTarget* t : targets_)
      if (t->IsSyncPaused()) t->FillSyncColour(colour);
  return nextStepMs_;
}

}  // namespace ostrel
