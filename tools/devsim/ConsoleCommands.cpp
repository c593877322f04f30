#include "devsim/ConsoleCommands.h"

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <sstream>

namespace ostrel::devsim {
namespace {

struct HelpLine {
  std::string_view usage;
  std::string_view text;
};

constexpr HelpLine kHelp[] = {
    {"help", "this text"},
    {"list", "the devices with their ids, connections and state"},
    {"plug MODEL [NAME]", "plug in a new device (keyboard, mouse, receiver, mousepad, headset)"},
    {"unplug DEVICE", "unplug a device (it keeps its memory)"},
    {"replug DEVICE", "plug it in again under the same name"},
    {"press DEVICE SLOT", "key SLOT goes down and up (usages 0x0500+SLOT, 0x0600+SLOT)"},
    {"down DEVICE SLOT | up DEVICE SLOT", "only one half of a key press"},
    {"profile DEVICE N", "switch the onboard profile on the device (usage 0x0401)"},
    {"notify DEVICE USAGE", "send any notification usage, e.g. 0x0402"},
    {"battery DEVICE PERCENT [STATE]", "power status; STATE 0 on battery, 1 charging, 2 cable"},
    {"phone DEVICE N", "mouse pad: phone on the charger, 1 iPhone, 2 Samsung, 3 other, 0 none"},
    {"link DEVICE up|down", "receiver: the mouse comes into or goes out of reach"},
    {"fault DEVICE silent|otherid|clear", "stop answering, answer another command first, behave again"},
    {"fault DEVICE delay MS", "answer MS milliseconds late"},
    {"fault DEVICE status ff|fe [CMD [N]]", "error status (only command CMD, only its N-th frame)"},
    {"fault DEVICE drop N", "lose every N-th reply"},
    {"fault DEVICE unplug N", "vanish when the N-th frame arrives"},
    {"interval DEVICE MS", "the simulated USB interval (default 1)"},
    {"trace DEVICE on|off", "print every report the device receives (<) and sends (>)"},
    {"quit", "unplug everything and leave"},
};

std::optional<unsigned long> Number(const std::string& text, unsigned long highest) {
  if (text.empty()) return std::nullopt;
  char* end = nullptr;
  const unsigned long value = std::strtoul(text.c_str(), &end, 0);
  if (end == nullptr || *end != '\0' || text[0] == '-' || value > highest) return std::nullopt;
  return value;
}

std::optional<unsigned long> HexByte(const std::string& text) {
  char* end = nullptr;
  const unsigned long value = std::strtoul(text.c_str(), &end, 16);
  if (text.empty() || *end != '\0' || value > 0xFF) return std::nullopt;
  return value;
}

std::string Hex4(unsigned value) {
  char text[8];
  std::snprintf(text, sizeof text, "%04x", value & 0xFFFF);
  return text;
}

constexpr std::string_view kSupplyNames[] = {"on battery", "charging", "cable"};

// The report in hex, trailing zeros after the frame header left out.
std::string TraceLine(const std::string& name, const LoggedReport& report) {
  std::string line = name + (report.direction == LoggedReport::Direction::kFromHost ? " < " : " > ");
  std::size_t shown = report.bytes.size();
  while (shown > 8 && report.bytes[shown - 1] == 0) --shown;
  char digits[4];
  for (std::size_t i = 0; i < shown; ++i) {
    std::snprintf(digits, sizeof digits, "%02x", report.bytes[i]);
    line += (i ? " " : "") + std::string(digits);
  }
  if (shown < report.bytes.size()) line += " ...";
  return line;
}

}  // namespace

ConsoleCommands::~ConsoleCommands() {
  for (SimulatedDevice* device : simulator_.Devices()) device->Log().SetListener({});
}

void ConsoleCommands::Trace(SimulatedDevice& device, const Args& args, std::ostream& out,
                            std::ostream& traceOut) {
  if (args.empty() || (args[0] != "on" && args[0] != "off")) {
    out << "trace: on or off\n";
    return;
  }
  if (args[0] == "off") {
    device.Log().SetListener({});
  } else {
    device.Log().SetListener([this, name = device.Name(), &traceOut](const LoggedReport& report) {
      std::lock_guard lock(outputMutex_);
      traceOut << TraceLine(name, report) << std::endl;
    });
  }
  out << device.Name() << ": trace " << args[0] << "\n";
}

void ConsoleCommands::PrintHelp(std::ostream& out) {
  out << "Commands (DEVICE may be left out while only one device is plugged):\n";
  for (const HelpLine& line : kHelp) {
    out << "  " << line.usage;
    for (std::size_t pad = line.usage.size(); pad < 38; ++pad) out << ' ';
    out << line.text << "\n";
  }
}

void ConsoleCommands::PrintList(std::ostream& out) {
  const auto devices = simulator_.Devices();
  if (devices.empty()) {
    out << "no devices\n";
    return;
  }
  for (SimulatedDevice* device : devices) {
    const auto& d = device->Description();
    const PowerStatus power = device->State().Power();
    out << device->Name() << ": " << device->Model().name << " " << Hex4(d.vendorId) << ":"
        << Hex4(d.productId) << " interface " << int(d.interfaceNumber) << ", "
        << (device->IsPlugged() ? "plugged in" : "unplugged") << ", " << device->ConnectionCount()
        << " connection(s), profile " << int(device->State().CurrentProfile()) << ", battery "
        << int(power.battery) << "% "
        << (power.supply < std::size(kSupplyNames) ? kSupplyNames[power.supply]
                                                   : "state " + std::to_string(power.supply));
    if (device->Model().wireless) out << ", link " << (device->State().LinkUp() ? "up" : "down");
    out << "\n";
  }
}

SimulatedDevice* ConsoleCommands::TakeDevice(Args& args, std::ostream& out) {
  if (!args.empty()) {
    if (SimulatedDevice* device = simulator_.Find(args.front())) {
      args.erase(args.begin());
      return device;
    }
  }
  const auto devices = simulator_.Devices();
  if (devices.size() == 1) return devices.front();
  out << (devices.empty() ? "no devices\n" : "name the device (see \"list\")\n");
  return nullptr;
}

void ConsoleCommands::Fault(SimulatedDevice& device, const Args& args, std::ostream& out) {
  if (args.empty()) {
    out << "fault: say which (silent, delay, otherid, status, drop, unplug, clear)\n";
    return;
  }
  FaultSettings faults = device.Faults();
  const std::string& kind = args[0];
  const auto argument = [&](std::size_t i, unsigned long highest) -> std::optional<unsigned long> {
    return i < args.size() ? Number(args[i], highest) : std::nullopt;
  };
  if (kind == "clear") {
    faults = {};
  } else if (kind == "silent") {
    faults.silent = true;
  } else if (kind == "otherid") {
    faults.otherIdFirst = true;
  } else if (kind == "delay" && argument(1, 600000)) {
    faults.replyDelay = std::chrono::milliseconds(*argument(1, 600000));
  } else if (kind == "drop" && argument(1, 1000000)) {
    faults.dropEvery = static_cast<unsigned>(*argument(1, 1000000));
  } else if (kind == "unplug" && argument(1, 1000000)) {
    faults.unplugAfterFrames = static_cast<unsigned>(*argument(1, 1000000));
  } else if (kind == "status" && args.size() >= 2 && HexByte(args[1])) {
    faults.statusError = static_cast<std::uint8_t>(*HexByte(args[1]));
    faults.statusErrorCommand = 0;
    faults.statusErrorFrame = 0;
    if (args.size() >= 3) {
      const auto command = Number(args[2], 0xFF);
      if (!command) {
        out << "fault status: CMD is a command id such as 6 or 0xAA\n";
        return;
      }
      faults.statusErrorCommand = static_cast<std::uint8_t>(*command);
    }
    if (args.size() >= 4) {
      const auto frame = Number(args[3], 1000000);
      if (!frame) {
        out << "fault status: N is a frame count\n";
        return;
      }
      faults.statusErrorFrame = static_cast<unsigned>(*frame);
    }
  } else {
    out << "fault: cannot read \"";
    for (std::size_t i = 0; i < args.size(); ++i) out << (i ? " " : "") << args[i];
    out << "\" (see \"help\")\n";
    return;
  }
  device.SetFaults(faults);
  out << device.Name() << ": faults set\n";
}

bool ConsoleCommands::Execute(std::string_view line, std::ostream& out) {
  // Written out whole at the end: a trace may print meanwhile, and the lock
  // must not be held while a device is unplugged (its thread may be tracing).
  std::ostringstream text;
  const bool keepRunning = Run(line, text, out);
  std::lock_guard lock(outputMutex_);
  out << text.str() << std::flush;
  return keepRunning;
}

bool ConsoleCommands::Run(std::string_view line, std::ostream& out, std::ostream& traceOut) {
  std::istringstream words{std::string(line)};
  Args args;
  for (std::string word; words >> word;) args.push_back(word);
  if (args.empty() || args[0][0] == '#') return true;
  const std::string command = args[0];
  args.erase(args.begin());

  if (command == "quit" || command == "exit") {
    simulator_.UnplugAll();
    out << "unplugged everything\n";
    return false;
  }
  if (command == "help" || command == "?") {
    PrintHelp(out);
    return true;
  }
  if (command == "list") {
    PrintList(out);
    return true;
  }
  if (command == "plug") {
    if (args.empty() || args.size() > 2) {
      out << "plug: MODEL [NAME]\n";
      return true;
    }
    DeviceOptions options = defaults_;
    if (args.size() == 2) options.name = args[1];
    SimResult result;
    if (SimulatedDevice* device = simulator_.Plug(args[0], options, &result)) {
      out << device->Name() << ": plugged in at " << device->SocketPath() << "\n";
    } else {
      out << "plug: " << result.message << "\n";
    }
    return true;
  }

  const bool known = command == "unplug" || command == "replug" || command == "press" || command == "down" ||
                     command == "up" || command == "profile" || command == "notify" || command == "battery" ||
                     command == "phone" || command == "link" || command == "fault" || command == "interval" ||
                     command == "trace";
  if (!known) {
    out << "unknown command \"" << command << "\" (see \"help\")\n";
    return true;
  }
  SimulatedDevice* device = TakeDevice(args, out);
  if (device == nullptr) return true;
  const std::string& name = device->Name();
  const auto first = [&](unsigned long highest) -> std::optional<unsigned long> {
    return args.empty() ? std::nullopt : Number(args[0], highest);
  };

  if (command == "unplug") {
    device->Unplug();
    out << name << ": unplugged\n";
  } else if (command == "replug") {
    const SimResult result = simulator_.Replug(name);
    out << name << (result ? ": plugged in again\n" : ": " + result.message + "\n");
  } else if (command == "press" || command == "down" || command == "up") {
    const auto slot = first(0xFF);
    if (!slot) {
      out << command << ": SLOT is a key slot number 0-255\n";
    } else if (!device->HasNotifications()) {
      out << name << ": this model sends no key events\n";
    } else {
      const auto s = static_cast<std::uint8_t>(*slot);
      const bool sent = command == "press"  ? device->PressKey(s)
                        : command == "down" ? device->SendKeyDown(s)
                                            : device->SendKeyUp(s);
      out << name << (sent ? ": key event sent\n" : ": not plugged in\n");
    }
  } else if (command == "profile") {
    const auto profile = first(0xFF);
    if (!profile || *profile >= device->Model().profileCount) {
      out << "profile: N is 0-" << device->Model().profileCount - 1 << "\n";
    } else {
      const bool sent = device->SwitchProfile(static_cast<std::uint8_t>(*profile));
      out << name << ": profile " << *profile << (sent ? "\n" : " (the host was not told: not plugged in)\n");
    }
  } else if (command == "notify") {
    const auto usage = first(0xFFFF);
    if (!usage) {
      out << "notify: USAGE is a number such as 0x0401\n";
    } else {
      out << name
          << (device->SendNotification(static_cast<std::uint16_t>(*usage)) ? ": sent\n" : ": not sent\n");
    }
  } else if (command == "battery") {
    const auto percent = first(100);
    const auto state = args.size() >= 2 ? Number(args[1], 0xFF) : std::optional<unsigned long>(0);
    if (!percent || !state) {
      out << "battery: PERCENT 0-100 [STATE 0-2]\n";
    } else {
      PowerStatus power = device->State().Power();
      power.battery = static_cast<std::uint8_t>(*percent);
      power.supply = static_cast<std::uint8_t>(*state);
      device->State().SetPower(power);
      out << name << ": battery " << *percent << "%\n";
    }
  } else if (command == "phone") {
    const auto phone = first(0xFF);
    if (!phone) {
      out << "phone: N is 0-3\n";
    } else {
      PowerStatus power = device->State().Power();
      power.phone = static_cast<std::uint8_t>(*phone);
      device->State().SetPower(power);
      out << name << ": phone type " << *phone << "\n";
    }
  } else if (command == "link") {
    if (!device->Model().wireless) {
      out << name << ": a wired device has no link to lose\n";
    } else if (args.empty() || (args[0] != "up" && args[0] != "down")) {
      out << "link: up or down\n";
    } else {
      device->State().SetLinkUp(args[0] == "up");
      out << name << ": link " << args[0] << "\n";
    }
  } else if (command == "interval") {
    const auto ms = first(10000);
    if (!ms) {
      out << "interval: MS 0-10000\n";
    } else {
      device->SetUsbInterval(std::chrono::milliseconds(*ms));
      out << name << ": USB interval " << *ms << " ms\n";
    }
  } else if (command == "fault") {
    Fault(*device, args, out);
  } else if (command == "trace") {
    Trace(*device, args, out, traceOut);
  }
  return true;
}

}  // namespace ostrel::devsim
