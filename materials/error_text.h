#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace materials {

// The database's path as a message shows it: absolute, so the user can find it.
std::string displayPath(const std::string& path);

// Text from the file in double quotes, safe to show: control characters are
// escaped and a very long text is cut, since the file is untrusted.
std::string quotedText(std::string_view text);

// "row 3 (class "C16")": a row by its position counted from 1.
std::string rowDescription(std::int64_t index, const std::string* className);

} // namespace materials
