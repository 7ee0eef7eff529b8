#pragma once
// One owner for every kind of system handle: a move-only value that closes what it holds
// when it goes out of scope. Each kind of handle is a close policy and an alias, next to
// the code that uses it (a file descriptor, a Win32 file, a COM apartment, ...).
//
// A close policy is a type with
//   using Value = ...;                     the handle type, cheap to copy
//   static Value Invalid() noexcept;       the value that owns nothing
//   static void Close(Value) noexcept;     releases a valid value (it may return whether
//                                          that succeeded: see UniqueHandle::Close)
// and, when not every value other than Invalid() is valid,
//   static bool IsValid(Value) noexcept;

#include <concepts>
#include <utility>

namespace tavrel {

// clang-format off
template <class Policy>
concept ClosePolicy = requires(typename Policy::Value value) {
    { Policy::Invalid() } noexcept -> std::convertible_to<typename Policy::Value>;
    { Policy::Close(value) } noexcept;
};
// clang-format on

template <ClosePolicy Policy>
class UniqueHandle {
public:
    using Value = typename Policy::Value;

    UniqueHandle() noexcept = default;
    // Takes ownership of value (which may be invalid: then it owns nothing).
    explicit UniqueHandle(Value value) noexcept : value_(value) {}
    UniqueHandle(UniqueHandle&& other) noexcept : value_(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            Reset(other.Release());
        }
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { Reset(); }

    static bool IsValid(Value value) noexcept {
        if constexpr (requires { Policy::IsValid(value); }) {
            return Policy::IsValid(value);
        } else {
            return !(value == Policy::Invalid());
        }
    }

    // The handle, still owned here.
    Value Get() const noexcept { return value_; }
    explicit operator bool() const noexcept { return IsValid(value_); }

    // Closes what is held and takes value instead; value is not the handle held now.
    void Reset(Value value = Policy::Invalid()) noexcept {
        const Value old = std::exchange(value_, value);
        if (IsValid(old)) {
            Policy::Close(old);
        }
    }
    // Gives the handle up without closing it; this then owns nothing.
    [[nodiscard]] Value Release() noexcept { return std::exchange(value_, Policy::Invalid()); }
    // Closes the handle now and returns what the policy's Close returns, for a kind whose
    // close reports a failure worth acting on (a file's last write can fail there); this
    // then owns nothing. Requires a valid handle.
    decltype(auto) Close() noexcept { return Policy::Close(Release()); }

private:
    Value value_ = Policy::Invalid();
};

}  // namespace tavrel
