// Texts that come from outside (a host as configured, a file's name) made safe to show
// in any output: a terminal, a page, an SVG, a JSON file, a metric's label.
#pragma once

#include <string>
#include <string_view>

namespace pinglog {

// The text with valid UTF-8 kept; every control character (C0 and DEL, and C1 as
// UTF-8) written as \xHH of its bytes, so that it neither acts on a terminal nor spoils
// a document; every invisible or bidirectional format character (U+200B, U+202E,
// U+2066, U+FEFF, ...) written as \u{HHHH}, so that two texts that differ only there
// look different; every byte that is not part of valid UTF-8 replaced by U+FFFD, or, with
// `escape_invalid`, written as \xHH too (which keeps apart two texts that differ
// only there). A text that needs none of this comes back as it is.
std::string SafeText(std::string_view text, bool escape_invalid = false);

}  // namespace pinglog
