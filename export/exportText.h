#pragma once
// Number text shared by the RIB and OBJ writers.

#include <string>

// A float with 9 significant digits ("%.9g"), so it reads back to the same bits. Non-finite
// values are written as 0: neither format has a word for NaN or infinity, and a renderer or
// importer that meets one fails the whole file.
std::string finiteFloatText(float value);
