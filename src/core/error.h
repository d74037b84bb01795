#pragma once

#include <expected>
#include <string>

namespace culvora {

// What went wrong, with the sentence the window will show. Core never shows anything itself.
enum class ErrorCode {
    NotFound,  // a file or a record that is not there
    Io,        // the disk refused a read or a write
    Refused,   // the action is not allowed (the standard cookbook, an original type, ...)
    Invalid,   // input that cannot be used (an unrepresentable character, a bad file name)
};

struct Error {
    ErrorCode code = ErrorCode::Io;
    std::string message;  // UTF-8, a full sentence for the user
};

template <class T>
using Result = std::expected<T, Error>;

inline std::unexpected<Error> fail(ErrorCode code, std::string message)
{
    return std::unexpected<Error>(Error{code, std::move(message)});
}

}  // namespace culvora
