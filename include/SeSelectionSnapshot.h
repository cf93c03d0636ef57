#pragma once

#include "SeShape.h"
#include "SeShapeSelector.h"
#include "VoShapeExport.h"

#include "foundation/RCShdPtr.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace Vo {

// A selector's whole selection kept aside as plain values, to save it to a file or keep it under a
// name and put it back later: its shapes by identity key (SeIdentityKey), in selection order (the
// first primary), each whole or with its points and handles in selection order, and the picking
// state. Owns its values; holds no shape.
//
// Text form, one line each; blank lines and lines starting with '#' are skipped:
//     voshape-selection 1
//     picking TYPE INDEX EXTREMITY
//     shape KEY                                  a shape as a whole
//     shape KEY points I... handles I...         with parts; either list may be empty
class VO_SHAPE_API SeSelectionSnapshot {
public:
    struct Entry {
        std::uint64_t key = 0;
        bool whole = true;
        std::vector<int> points;
        std::vector<int> handles;
    };
    // The application's shape of a key; null when none has it.
    using Resolver = std::function<RCShdPtr<SeShape>(std::uint64_t key)>;
    // What restore does with an entry that no longer resolves.
    enum class Unresolved { refuse, skip };

    // Raises RCExInvalidCall naming the place of a selected shape that is gone or makes no
    // identity-key promise; RCExNullPtr for a null selector.
    static SeSelectionSnapshot capture(const RCShdPtr<SeShapeSelector> &selector);
    std::string toText() const;
    // Raises RCExInvalidCall "line N: what is wrong (expected what)" for a malformed text.
    static SeSelectionSnapshot fromText(const std::string &text);

    // Puts the selection back as one change of the selector's selection (restoreSelection: one
    // history step, one mirroring), with the picking state. An entry that does not resolve (no
    // shape for its key, a gone shape, a point or handle index outside the shape's; a curve whose
    // "Points" is one single-valued input tells no count, so only a negative point is) is refused
    // with RCExInvalidCall naming the entry and its problem, and nothing changes; with
    // Unresolved::skip it is left out, and its description is in the result. Raises
    // RCExInvalidCall while a batch is open on the selector.
    std::vector<std::string> restore(const RCShdPtr<SeShapeSelector> &selector,
                                     const Resolver &resolve,
                                     Unresolved unresolved = Unresolved::refuse) const;

    const std::vector<Entry> &getEntries() const noexcept { return entries; }
    SeShapeSelector::PickingType getPickingType() const noexcept { return pickingType; }
    int getPickingIndex() const noexcept { return pickingIndex; }
    int getPickingExtremity() const noexcept { return pickingExtremity; }

private:
    std::vector<Entry> entries;
    SeShapeSelector::PickingType pickingType{};
    int pickingIndex = -1;
    int pickingExtremity = -1;
};

} // namespace Vo
