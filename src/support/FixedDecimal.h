#pragma once
// Fixed-point decimal text of a number, written fast enough for tables of many thousand
// numbers and always the same text as std::to_chars in fixed format.

#include <string>

namespace orbivex {

// Appends `value` with `decimals` (0 to 9) digits after the point: the text that
// std::to_chars(..., std::chars_format::fixed, decimals) gives, that is the exact value of
// the double correctly rounded.
void AppendFixedDecimal(std::string& text, double value, int decimals);

} // namespace orbivex
