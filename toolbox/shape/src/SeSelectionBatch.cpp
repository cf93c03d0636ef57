#include "SeSelectionBatch.h"

#include <exception>

namespace Vo {

SeSelectionBatch::SeSelectionBatch(const RCShdPtr<SeShapeSelector> &shapeSelector)
    : selector(shapeSelector), uncaughtAtStart(std::uncaught_exceptions()),
      outermost(!selector->isBatchOpen()) {
    selector->beginBatch();
}

SeSelectionBatch::~SeSelectionBatch() noexcept(false) {
    // An exception leaving this scope abandons the batch; abandoning raises nothing.
    selector->endBatch(std::uncaught_exceptions() <= uncaughtAtStart);
}

void SeSelectionBatch::cancel() noexcept { selector->cancelBatch(); }

} // namespace Vo
