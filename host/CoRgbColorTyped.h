#pragma once

namespace Vo {

/// A colour of three components, red, green and blue, in that order; a plain value.
template <class T> struct CoRgbColorTyped {
    ///@{
    /// The colour's components.
    T red;
    T green;
    T blue;
    ///@}
};

} // namespace Vo
