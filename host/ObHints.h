#pragma once

#include "../foundation/RCShdPtr.h"
#include "../foundation/Vector.h"
#include "ObHint.h"
#include "VoHostExport.h"

namespace Vo {

/// The hints of one notification, in the order they were added; shares each hint.
class VO_HOST_API ObHints {
public:
    ObHints() noexcept;
    ///@{
    /// Copies the hints (each hint is shared, not copied).
    /// \param other the hints copied
    ObHints(const ObHints &other);
    ObHints &operator=(const ObHints &other);
    ///@}
    ~ObHints() noexcept;

    /// Appends hint. Raises RCExNullPtr naming `Vo::ObHint*` when hint is null; nothing is added
    /// then.
    /// \param hint the hint, shared
    void add(const RCShdPtr<ObHint> &hint);
    /// The hints, in the order they were added.
    const Vector<RCShdPtr<ObHint>> &getContainer() const noexcept { return hints; }

private:
    Vector<RCShdPtr<ObHint>> hints;
};

} // namespace Vo
