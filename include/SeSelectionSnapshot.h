#pragma once

#include "SeShape.h"
#include "SeShapeInterface.h"
#include "SeShapeSelector.h"
#include "VoShapeExport.h"

#include "foundation/RCShdPtr.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace Vo {

/// A selector's whole selection kept aside as plain values, to save it to a file or keep it under a
/// name and put it back later: its shapes by identity key (SeIdentityKey), in selection order (the
/// first primary), each whole or with its points and handles in selection order, and the picking
/// state. Owns its values; holds no shape.
///
/// Text form, one line each, ending with '\n' (the last may lack it); words are separated by spaces
/// or tabs; blank lines and lines whose first word starts with '#' are skipped:
///     voshape-selection 1                        first: the form and its version
///     picking TYPE INDEX EXTREMITY               at most once, before the shapes (else 0 -1 -1)
///     shape KEY                                  a shape as a whole
///     shape KEY points I... handles I...         with parts; either list may be empty or left out
/// KEY is a decimal number from 0 to 18446744073709551615; TYPE, INDEX, EXTREMITY and each I are
/// decimal integers from -2147483648 to 2147483647. Numbers are written one way only: digits
/// without a leading zero, a '-' before a negative one, no '+'. An index appears at most once in
/// its list; a shape may repeat, as it may in a selection. Anything else (a control byte other than
/// a tab, a word too many) is refused, so that toText gives the one text of each snapshot and
/// fromText gives it back. Example (docs/examples/batches.cpp, run as a test):
/// \snippet batches.cpp snapshot
/// \snippet batches.cpp snapshot-refused
class VO_SHAPE_API SeSelectionSnapshot {
public:
    /// One selected shape, in selection order (the first primary).
    struct Entry {
        /// The shape's identity key.
        std::uint64_t key = 0;
        /// Whether the shape is selected as a whole (no points or handles).
        bool whole = true;
        ///@{
        /// Its selected points and handles, in selection order.
        std::vector<int> points;
        std::vector<int> handles;
        ///@}
    };
    /// The application's shape of a key; null when none has it.
    using Resolver = std::function<RCShdPtr<SeShape>(std::uint64_t key)>;
    /// What restore does with an entry that no longer resolves.
    enum class Unresolved { refuse, skip };
    /// The elements an index of an entry names.
    enum class Elements { points, handles };
    /// The number of points (handles) of a shape as the application counts them, for an input that
    /// does not tell it: a curve whose "Points" is one single-valued input, or a single-valued
    /// gradient. Negative when the application does not know either.
    using Counter = std::function<int(const SeShapeInterface &shape, Elements elements)>;

    /// The selector's selection and picking state as they are now. Raises RCExInvalidCall naming
    /// the place of a selected shape that is gone or makes no identity-key promise; RCExNullPtr
    /// for a null selector.
    /// \param selector the selector read; it does not change
    static SeSelectionSnapshot capture(const RCShdPtr<SeShapeSelector> &selector);
    /// The text form above, the one text of this snapshot.
    std::string toText() const;
    /// Raises RCExInvalidCall "line N: what is wrong (expected what)" for a text that the form
    /// above does not describe; the text quoted in it has its control bytes, quotes, backslashes
    /// and bytes past ASCII escaped as `\xNN` (a quote and a backslash too), and is cut after 40
    /// bytes ("...").
    /// \param text the whole text, as toText gives it or as a person wrote it
    static SeSelectionSnapshot fromText(const std::string &text);

    /// Puts the selection back as one change of the selector's selection (restoreSelection: one
    /// history step, one mirroring), with the picking state. An entry that does not resolve (no
    /// shape for its key, a gone shape, a point or handle index outside the shape's) is refused
    /// with RCExInvalidCall naming the entry and its problem, and nothing changes; with
    /// Unresolved::skip it is left out, and its description is in the result. The number of points
    /// of a curve whose "Points" is one single-valued input (of handles of a single-valued
    /// gradient) comes from count; without it, or when it gives a negative number, only a negative
    /// index is outside such an input. Raises RCExInvalidCall while a batch is open on the
    /// selector; what resolve or count raise passes on, with nothing changed.
    /// \param selector the selector whose selection is replaced; null raises RCExNullPtr
    /// \param resolve gives the application's shape of each entry's key, or null
    /// \param unresolved whether an entry that does not resolve refuses the whole restore or is
    /// skipped
    /// \param count the number of points (handles) of a shape whose input does not tell it; may be
    /// empty
    std::vector<std::string> restore(const RCShdPtr<SeShapeSelector> &selector,
                                     const Resolver &resolve,
                                     Unresolved unresolved = Unresolved::refuse,
                                     const Counter &count = Counter()) const;

    /// The shapes, in selection order.
    const std::vector<Entry> &getEntries() const noexcept { return entries; }
    ///@{
    /// The picking state: type, index, extremity.
    SeShapeSelector::PickingType getPickingType() const noexcept { return pickingType; }
    int getPickingIndex() const noexcept { return pickingIndex; }
    int getPickingExtremity() const noexcept { return pickingExtremity; }
    ///@}

private:
    std::vector<Entry> entries;
    SeShapeSelector::PickingType pickingType{};
    int pickingIndex = -1;
    int pickingExtremity = -1;
};

} // namespace Vo
