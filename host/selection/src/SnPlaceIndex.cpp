#include "SnPlaceIndex.h"

#include <algorithm>
#include <functional>

namespace Vo {

SnPlaceIndex::SnPlaceIndex(const Vector<RCShdPtr<SnItem const>> &items) {
    // From the back, so that an item's places arrive in descending order.
    for (std::size_t place = items.size(); place > 0; --place) {
        const SnItem *item = items[place - 1].get();
        std::size_t *cell = cells.find(item);
        if (cell == nullptr) {
            cells.insert(item, place - 1);
        } else if (*cell != kMany) {
            repeated[item] = {*cell, place - 1};
            *cell = kMany;
        } else {
            repeated[item].push_back(place - 1);
        }
    }
}

std::size_t SnPlaceIndex::firstPlace(const SnItem *item) const noexcept {
    const std::size_t *cell = cells.find(item);
    if (cell == nullptr) {
        return npos;
    }
    return *cell != kMany ? *cell : repeated.find(item)->second.back();
}

void SnPlaceIndex::move(const SnItem *from, const SnItem *to, std::size_t place) {
    if (from != to) {
        addPlace(to, place);
        dropFirstPlace(from);
    }
}

void SnPlaceIndex::addPlace(const SnItem *item, std::size_t place) {
    std::size_t *cell = cells.find(item);
    if (cell == nullptr) {
        cells.insert(item, place);
    } else if (*cell != kMany) {
        repeated.emplace(item,
                         std::vector<std::size_t>{std::max(*cell, place), std::min(*cell, place)});
        *cell = kMany;
    } else {
        std::vector<std::size_t> &places = repeated.find(item)->second;
        places.insert(std::upper_bound(places.begin(), places.end(), place, std::greater<>()),
                      place);
    }
}

void SnPlaceIndex::dropFirstPlace(const SnItem *item) noexcept {
    std::size_t *cell = cells.find(item);
    if (*cell != kMany) {
        cells.erase(item);
        return;
    }
    const auto places = repeated.find(item);
    places->second.pop_back();
    if (places->second.size() == 1) {
        *cell = places->second.front();
        repeated.erase(places);
    }
}

} // namespace Vo
