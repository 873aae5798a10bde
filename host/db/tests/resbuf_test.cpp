// How result buffers hold the values of result types and DXF group codes.
#include <gtest/gtest.h>

#include "host/db/resbuf.h"

namespace host::db {
namespace {

TEST(ValueKind, OfResultTypesAndGroupCodes) {
    const struct {
        int code;
        ValueKind kind;
    } cases[] = {
        {RTNONE, ValueKind::None},     {RTREAL, ValueKind::Real},      {RTPOINT, ValueKind::Point},
        {RTSHORT, ValueKind::Int16},   {RTANG, ValueKind::Real},       {RTSTR, ValueKind::String},
        {RTENAME, ValueKind::Name},    {RTPICKS, ValueKind::Name},     {RT3DPOINT, ValueKind::Point},
        {RTLONG, ValueKind::Int32},    {RTLB, ValueKind::None},        {RTLE, ValueKind::None},
        {RTDXF0, ValueKind::String},   {RTINT64, ValueKind::Int64},
        {-5, ValueKind::None},         {-4, ValueKind::String},        {-3, ValueKind::None},
        {-2, ValueKind::Name},         {-1, ValueKind::Name},          {0, ValueKind::String},
        {5, ValueKind::String},        {8, ValueKind::String},         {10, ValueKind::Point},
        {11, ValueKind::Point},        {37, ValueKind::Point},
        {38, ValueKind::Real},         {39, ValueKind::Real},          // elevation and thickness
        {40, ValueKind::Real},         {50, ValueKind::Real},          {62, ValueKind::Int16},
        {70, ValueKind::Int16},        {80, ValueKind::None},          {90, ValueKind::Int32},
        {100, ValueKind::String},      {102, ValueKind::String},       {105, ValueKind::String},
        {110, ValueKind::Point},       {140, ValueKind::Real},         {160, ValueKind::Int64},
        {170, ValueKind::Int16},       {210, ValueKind::Point},        {220, ValueKind::Real},
        {280, ValueKind::Int16},       {290, ValueKind::Bool},         {300, ValueKind::String},
        {310, ValueKind::Binary},      {320, ValueKind::String},       {330, ValueKind::Name},
        {340, ValueKind::Name},        {360, ValueKind::Name},         {370, ValueKind::Int16},
        {390, ValueKind::Name},        {420, ValueKind::Int32},        {440, ValueKind::Int32},
        {450, ValueKind::Int32},       {460, ValueKind::Real},         {999, ValueKind::String},
        {1000, ValueKind::String},     {1001, ValueKind::String},      {1002, ValueKind::String},
        {1003, ValueKind::String},     {1004, ValueKind::Binary},      {1005, ValueKind::String},
        {1010, ValueKind::Point},      {1013, ValueKind::Point},       {1040, ValueKind::Real},
        {1042, ValueKind::Real},       {1070, ValueKind::Int16},       {1071, ValueKind::Int32},
        {1072, ValueKind::None},       {5099, ValueKind::None},        {RTNORM, ValueKind::None},
    };
    for (const auto& c : cases) EXPECT_EQ(valueKindOf(c.code), c.kind) << "code " << c.code;
}

TEST(ResBufValues, AccessorsAnswerZeroForAnotherKind) {
    const ResBuf real(40, 2.5), text(1, "abc"), integer(70, 3), point(10, ge::Point3d(1, 2, 3));
    const ResBuf name(-1, EntityName{{7, 9}});
    EXPECT_EQ(real.real(), 2.5);
    EXPECT_EQ(text.real(), 0.0);
    EXPECT_EQ(text.str(), "abc");
    EXPECT_EQ(real.str(), "");
    EXPECT_EQ(integer.integer(), 3);
    EXPECT_EQ(real.integer(), 0);
    EXPECT_EQ(point.point(), ge::Point3d(1, 2, 3));
    EXPECT_EQ(text.point(), ge::Point3d());
    EXPECT_EQ(name.name(), (EntityName{{7, 9}}));
    EXPECT_TRUE(text.name().isNil());
}

}  // namespace
}  // namespace host::db
