#pragma once

// Moved: include base/RCExUtil.h; this forwarding header goes in the next major release.
#include "../base/RCExUtil.h"
