#pragma once

#include "VoBaseExport.h"

#include <exception>
#include <string>

namespace Vo {

/// Base of the exceptions that the base library raises; owns its readable message.
class VO_BASE_API RCException : public std::exception {
public:
    /// An error with this message.
    /// \param message the readable message, what() returns it
    explicit RCException(std::string message);
    ~RCException() override;
    /// The message given at construction.
    const char *what() const noexcept override;

private:
    std::string message;
};

} // namespace Vo
