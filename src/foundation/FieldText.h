#pragma once

#include <string>
#include <string_view>

// A table value never holds the field separator ";", a line break (CR, LF)
// or a NUL byte: the table files have no quoting, so such a value would
// shift the fields of its record or cut it in two. Text brought in from
// outside (a file, a share) is cleaned before it reaches a table.

// True when the text holds ";", CR, LF or NUL.
bool HoldsFieldBreak(std::string_view text);

// The text with each ";", line break (a CR LF pair counts as one) and NUL
// replaced by ",".
std::string ReplaceFieldBreaks(std::string_view text);
