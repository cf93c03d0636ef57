#pragma once

// Moved: include base/RCCountTraits.h; this forwarding header goes in the next major release.
#include "../base/RCCountTraits.h"
