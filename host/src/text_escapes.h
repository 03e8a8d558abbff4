// Text written into the results' file formats: CSV fields, JSON strings and
// XML (SVG, HTML) text.  Basin names are any bytes a file gave, so each
// writer keeps valid UTF-8 as it is and replaces what is not.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vesk::host {

// The length of the well-formed UTF-8 sequence at `at` (1 to 4), or 0 when
// the bytes there are not one (a stray continuation byte, an overlong form,
// a surrogate, a code point beyond U+10FFFF, a sequence cut short).
std::size_t utf8SequenceLength(std::string_view text, std::size_t at);

bool isValidUtf8(std::string_view text);

// A CSV field, quoted when it holds a comma, a quote or a line break.
std::string csvField(std::string_view text);

// A JSON string with its quotes: quotes, backslashes and control characters
// escaped, every byte that is not part of valid UTF-8 written as \ufffd
// (the replacement character), so the file is always valid JSON.
std::string jsonString(std::string_view text);

// XML character data: the five markup characters as entities, control
// characters and the bytes of a string that is not valid UTF-8 as '?'.
std::string xmlText(std::string_view text);

} // namespace vesk::host
