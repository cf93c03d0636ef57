#pragma once

// Moved: include base/RCException.h; this forwarding header goes in the next major release.
#include "../base/RCException.h"
