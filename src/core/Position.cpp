#include "core/Position.h"

#include "core/Ephemeris.h"

namespace orbivex {

Position Position::FromEphemeris(double value) {
    if (value >= 0.0) {
        return Position(value);
    }
    if (value == NoPositionBeforeTable) {
        return Position(PositionStatus::BeforeTable);
    }
    if (value == NoPositionAfterTable) {
        return Position(PositionStatus::AfterTable);
    }
    return Position(PositionStatus::Unavailable);
}

} // namespace orbivex
