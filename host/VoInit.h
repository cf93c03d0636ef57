#pragma once

#include "VoHostExport.h"

// Package tags: one empty class per package of the application, used only as template arguments of
// InInit.
namespace VoInit {
class VO_HOST_API base {};
class VO_HOST_API primitives {};
class VO_HOST_API resmgt {};
class VO_HOST_API internalAPI {};
class VO_HOST_API pluginAPI {};
class VO_HOST_API shape {};
} // namespace VoInit
