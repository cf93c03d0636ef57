#include "SeSelectionChange.h"

namespace Vo {

SeSelectionChange::SeSelectionChange() = default;
SeSelectionChange::SeSelectionChange(const SeSelectionChange &) = default;
SeSelectionChange &SeSelectionChange::operator=(const SeSelectionChange &) = default;
SeSelectionChange::~SeSelectionChange() = default;

} // namespace Vo
