#include "controls/CWndUI.h"

// Everything of CWndUI is inline: without a hosted window there is nothing
// to move, show or hide beyond the control itself.
