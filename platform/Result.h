#pragma once
// Failures travel as values: the platform's own number (errno here) and its
// description in the user's language, so a message box can show exactly what
// the operating system said.

#include <cassert>
#include <string>
#include <utility>
#include <variant>

namespace farsend {

struct Error {
    int number = 0;
    std::string description;

    // Builds the error for an errno value, with the platform's text for it.
    static Error fromErrno(int errnoValue);

    bool operator==(const Error&) const = default;
};

// Success, or the Error that prevented it.
class [[nodiscard]] Status {
public:
    Status() = default;
    Status(Error error) : error_(std::move(error)), failed_(true) {}  // NOLINT(google-explicit-constructor)

    static Status success() { return {}; }

    bool ok() const { return !failed_; }
    explicit operator bool() const { return ok(); }
    const Error& error() const {
        assert(failed_);
        return error_;
    }

private:
    Error error_;
    bool failed_ = false;
};

// A value, or the Error that prevented it.
template <class T>
class [[nodiscard]] Result {
public:
    Result(T value) : v_(std::move(value)) {}      // NOLINT(google-explicit-constructor)
    Result(Error error) : v_(std::move(error)) {}  // NOLINT(google-explicit-constructor)

    bool ok() const { return v_.index() == 0; }
    explicit operator bool() const { return ok(); }

    const T& value() const& {
        assert(ok());
        return std::get<0>(v_);
    }
    T& value() & {
        assert(ok());
        return std::get<0>(v_);
    }
    T&& value() && {
        assert(ok());
        return std::get<0>(std::move(v_));
    }
    const T& operator*() const& { return value(); }
    const T* operator->() const { return &value(); }

    const Error& error() const {
        assert(!ok());
        return std::get<1>(v_);
    }
    Status status() const { return ok() ? Status() : Status(error()); }

private:
    std::variant<T, Error> v_;
};

}  // namespace farsend
