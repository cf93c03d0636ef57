#pragma once

#include "FlatMap.h"

namespace Vo {

/// A flat hash map keyed by non-null pointers: what the dispatcher, the subject and the selection's
/// place index keep from handler, observer or item to its place.
template <class K, class V> using PtrMap = FlatMap<K, V, static_cast<K>(nullptr)>;

} // namespace Vo
