#pragma once

#include <cassert>
#include <system_error>
#include <utility>
#include <variant>

namespace platform {

// The error of a portable value, as the backends return it.
inline std::error_code errc(std::errc code) {
    return std::make_error_code(code);
}

// A value or the error that prevented it; the standard library of C++20 has no std::expected.
template <class T> class Result {
public:
    Result(T value) : m_state(std::move(value)) {}
    Result(std::error_code error) : m_state(error) { assert(error); }

    bool ok() const { return std::holds_alternative<T>(m_state); }
    explicit operator bool() const { return ok(); }

    const T& value() const& {
        assert(ok());
        return std::get<T>(m_state);
    }
    T& value() & {
        assert(ok());
        return std::get<T>(m_state);
    }
    T&& value() && {
        assert(ok());
        return std::get<T>(std::move(m_state));
    }
    const T& operator*() const& { return value(); }
    T& operator*() & { return value(); }
    const T* operator->() const { return &value(); }
    T* operator->() { return &value(); }

    std::error_code error() const {
        return ok() ? std::error_code{} : std::get<std::error_code>(m_state);
    }

    template <class U> T valueOr(U&& fallback) const& {
        return ok() ? value() : static_cast<T>(std::forward<U>(fallback));
    }

private:
    std::variant<T, std::error_code> m_state;
};

} // namespace platform
