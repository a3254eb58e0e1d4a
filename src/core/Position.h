#pragma once
// A body's heliocentric longitude at one instant, or the reason it has none.

#include "core/Bodies.h"

#include <array>
#include <cstdint>

namespace orbivex {

enum class PositionStatus : std::uint8_t {
    Known,       // the longitude is there
    BeforeTable, // Pluto before its table begins (1 January 1600)
    AfterTable,  // Pluto after its table ends (1 January 2200)
    Unavailable, // a body not in use, no Pluto table, or an instant the ephemeris cannot compute
};

// A longitude in radians, [0, full circle), that may be missing.
class Position {
  public:
    constexpr Position() = default; // unavailable
    constexpr explicit Position(double longitude)
        : longitude_(longitude), status_(PositionStatus::Known) {}
    constexpr explicit Position(PositionStatus missing)
        : status_(missing == PositionStatus::Known ? PositionStatus::Unavailable : missing) {}

    constexpr bool Known() const { return status_ == PositionStatus::Known; }
    constexpr PositionStatus Status() const { return status_; }
    // Radians; 0 when the position is not known.
    constexpr double Longitude() const { return longitude_; }

    bool operator==(const Position&) const = default;

  private:
    double longitude_ = 0.0;
    PositionStatus status_ = PositionStatus::Unavailable;
};

// The positions of one set of bodies.
using PositionSet = ByBody<Position>;

} // namespace orbivex
