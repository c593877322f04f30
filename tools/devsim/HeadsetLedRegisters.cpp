#include "devsim/HeadsetLedRegisters.h"

#include <algorithm>

#include "devsim/Protocol.h"

namespace ostrel::devsim {

std::optional<std::size_t> HeadsetLedRegisters::TargetIndex(std::uint8_t target) {
  for (std::size_t i = 0; i < std::size(kTargets); ++i) {
    if (kTargets[i] == target) return i;
  }
  return std::nullopt;
}

bool HeadsetLedRegisters::Apply(std::span<const std::uint8_t> report) {
  // Hosts may pad the report to the collection's longest output report.
  if (report.size() < kHeadsetLedReportSize || report[0] != kHeadsetLedReportId) return false;
  const auto target = TargetIndex(report[1]);
  const std::uint8_t reg = report[2];
  if (!target || reg < kFirstRegister || reg > kLastRegister) return false;
  std::lock_guard lock(mutex_);
  auto& values = values_[*target][reg - kFirstRegister];
  std::copy_n(report.begin() + 4, kValuesPerRegister, values.begin());
  reports_.emplace_back(report.begin(), report.begin() + kHeadsetLedReportSize);
  return true;
}

std::optional<std::array<std::uint8_t, HeadsetLedRegisters::kValuesPerRegister>>
HeadsetLedRegisters::Register(std::uint8_t target, std::uint8_t reg) const {
  const auto index = TargetIndex(target);
  if (!index || reg < kFirstRegister || reg > kLastRegister) return std::nullopt;
  std::lock_guard lock(mutex_);
  return values_[*index][reg - kFirstRegister];
}

LedColour HeadsetLedRegisters::Colour(std::uint8_t target, std::size_t led) const {
  const auto index = TargetIndex(target);
  if (!index || led >= kLedCount) return {};
  // LEDs 0-6 live in registers 0xAA-0xAC, LEDs 7-12 in 0xAD-0xAF (six values;
  // the seventh byte of those registers drives nothing).
  const std::size_t bank = led < 7 ? 0 : 3;
  const std::size_t slot = led < 7 ? led : led - 7;
  std::lock_guard lock(mutex_);
  const auto& regs = values_[*index];
  return {regs[bank][slot], regs[bank + 1][slot], regs[bank + 2][slot]};
}

std::vector<std::vector<std::uint8_t>> HeadsetLedRegisters::Reports() const {
  std::lock_guard lock(mutex_);
  return reports_;
}

void HeadsetLedRegisters::Clear() {
  std::lock_guard lock(mutex_);
  values_ = {};
  reports_.clear();
}

}  // namespace ostrel::devsim
