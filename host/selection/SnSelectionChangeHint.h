#pragma once

#include "../ObHint.h"
#include "../ObSubject.h"
#include "../VoHostExport.h"
#include "Sn.h"

namespace Vo {

// The hint that a selection's items changed; names the subject of the changed selection, which it
// borrows for identity only (it may be gone by the time the hint is read).
class VO_HOST_API SnSelectionChangeHint : public ObHint {
public:
    explicit SnSelectionChangeHint(const ObSubject<Sn> *subject) noexcept;

    const ObSubject<Sn> *getSubject() const noexcept { return subject; }

protected:
    ~SnSelectionChangeHint() noexcept override;

private:
    const ObSubject<Sn> *subject;
};

} // namespace Vo
