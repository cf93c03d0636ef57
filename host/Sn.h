#pragma once

namespace Vo {

// The tag of the selection framework's observer family: selections notify ObObserver<Sn> through
// their ObSubject<Sn>.
struct Sn {};

} // namespace Vo
