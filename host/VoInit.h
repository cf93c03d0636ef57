#pragma once

// Package tags: one empty class per package of the application, used only as template arguments of
// InInit.
namespace VoInit {
class base {};
class primitives {};
class resmgt {};
class internalAPI {};
class pluginAPI {};
class shape {};
} // namespace VoInit
