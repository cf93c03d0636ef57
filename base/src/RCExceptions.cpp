#include "base/RCExCastFailed.h"
#include "base/RCExInvalidCall.h"
#include "base/RCExNullPtr.h"
#include "base/RCExUtil.h"
#include "base/RCTypeName.h"

#include <cxxabi.h>

#include <cstdlib>
#include <memory>
#include <utility>

namespace Vo {

RCException::RCException(std::string text) : message(std::move(text)) {}
RCException::~RCException() = default;
const char *RCException::what() const noexcept { return message.c_str(); }

RCExNullPtr::RCExNullPtr(const std::string &type)
    : RCException("null pointer dereferenced: " + type), pointerType(type) {}
RCExNullPtr::RCExNullPtr(const std::string &type, const std::string &text)
    : RCException(text), pointerType(type) {}
RCExNullPtr::~RCExNullPtr() = default;

RCExCastFailed::RCExCastFailed(const std::string &actual, const std::string &target)
    : RCException("cannot convert " + actual + " to " + target), actualType(actual),
      targetType(target) {}
RCExCastFailed::~RCExCastFailed() = default;

RCExInvalidCall::RCExInvalidCall(const std::string &text) : RCException(text) {}
RCExInvalidCall::~RCExInvalidCall() = default;

std::string RCTypeName::readable(const char *mangledName) {
    if (mangledName == nullptr) {
        return std::string();
    }
    int status = 0;
    std::unique_ptr<char, void (*)(void *)> demangled(
        abi::__cxa_demangle(mangledName, nullptr, nullptr, &status), std::free);
    if (status != 0 || !demangled) {
        return mangledName;
    }
    return demangled.get();
}

void RCExUtil::throwExNullPtr(const char *pointerTypeName) {
    throw RCExNullPtr(RCTypeName::readable(pointerTypeName));
}

void RCExUtil::throwExCastFailed(const char *actualTypeName, const char *targetTypeName) {
    throw RCExCastFailed(RCTypeName::readable(actualTypeName),
                         RCTypeName::readable(targetTypeName));
}

} // namespace Vo
