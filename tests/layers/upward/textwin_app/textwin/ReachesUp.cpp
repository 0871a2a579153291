// Probe for the include check, never compiled: the conversion window must not reach
// into the main window's folder.
#include "app/Settings.h"
