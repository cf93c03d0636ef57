#pragma once

#include "../../base/RCBase.h"
#include "../../foundation/RCShdPtr.h"
#include "../VoHostExport.h"

#include <ostream>

namespace Vo {

/// The selected parts of one selection item (indices, sub-elements), compared and combined as sets.
/// Owns its parts; confined to the editor's thread (plain count).
class VO_HOST_API SnParts : public RCBase<int> {
public:
    SnParts &operator=(const SnParts &) = delete;

    ~SnParts() noexcept override;

    /// A new object with the same parts and count 0.
    virtual SnParts *clone() const = 0;
    /// True when other holds the same parts; false when other is null or of another class.
    /// \param other the parts compared, or null
    virtual bool isEqual(const RCShdPtr<SnParts const> &other) const = 0;
    /// True when every part of other is also a part of this object.
    /// \param other the parts looked for, or null
    virtual bool contains(const RCShdPtr<SnParts const> &other) const = 0;
    ///@{
    /// Whether there is no part; the number of parts; removes every part.
    virtual bool isEmpty() const = 0;
    virtual int getSize() const = 0;
    virtual void clear() = 0;
    ///@}
    /// Takes other's parts in place of its own.
    /// \param other the parts copied, or null
    virtual void replaceAllParts(const RCShdPtr<SnParts const> &other) = 0;
    ///@{
    /// The set operations report whether they changed anything.
    /// \param other the parts combined with these, or null
    virtual bool unionWith(const RCShdPtr<SnParts const> &other) = 0;
    virtual bool differenceWith(const RCShdPtr<SnParts const> &other) = 0;
    virtual bool xorWith(const RCShdPtr<SnParts const> &other) = 0;
    ///@}
    /// Writes a short diagnostic text of the parts.
    /// \param stream the stream written to
    virtual void dump(std::ostream &stream) const = 0;

protected:
    SnParts() noexcept = default;
    /// Copies start with count 0; derived classes copy their parts for clone.
    SnParts(const SnParts &) noexcept = default;
};

} // namespace Vo
