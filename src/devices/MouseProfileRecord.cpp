#include "devices/MouseProfileRecord.h"

#include <algorithm>

namespace ostrel {

namespace {

std::uint8_t Byte(int value) { return static_cast<std::uint8_t>(std::clamp(value, 0, 0xFF)); }

void PutU16(std::array<std::uint8_t, MouseProfileRecord::kWriteLength>& out, std::size_t at, int value) {
  const auto v = static_cast<std::uint16_t>(std::clamp(value, 0, 0xFFFF));
  out[at] = static_cast<std::uint8_t>(v & 0xFF);
  out[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

}  // namespace

std::uint8_t MouseProfileRecord::SpeedByte(int speed, bool wireless) {
  const int clamped = std::clamp(speed, 0, kHighestSpeed);
  return static_cast<std::uint8_t>(wireless ? kHighestSpeed - clamped : clamped);
}

int MouseProfileRecord::SpeedFromByte(std::uint8_t byte, bool wireless) {
  const int clamped = std::min<int>(byte, kHighestSpeed);
  return wireless ? kHighestSpeed - clamped : clamped;
}

std::array<std::uint8_t, MouseProfileRecord::kWriteLength> MouseProfileRecord::Build(
    const MouseRecordInput& input) {
  std::array<std::uint8_t, kWriteLength> out{};
  const LightSetting& light = input.light;
  out[1] = light.selectItem >= kDeviceModeCount ? 0 : light.selectItem;
  out[2] = light.light;
  out[3] = SpeedByte(light.speed, input.wireless);
  out[4] = light.fx;
  out[5] = light.multiColor;
  out[6] = light.red;
  out[7] = light.green;
  out[8] = light.blue;
  out[11] = input.pollingRate >= 0 && input.pollingRate < kPollingRateCount ? Byte(input.pollingRate) : 0;
  out[12] = Byte(input.activeStage);
  const std::size_t stages = std::min<std::size_t>(input.stages.size(), kStageCount);
  for (std::size_t i = 0; i < stages; ++i) {
    const auto bytes = input.stages[i].ToBytes();
    std::copy(bytes.begin(), bytes.end(), out.begin() + static_cast<std::ptrdiff_t>(kStageOffset + 9 * i));
  }
  out[59] = 1;
  PutU16(out, 60, input.screenWidth);
  PutU16(out, 62, input.screenHeight);
  for (const CorrectEntry& entry : input.correction) {
    if (entry.correctSelect == 0) continue;
    out[64] = entry.correctMinSq;
    out[65] = entry.correctPixThresh;
    break;
  }
  return out;
}

std::optional<MouseRecordState> MouseProfileRecord::Parse(std::span<const std::uint8_t> record,
                                                          bool wireless) {
  if (record.size() < 13) return std::nullopt;
  MouseRecordState state;
  state.lightMode = record[1];
  state.brightness = record[2];
  state.speed = SpeedFromByte(record[3], wireless);
  state.multiColour = record[5];
  state.red = record[6];
  state.green = record[7];
  state.blue = record[8];
  state.activeStage = record[12];
  return state;
}

}  // namespace ostrel
