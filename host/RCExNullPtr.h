#pragma once

// Moved: include base/RCExNullPtr.h; this forwarding header goes in the next major release.
#include "../base/RCExNullPtr.h"
