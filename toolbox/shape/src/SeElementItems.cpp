#include "SeElementItems.h"

#include "host/graph/PiSnItem.h"

#include <algorithm>
#include <utility>

namespace Vo {

RCShdPtr<SeElementItems> SeElementItems::create(RCShdPtr<PiMultivaluedInput> input,
                                                const Vector<int> &indices, std::size_t width,
                                                RCShdPtr<PiPath> path) {
    RCShdPtr<SeElementItems> row(
        new SeElementItems(std::move(input), indices, width, std::move(path)));
    row->input->watchElements(*row);
    row->watching = true;
    return row;
}

SeElementItems::SeElementItems(RCShdPtr<PiMultivaluedInput> elements, const Vector<int> &selected,
                               std::size_t components, RCShdPtr<PiPath> along)
    : SnItemSource(selected.size() * components), input(std::move(elements)), indices(selected),
      width(components), path(std::move(along)) {
    kept.reserve(indices.size());
}

SeElementItems::~SeElementItems() noexcept {
    if (watching) {
        input->unwatchElements(*this);
    }
}

RCShdPtr<SnItem const> SeElementItems::makeItem(std::size_t i) const {
    const std::size_t element = i / width;
    const RCShdPtr<PiInput> found =
        watching ? input->getElement(indices[element]) : kept[element];
    return PiSnItem<PiInput>::create(found->getSubInput(static_cast<int>(i % width)), path);
}

// Within the room taken when the row was made: nothing here allocates.
void SeElementItems::elementsMoving() noexcept {
    for (const int index : indices) {
        kept.push_back(input->getElement(index));
    }
    watching = false;
}

bool SeElementItems::isSameRun(const SnItemSource &other, std::size_t first,
                               std::size_t otherFirst, std::size_t count) const {
    if (SnItemSource::isSameRun(other, first, otherFirst, count)) {
        return true;
    }
    const auto *row = dynamic_cast<const SeElementItems *>(&other);
    if (row == nullptr || !watching || !row->watching || row->input.get() != input.get() ||
        row->width != width || first % width != otherFirst % width ||
        !PiPath::areEqual(path, row->path)) {
        return false;
    }
    const auto from = static_cast<std::ptrdiff_t>(first / width);
    const auto to = static_cast<std::ptrdiff_t>((first + count - 1) / width + 1);
    const auto otherFrom = static_cast<std::ptrdiff_t>(otherFirst / width);
    return std::equal(indices.begin() + from, indices.begin() + to,
                      row->indices.begin() + otherFrom);
}

} // namespace Vo
