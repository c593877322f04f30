#pragma once
// Makes the program's own controls known to the layout builder: the class
// names ("CSelectPanelUI" ...) and the element names the layouts use
// ("SelectPanel" ...). Called once at start-up, before the first layout.

namespace ostrel {

class CControlUI;

struct ProgramControlName {
  const char* name;
  // A new default-constructed control.
  CControlUI* (*create)();
};

// Every name registered, class names in start-up order, then element names.
const ProgramControlName* ProgramControlNames(int* count);

void RegisterProgramControls();

}  // namespace ostrel
