#pragma once

// Moved: include foundation/RCSWBase.h; this forwarding header goes in the next major release.
#include "../foundation/RCSWBase.h"
