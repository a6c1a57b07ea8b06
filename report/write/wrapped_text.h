// Sentences cut into lines that a drawing's width holds.
#pragma once

#include <string>
#include <vector>

namespace pinglog::report {

// The characters a line of the drawing holds.
inline constexpr std::size_t kLineChars = 140;

// Appends `text` as lines of at most kLineChars bytes, cut at the last space that fits
// (the space dropped), or, with none, between two characters (never inside one of
// UTF-8's); the later lines are indented by four spaces.
void AddWrapped(std::vector<std::string>& lines, const std::string& text);

}  // namespace pinglog::report
