#pragma once

// Moved: include base/LkCounter.h; this forwarding header goes in the next major release.
#include "../base/LkCounter.h"
