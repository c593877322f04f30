#include "devices/KeyboardProfileRecord.h"

#include <algorithm>

namespace ostrel {
namespace {

struct ZoneBytes {
  std::uint8_t mode, light, speed, fx, multiColor, red, green, blue;
};

void PutZone(KeyboardProfileRecord::Bytes& out, std::size_t at, const ZoneBytes& zone) {
  out[at] = KeyboardProfileRecord::Mode(zone.mode);
  out[at + 1] = zone.light;
  out[at + 2] = KeyboardProfileRecord::StoredSpeed(zone.speed);
  out[at + 3] = zone.fx;
  out[at + 4] = zone.multiColor;
  out[at + 5] = zone.red;
  out[at + 6] = zone.green;
  out[at + 7] = zone.blue;
}

ZoneBytes TakeZone(std::span<const std::uint8_t> in, std::size_t at) {
  return {KeyboardProfileRecord::Mode(in[at]),
          in[at + 1],
          KeyboardProfileRecord::SpeedOfStored(in[at + 2]),
          in[at + 3],
          in[at + 4],
          in[at + 5],
          in[at + 6],
          in[at + 7]};
}

}  // namespace

std::uint8_t KeyboardProfileRecord::StoredSpeed(std::uint8_t speed) {
  return static_cast<std::uint8_t>(kMaxSpeed - std::min(speed, kMaxSpeed));
}

std::uint8_t KeyboardProfileRecord::SpeedOfStored(std::uint8_t stored) {
  return static_cast<std::uint8_t>(kMaxSpeed - std::min(stored, kMaxSpeed));
}

KeyboardProfileRecord::Bytes KeyboardProfileRecord::Build(const LightSetting& main, const LightSetting& logo,
                                                          const LightSetting& strip,
                                                          const KeyboardSystemSettings& system,
                                                          std::uint8_t firstByte) {
  Bytes out{};
  out[0] = firstByte;
  PutZone(
      out, kMainZone,
      {main.selectItem, main.light, main.speed, main.fx, main.multiColor, main.red, main.green, main.blue});
  out[kZzccLedMode] = main.zzccLedMode;
  out[kWFlag] = Flag(system.wFlag);
  out[kSixKeyFlag] = Flag(system.key6Flag);
  out[kWinLockFlag] = Flag(system.winFlag);
  out[kPollingRate] = static_cast<std::uint8_t>(Option(system.pollingRate));
  out[kScanDelay] = static_cast<std::uint8_t>(Option(system.scanDelay));
  out[kCustomGroup] = main.customLightModeGroupIndex;
  PutZone(out, kLogoZone,
          {logo.logoSelectItem, logo.logoLight, logo.logoSpeed, logo.logoFx, logo.logoMultiColor,
           logo.logoRed, logo.logoGreen, logo.logoBlue});
  out[kLogoOnOff] = logo.rgbDengOffOn;
  PutZone(out, kStripZone,
          {strip.stSelectItem, strip.stLight, strip.stSpeed, strip.stFx, strip.stMultiColor, strip.stRed,
           strip.stGreen, strip.stBlue});
  return out;
}

bool KeyboardProfileRecord::ReadZones(std::span<const std::uint8_t> record, LightSetting& main,
                                      LightSetting& logo, LightSetting& strip) {
  if (record.size() < kSize) return false;
  const ZoneBytes m = TakeZone(record, kMainZone);
  main.selectItem = m.mode, main.light = m.light, main.speed = m.speed, main.fx = m.fx;
  main.multiColor = m.multiColor, main.red = m.red, main.green = m.green, main.blue = m.blue;
  main.zzccLedMode = record[kZzccLedMode];
  main.customLightModeGroupIndex = record[kCustomGroup];
  const ZoneBytes l = TakeZone(record, kLogoZone);
  logo.logoSelectItem = l.mode, logo.logoLight = l.light, logo.logoSpeed = l.speed, logo.logoFx = l.fx;
  logo.logoMultiColor = l.multiColor, logo.logoRed = l.red, logo.logoGreen = l.green, logo.logoBlue = l.blue;
  logo.rgbDengOffOn = record[kLogoOnOff];
  const ZoneBytes s = TakeZone(record, kStripZone);
  strip.stSelectItem = s.mode, strip.stLight = s.light, strip.stSpeed = s.speed, strip.stFx = s.fx;
  strip.stMultiColor = s.multiColor, strip.stRed = s.red, strip.stGreen = s.green, strip.stBlue = s.blue;
  return true;
}

}  // namespace ostrel
