#pragma once

// Moved: include host/selection/SnPartsBasic.h; this forwarding header goes in the next major
// release.
#include "selection/SnPartsBasic.h"
