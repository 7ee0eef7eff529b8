#pragma once
// The one way a check or a reader of the form says no: a result that carries either the
// value or the reasons it was refused, each reason in both of the form's languages.

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tavrel::form {

// A sentence for the user, in English (the command line's) and Traditional Chinese (the
// dialogs' and the page's), both UTF-8.
struct Message {
    std::string en;
    std::string zh;

    friend bool operator==(const Message&, const Message&) = default;
};

// Either a value or at least one reason why there is none. Nothing is thrown.
template <typename T>
class [[nodiscard]] Result {
public:
    Result(T value) : value_(std::move(value)) {}
    Result(Message reason) { reasons_.push_back(std::move(reason)); }
    explicit Result(std::vector<Message> reasons) : reasons_(std::move(reasons)) {}

    explicit operator bool() const { return value_.has_value(); }
    const T& operator*() const& { return *value_; }
    T&& operator*() && { return std::move(*value_); }
    const T* operator->() const { return &*value_; }

    // Empty when there is a value. A temporary result gives its reasons away, so that a
    // loop over them outlives it.
    const std::vector<Message>& Reasons() const& { return reasons_; }
    std::vector<Message> Reasons() && { return std::move(reasons_); }

private:
    std::optional<T> value_;
    std::vector<Message> reasons_;
};

// A result with no value beyond "done".
struct Done {};

}  // namespace tavrel::form
