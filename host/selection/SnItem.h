#pragma once

#include "../../base/RCBase.h"
#include "../../foundation/RCShdPtr.h"
#include "../VoHostExport.h"

#include <ostream>

namespace Vo {

class SnParts;

/// One element of a selection: what is selected (the derived class's data) and, optionally, which
/// parts of it (an SnParts shared with the item's copies). An item is not changed once it is in a
/// selection; a change builds a new item and swaps it in.
/// Thread safety: plain count; an item and the selections holding it stay on one thread.
class VO_HOST_API SnItem : public RCBase<int> {
public:
    SnItem &operator=(const SnItem &) = delete;

    ~SnItem() noexcept override;

    /// A new copy with count 0, of the same class, sharing the parts.
    virtual SnItem *clone() const = 0;
    /// True when other is of the same class and stands for the same thing; parts are not compared.
    /// \param other the item compared, of any class
    virtual bool isEqualImp(const SnItem &other) const = 0;
    /// Writes the parts line: "Parts:     none\n" without parts, otherwise the parts' own text.
    /// Derived classes add their data's lines after it.
    /// \param out the stream written to
    virtual void dump(std::ostream &out) const;
    /// A snapshot of the item's changeable state, which is its parts: an independent copy of them
    /// (count 0 until held), null when the item has none.
    virtual RCShdPtr<SnParts> snapshot() const;
    /// Takes the parts back from a snapshot (a copy of it; null removes the parts). Only for items
    /// that no selection holds yet, since items in a selection never change.
    /// \param snapshot parts from snapshot(), copied; null selects the whole object
    virtual void restore(const RCShdPtr<SnParts const> &snapshot);

    /// Whether the item names parts of its object rather than the whole.
    bool hasParts() const noexcept { return !parts.isNull(); }
    /// The parts, or null for the whole object.
    RCShdPtr<SnParts const> getParts() const;
    /// isEqualImp, and the parts equal: both null, or both present and equal by SnParts::isEqual.
    /// \param other the item compared, of any class
    bool isEqual(const SnItem &other) const;

protected:
    /// parts may be null: the item is selected as a whole.
    /// \param parts the selected parts, shared with the item's copies, or null
    explicit SnItem(const RCShdPtr<SnParts> &parts);
    /// Shares other's parts; the copy starts with count 0.
    /// \param other the item copied
    SnItem(const SnItem &other);

private:
    RCShdPtr<SnParts> parts;
};

} // namespace Vo
