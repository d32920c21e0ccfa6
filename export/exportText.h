#pragma once
// Number text shared by the writers: std::to_chars, so the shortest text that reads back to
// the same value, with no locale and no allocation per number, appended to a textBuffer.
//
// A float is written as a float (shortest among floats: 0.1f is "0.1"), a double as a double;
// both may come out in exponent form ("1e-07"), which JSON, RIB and OBJ readers all accept.

#include "export/textBuffer.h"

#include <string>

// Finite values only: no format here has a spelling for NaN or infinity that every reader takes.
void appendNumber(textBuffer& out, float value);
void appendNumber(textBuffer& out, double value);
void appendInteger(textBuffer& out, long long value);

// A float with non-finite values written as 0: neither RIB nor OBJ has a word for NaN or
// infinity, and a renderer or importer that meets one fails the whole file.
void appendFiniteFloat(textBuffer& out, float value);

// The same as a string, for single values.
std::string finiteFloatText(float value);
