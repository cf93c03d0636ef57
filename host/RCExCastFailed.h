#pragma once

// Moved: include base/RCExCastFailed.h; this forwarding header goes in the next major release.
#include "../base/RCExCastFailed.h"
