#include "host/graph/PiCompositionGraphInterface.h"

namespace Vo {

PiCompositionGraphInterface::PiCompositionGraphInterface() : selection(SnSelection::create()) {}

PiCompositionGraphInterface::~PiCompositionGraphInterface() noexcept = default;

RCShdPtr<SnSelection> PiCompositionGraphInterface::getSelection() const { return selection; }

} // namespace Vo
