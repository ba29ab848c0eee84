#pragma once

#include <QString>

#include <cassert>
#include <utility>
#include <variant>

namespace marvoxa {

// What went wrong, for callers that react differently; the message is what the user reads.
enum class ErrorKind {
    Io,          // a file could not be opened, read or written
    Conversion,  // a number in the input could not be parsed
    Format,      // the input is not of the expected form
    Limit,       // a value lies outside what the output format can hold
    State,       // the operation cannot run in the current state
    Cancelled,   // the user stopped the operation; nothing was changed
};

struct Error {
    ErrorKind kind;
    QString message;
};

// A value or an Error; callers must look before they take the value.
template <typename T>
class [[nodiscard]] Result {
public:
    Result(T value) : state_(std::move(value)) {}
    Result(Error error) : state_(std::move(error)) {}

    bool ok() const { return std::holds_alternative<T>(state_); }
    explicit operator bool() const { return ok(); }

    const T& value() const& {
        assert(ok());
        return std::get<T>(state_);
    }
    T& value() & {
        assert(ok());
        return std::get<T>(state_);
    }
    T&& value() && {
        assert(ok());
        return std::get<T>(std::move(state_));
    }
    const Error& error() const {
        assert(!ok());
        return std::get<Error>(state_);
    }

private:
    std::variant<T, Error> state_;
};

struct Success {};
// For operations that only succeed or fail.
using Status = Result<Success>;

inline Status Ok() { return Success{}; }

}  // namespace marvoxa
