// Probe for the include check, never compiled: the picture routines must not use the
// conversion engine that stands on them.
#pragma once

#include "convert/ScanRegion.h"
