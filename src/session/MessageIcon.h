#pragma once
// The icon a message to the user carries: part of what a decision of the program says (a
// saved file is information, a refusal an exclamation), which the window that shows it draws.

namespace orbivex {

enum class MessageIcon { None, Information, Exclamation, Stop, Question };

} // namespace orbivex
