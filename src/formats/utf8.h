#pragma once
// UTF-8 well-formedness, shared by the readers of text from outside.
#include <cstddef>
#include <string>
#include <string_view>

namespace formats {

// Length of the well-formed UTF-8 sequence starting at text[at], or 0 when none starts
// there. Overlong forms, surrogates and code points above U+10FFFF are not well-formed.
std::size_t Utf8SequenceLength(std::string_view text, std::size_t at);

// The bytes as UTF-8 text: every byte that does not belong to a well-formed sequence is
// replaced by U+FFFD, as a text decoder does.
std::string Utf8WithReplacements(std::string_view bytes);

}  // namespace formats
