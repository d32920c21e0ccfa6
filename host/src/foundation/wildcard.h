#pragma once
// Name patterns as ls and MSelectionList take them: '*' any run of characters, '?' any one.

#include <string>

namespace host {

// Backtracks to the last '*' only, without recursion: any pattern takes time proportional to
// pattern times text, and no stack.
bool wildcardMatch(const std::string& pattern, const std::string& text);

} // namespace host
