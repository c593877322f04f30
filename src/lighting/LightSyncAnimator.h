#pragma once
// Lighting synchronisation: one common effect animated into every paused
// page, keyboards and the other types alike.

#include <cstdint>
#include <mutex>
#include <vector>

#include "lighting/LightEffectCodes.h"
#include "lighting/LightSchedule.h"
#include "lighting/LightSyncTarget.h"
#include "profiles/LightSetting.h"

namespace ostrel {

class LightSyncAnimator : public LightSchedule {
 public:
  // The pages it may write into (only the paused ones are written).
  void SetTargets(std::vector<LightSyncTarget*> targets);
  // The common effect and its parameters: brightness level, speed,
  // direction, multi-colour and colour of `parameters`. Restarts the effect.
  void SetCommonEffect(CommonEffect effect, const LightSetting& parameters);
  CommonEffect Effect() const;
  // The record a page of `deviceType` shows during synchronisation: the
  // source page's main record with its effect code replaced by the page's
  // code of the common effect. The source's code maps to no common effect:
  // false, and nothing is written.
  static bool PageRecord(int sourceType, const LightSetting& source, int deviceType, LightSetting& out);

  // Nothing is due while no target is paused.
  std::int64_t RunDue(std::int64_t nowMs) override;

  std::uint8_t Phase() const { return phase_; }
  std::uint8_t ColourIndex() const { return colourIndex_; }

 private:
  LedColour Step(std::int64_t nowMs);

  mutable std::mutex mutex_;
  std::vector<LightSyncTarget*> targets_;
  CommonEffect effect_ = CommonEffect::kNone;
  LightSetting parameters_;
  std::uint8_t phase_ = 0;
  std::uint8_t colourIndex_ = 0;
  std::uint8_t toggle_ = 0;
  std::int64_t lastToggleMs_ = 0;
  std::int64_t nextStepMs_ = 0;
  bool pending_ = true;
  std::size_t pausedCount_ = 0;
};

}  // namespace ostrel
