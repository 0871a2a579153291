// The program's process-wide values live with the platform layer, where every subsystem
// may read them; this name stays for the main window's code.
#pragma once

#include "platform/mGlyfora.h"
