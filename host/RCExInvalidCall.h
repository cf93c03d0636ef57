#pragma once

// Moved: include base/RCExInvalidCall.h; this forwarding header goes in the next major release.
#include "../base/RCExInvalidCall.h"
