// Compiled into every target that links Vo::shape. Its one reference to libVoshape keeps the
// library, and so the registration of its package, when the linker drops the shared libraries a
// program calls nothing of (--as-needed), as an application that reaches libVoshape only through
// the package registry does.
#include "InInitShape.h"

#include <typeinfo>

namespace {

[[maybe_unused]] const std::type_info *const voShapeLinkAnchor =
    Vo::InInit<VoInit::shape>::getType();

} // namespace
