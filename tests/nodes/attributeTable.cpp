#include "attributeTable.h"

#include <maya/MFnAttribute.h>
#include <maya/MFnCompoundAttribute.h>
#include <maya/MFnEnumAttribute.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MFnStringData.h>
#include <maya/MFnTypedAttribute.h>

#include <gtest/gtest.h>

#include <sstream>

std::vector<expectedAttribute> parseAttributeTable(const char* table) {
    std::vector<expectedAttribute> rows;
    std::istringstream lines(table);
    for (std::string line; std::getline(lines, line);) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream in(line);
        expectedAttribute row;
        std::string affects;
        in >> row.longName >> row.shortName >> row.type >> row.defaults >> row.minimum >>
            row.maximum >> row.flags >> affects;
        row.child = row.longName[0] == '.';
        if (row.child)
            row.longName.erase(0, 1);
        row.affects = affects == "yes";
        rows.push_back(row);
    }
    return rows;
}

std::vector<double> tableNumbers(const std::string& text) {
    std::vector<double> values;
    std::istringstream in(text);
    for (std::string item; std::getline(in, item, ',');)
        values.push_back(std::stod(item));
    return values;
}

bool tableHasFlag(const std::string& flags, const std::string& flag) {
    std::istringstream in(flags);
    for (std::string item; std::getline(in, item, ',');)
        if (item == flag)
            return true;
    return false;
}

MFnNumericData::Type tableNumericType(const std::string& type) {
    if (type == "int")
        return MFnNumericData::kInt;
    if (type == "bool")
        return MFnNumericData::kBoolean;
    if (type == "float")
        return MFnNumericData::kFloat;
    if (type == "double")
        return MFnNumericData::kDouble;
    if (type == "double2")
        return MFnNumericData::k2Double;
    if (type == "double3")
        return MFnNumericData::k3Double;
    if (type == "float2")
        return MFnNumericData::k2Float;
    if (type == "colour")
        return MFnNumericData::k3Float;
    return MFnNumericData::kInvalid;
}

namespace {

void checkNumeric(const MObject& attribute, const expectedAttribute& row) {
    MFnNumericAttribute fn(attribute);
    EXPECT_EQ(fn.unitType(), tableNumericType(row.type));
    EXPECT_EQ(fn.isUsedAsColor(), row.type == "colour");
    const std::vector<double> defaults = tableNumbers(row.defaults);
    // The attribute's own components: itself, or the children of a numeric compound.
    std::vector<MObject> parts;
    if (defaults.size() == 1)
        parts.push_back(attribute);
    for (unsigned int i = 0; defaults.size() > 1 && i < defaults.size(); ++i)
        parts.push_back(fn.child(i));
    for (size_t i = 0; i < parts.size(); ++i) {
        SCOPED_TRACE("component " + std::to_string(i));
        MFnNumericAttribute part(parts[i]);
        double value = 0.0, limit = 0.0;
        ASSERT_TRUE(part.getDefault(value));
        EXPECT_NEAR(value, defaults[i], 1e-6);
        EXPECT_EQ(part.hasMin(), row.minimum != "-");
        EXPECT_EQ(part.hasMax(), row.maximum != "-");
        if (row.minimum != "-") {
            ASSERT_TRUE(part.getMin(limit));
            EXPECT_EQ(limit, std::stod(row.minimum));
        }
        if (row.maximum != "-") {
            ASSERT_TRUE(part.getMax(limit));
            EXPECT_NEAR(limit, std::stod(row.maximum), 1e-7);
        }
    }
}

} // namespace

void checkAttributeKind(const MObject& attribute, const expectedAttribute& row) {
    SCOPED_TRACE(row.longName);
    const std::string& type = row.type;
    if (tableNumericType(type) != MFnNumericData::kInvalid) {
        checkNumeric(attribute, row);
    } else if (type == "enum") {
        MFnEnumAttribute fn(attribute);
        short value = -1;
        ASSERT_TRUE(fn.getDefault(value));
        EXPECT_EQ(value, static_cast<short>(std::stoi(row.defaults)));
    } else if (type == "ramp") {
        MFnCompoundAttribute fn(attribute);
        EXPECT_TRUE(fn.isArray());
        ASSERT_EQ(fn.numChildren(), 3u);
        EXPECT_EQ(MFnAttribute(fn.child(0)).name().asChar(), row.longName + "_Position");
        EXPECT_EQ(MFnAttribute(fn.child(1)).name().asChar(), row.longName + "_FloatValue");
        EXPECT_EQ(MFnAttribute(fn.child(2)).name().asChar(), row.longName + "_Interp");
    } else if (type == "compound") {
        EXPECT_EQ(MFnCompoundAttribute(attribute).numChildren(), 3u);
    } else if (type == "message") {
        EXPECT_TRUE(attribute.hasFn(MFn::kMessageAttribute));
    } else {
        MFnTypedAttribute fn(attribute);
        const MFnData::Type data = type == "string"         ? MFnData::kString
                                   : type == "mesh"         ? MFnData::kMesh
                                   : type == "nurbsSurface" ? MFnData::kNurbsSurface
                                                            : MFnData::kPlugin;
        EXPECT_EQ(fn.attrType(), data);
        MObject defaultData;
        fn.getDefault(defaultData);
        if (type == "string") {
            ASSERT_TRUE(defaultData.hasFn(MFn::kStringData));
            const std::string text = MFnStringData(defaultData).string().asChar();
            // "-" stands for an empty default; other defaults are written in quotes.
            EXPECT_EQ(row.defaults == "-" ? std::string() : '"' + text + '"',
                      row.defaults == "-" ? text : row.defaults);
        } else {
            EXPECT_TRUE(defaultData.isNull()) << "no default data";
        }
    }
}
