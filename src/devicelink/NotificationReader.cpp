#include "devicelink/NotificationReader.h"

#include <vector>

#include "platform/os/DebugLog.h"

namespace ostrel {

void NotificationReader::Start(DeviceChannel& channel, UsageCallback onUsage) {
  worker_.Start(
      [&channel, onUsage = std::move(onUsage)](const StopEvent& stop) { Run(stop, channel, onUsage); });
}

WorkerThread::StopResult NotificationReader::Stop() { return worker_.Stop(); }

void NotificationReader::Run(const StopEvent& stop, DeviceChannel& channel, const UsageCallback& onUsage) {
  // The reader keeps its own report buffer and item list: the window thread
  // may close (and release) the link's own while a read is being decoded.
  std::vector<std::uint8_t> report;
  std::vector<HidDataItem> items;
  bool described = false;
  std::chrono::milliseconds pause = kStopPoll;
  while (!stop.Wait(pause)) {
    pause = kStopPoll;
    if (!channel.IsConnected()) {
      described = false;
      pause = kIdlePause;
      continue;
    }
    if (!described) {
      channel.LockTransport();
      if (channel.Link().IsOpen()) {
        report.assign(channel.Link().Caps().InputReportByteLength, 0);
        items = channel.Link().InputItems();
        described = !report.empty();
      }
      channel.UnlockTransport();
      if (!described) {
        pause = kIdlePause;
        continue;
      }
    }
    std::uint32_t count = 0;
    if (!channel.Link().Read(static_cast<std::uint32_t>(report.size()), report.data(), HidLink::kInfinite,
                             &count)) {
      pause = kIdlePause;
      continue;
    }
    if (!channel.Link().UnpackInputReport(report.data(), static_cast<std::uint32_t>(report.size()),
                                          HidP_Input, items))
      continue;
    std::uint16_t usage = 0;
    for (const HidDataItem& item : items) {
      if (item.ReportID != report[0]) continue;
      if (item.IsButtonData && !item.ButtonData.Usages.empty()) usage = item.ButtonData.Usages[0];
      break;
    }
    // A release report names no usage.
    if (usage == 0) continue;
    OutputDebugString("接收到自动添加设备的同步信息要求  TEST");
    if (onUsage) onUsage(usage);
  }
  OutputDebugString("MS设备同步线程设定退出");
}

}  // namespace ostrel
