#pragma once

// Moved: include base/RCBase.h; this forwarding header goes in the next major release.
#include "../base/RCBase.h"
