#pragma once
// An independent copy of a node's attribute table, written as text in the tests, and the
// checks of one created attribute against its row. Columns: long name (a leading '.' marks a
// compound's child), short name, type, default(s) (comma-separated; "-" for none or empty),
// minimum, maximum, flags (comma-separated), and whether it affects the node's output.

#include <maya/MFnNumericData.h>
#include <maya/MObject.h>

#include <string>
#include <vector>

struct expectedAttribute {
    bool child = false;
    std::string longName, shortName, type, defaults, minimum, maximum, flags;
    bool affects = false;
};

std::vector<expectedAttribute> parseAttributeTable(const char* table);
std::vector<double> tableNumbers(const std::string& text);
bool tableHasFlag(const std::string& flags, const std::string& flag);
// The numeric type a table type names, or kInvalid for the other kinds.
MFnNumericData::Type tableNumericType(const std::string& type);
// Checks kind, data type, defaults and limits (flags are checked by the caller).
void checkAttributeKind(const MObject& attribute, const expectedAttribute& row);
