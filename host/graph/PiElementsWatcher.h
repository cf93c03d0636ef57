#pragma once

namespace Vo {

/// Told by a multi-valued input (PiMultivaluedInput::watchElements) just before its elements move,
/// an element inserted or removed, so that whoever finds elements by index later keeps the ones it
/// needs first. The watch ends with that call.
class PiElementsWatcher {
public:
    /// Must not raise: the input's change goes on after it, and may be one that cannot fail.
    virtual void elementsMoving() noexcept = 0;

protected:
    ///@{
    /// Made, copied and destroyed only as the base of a watcher.
    PiElementsWatcher() = default;
    PiElementsWatcher(const PiElementsWatcher &) = default;
    PiElementsWatcher &operator=(const PiElementsWatcher &) = default;
    ~PiElementsWatcher() = default;
    ///@}
};

} // namespace Vo
