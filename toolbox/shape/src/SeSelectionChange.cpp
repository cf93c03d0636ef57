#include "SeSelectionChange.h"

#include <algorithm>

namespace Vo {

SeSelectionChange::SeSelectionChange() = default;
SeSelectionChange::SeSelectionChange(const SeSelectionChange &) = default;
SeSelectionChange &SeSelectionChange::operator=(const SeSelectionChange &) = default;
SeSelectionChange::SeSelectionChange(SeSelectionChange &&) noexcept = default;
SeSelectionChange &SeSelectionChange::operator=(SeSelectionChange &&) noexcept = default;
SeSelectionChange::~SeSelectionChange() = default;

// Beyond that a view reads the selection again at the cost of reading the places.
std::size_t SeSelectionChange::getSmallLimit(std::size_t sizeBefore,
                                             std::size_t sizeAfter) noexcept {
    return std::max<std::size_t>(64, std::max(sizeBefore, sizeAfter) / 4);
}

} // namespace Vo
