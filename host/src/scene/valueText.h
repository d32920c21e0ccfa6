#pragma once
// Numbers, booleans and strings as scene files and MEL write them.

#include <string>

namespace host {

// A number, or one of the words yes/no, on/off, true/false (1 and 0). The whole text must be
// used.
bool parseNumberText(const std::string& text, double& value);
// yes/no, on/off, true/false and the numbers 1 and 0.
bool parseBoolText(const std::string& text, bool& value);
// A whole number that fits an int.
bool parseIntText(const std::string& text, int& value);

// The shortest text that reads back as exactly the same double (or float).
std::string formatDouble(double value);
std::string formatFloat(float value);

// A MEL string literal: quotes around the text, with \" \\ \n \t \r escaped.
std::string quoteText(const std::string& text);

} // namespace host
