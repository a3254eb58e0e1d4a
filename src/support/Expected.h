#pragma once
// The one way a function reports a failure: it returns either its value or the error, and the
// caller cannot drop the result unread. Status is the case without a value, whose error is the
// message shown to the user.
//
//     Expected<double, DateError> day = InputDateToLocalJD(dateSet);
//     if (!day) { return ReportDateError(texts, set, day.error()); }
//     Use(*day);
//
//     Status SaveState(...) { ...; if (!file.commit()) { return Fail(message); } return {}; }

#include <QString>

#include <optional>
#include <type_traits>
#include <utility>
#include <variant>

namespace orbivex {

// The error of a failed result, wrapped so that it cannot be taken for a value.
template <typename E> struct Unexpected { E error; };
template <typename E> Unexpected(E) -> Unexpected<E>;

// Unexpected{error}, with the error's type deduced.
template <typename E> Unexpected<std::decay_t<E>> Fail(E&& error) {
    return Unexpected<std::decay_t<E>>{std::forward<E>(error)};
}

// A value of T or an error of E.
template <typename T, typename E = QString> class [[nodiscard]] Expected {
  public:
    // A default T, as a value (when T has a default).
    Expected() = default;
    Expected(const T& value) : state_(std::in_place_index<0>, value) {}
    Expected(T&& value) : state_(std::in_place_index<0>, std::move(value)) {}
    template <typename G>
    Expected(Unexpected<G> failure) : state_(std::in_place_index<1>, std::move(failure.error)) {}

    bool has_value() const { return state_.index() == 0; }
    explicit operator bool() const { return has_value(); }

    // The value; only when has_value() (otherwise std::bad_variant_access).
    const T& value() const& { return std::get<0>(state_); }
    T& value() & { return std::get<0>(state_); }
    T&& value() && { return std::get<0>(std::move(state_)); }
    const T& operator*() const& { return value(); }
    T& operator*() & { return value(); }
    const T* operator->() const { return &value(); }
    T* operator->() { return &value(); }
    // The value, or fallback on an error.
    T value_or(T fallback) const { return has_value() ? value() : std::move(fallback); }

    // The error; only when !has_value() (otherwise std::bad_variant_access).
    const E& error() const { return std::get<1>(state_); }

    bool operator==(const Expected&) const = default;
    // Holds this value.
    friend bool operator==(const Expected& result, const T& value) {
        return result.has_value() && result.value() == value;
    }
    // Holds this error.
    template <typename G>
    friend bool operator==(const Expected& result, const Unexpected<G>& failure) {
        return !result.has_value() && result.error() == failure.error;
    }

  private:
    std::variant<T, E> state_;
};

// Success, or the error of a failure.
template <typename E> class [[nodiscard]] Expected<void, E> {
  public:
    Expected() = default;
    template <typename G>
    Expected(Unexpected<G> failure) : error_(std::in_place, std::move(failure.error)) {}

    bool has_value() const { return !error_.has_value(); }
    explicit operator bool() const { return has_value(); }

    // The error; only when !has_value() (otherwise std::bad_optional_access).
    const E& error() const { return error_.value(); }

    bool operator==(const Expected&) const = default;
    template <typename G>
    friend bool operator==(const Expected& result, const Unexpected<G>& failure) {
        return !result.has_value() && result.error() == failure.error;
    }

  private:
    std::optional<E> error_;
};

// Success, or the message that says what went wrong, in the words shown to the user.
using Status = Expected<void, QString>;

} // namespace orbivex
