// The nesting options and clamp settings read from the registry, with their defaults and fallbacks.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "host/reg/machine_registry.h"
#include "nesting/engine/tests/engine_fixture.h"
#include "nesting/model/nesting_engine.h"

namespace {

using nesting_engine_testing::EngineRegistryTest;

// The fields LoadNestingOptions writes.
struct Options {
    int UseCluster = 1;
    int UseHole = 1;
    int Pressing = 0;
    int QualityLevel = 3;
    int ClampUse = 0;
    int ClampQuantity = 0;
    int ClampCenterList = 0;
    double Clamp1PozX = 0.0;
    double Clamp1PozMinX = 0.0;
    double ClampingDistance = 0.0;
    double ClampWidth = 0.0;
    double ClampHeight = 0.0;
    bool operator==(const Options&) const = default;
};

Options OptionsOf(const CNestingEngine& e) {
    return {e.UseCluster,      e.UseHole,          e.Pressing,         e.QualityLevel,
            e.ClampUse,        e.ClampQuantity,    e.ClampCenterList,  e.Clamp1PozX,
            e.Clamp1PozMinX,   e.ClampingDistance, e.ClampWidth,       e.ClampHeight};
}

std::ostream& operator<<(std::ostream& out, const Options& o) {
    return out << "cluster " << o.UseCluster << " hole " << o.UseHole << " pressing " << o.Pressing << " quality "
               << o.QualityLevel << " clampUse " << o.ClampUse << " quantity " << o.ClampQuantity << " centred "
               << o.ClampCenterList << " x " << o.Clamp1PozX << " minX " << o.Clamp1PozMinX << " distance "
               << o.ClampingDistance << " size " << o.ClampWidth << " x " << o.ClampHeight;
}

struct Case {
    const char* what;
    std::map<std::string, std::string> stored;
    Options expected;
};

Options With(void (*change)(Options&)) {
    Options o;
    change(o);
    return o;
}

class NestingOptions : public EngineRegistryTest {};

TEST_F(NestingOptions, RegistryValuesWithTheirDefaultsAndFallbacks) {
    const Case cases[] = {
        {"nothing stored", {}, Options{}},
        {"quality 9", {{"Nesing_Quality", "9"}}, With([](Options& o) { o.QualityLevel = 9; })},
        {"quality 10 is out of range", {{"Nesing_Quality", "10"}}, Options{}},
        {"quality 2 is out of range", {{"Nesing_Quality", "2"}}, Options{}},
        {"quality with blanks around it", {{"Nesing_Quality", "  7 "}}, With([](Options& o) { o.QualityLevel = 7; })},
        {"clamp use other than 1 clears the quantity", {{"Nesing_ClampUse", "2"}, {"Nesing_ClampQuantity", "4"}},
         Options{}},
        {"clamps in use", {{"Nesing_ClampUse", "1"}, {"Nesing_ClampQuantity", "4"}},
         With([](Options& o) { o.ClampUse = 1, o.ClampQuantity = 4; })},
        {"clamp quantity above the sheet's room", {{"Nesing_ClampUse", "1"}, {"Nesing_ClampQuantity", "9"}},
         With([](Options& o) { o.ClampUse = 1, o.ClampQuantity = 5; })},
        {"negative clamp quantity", {{"Nesing_ClampUse", "1"}, {"Nesing_ClampQuantity", "-3"}},
         With([](Options& o) { o.ClampUse = 1; })},
        {"clamp quantity without clamp use", {{"Nesing_ClampQuantity", "3"}}, Options{}},
        {"first clamp raised to its least x", {{"Nesing_Clamp1PozX", "10"}, {"Nesing_Clamp1PozMinX", "25"}},
         With([](Options& o) { o.Clamp1PozX = 25, o.Clamp1PozMinX = 25; })},
        {"first clamp beyond its least x", {{"Nesing_Clamp1PozX", "30.5"}, {"Nesing_Clamp1PozMinX", "25"}},
         With([](Options& o) { o.Clamp1PozX = 30.5, o.Clamp1PozMinX = 25; })},
        {"clamp sizes", {{"Nesing_ClampingDistance", "1e2"}, {"Nesing_ClampWidth", "12.5"}},
         With([](Options& o) { o.ClampingDistance = 100, o.ClampWidth = 12.5; })},
        {"centred clamps", {{"Nesing_ClampCenterList", "1"}}, With([](Options& o) { o.ClampCenterList = 1; })},
        {"centred flag out of range", {{"Nesing_ClampCenterList", "2"}}, Options{}},
        {"the later pair value decides", {{"Nesting_Adv_UseCluster", "0"}}, Options{}},
        {"pairs off", {{"Nesting_Rect_UsePair", "0"}}, With([](Options& o) { o.UseCluster = 0; })},
        {"holes off, pressing on", {{"Nesting_Adv_UseHole", "0"}, {"Nesting_Adv_Pressing", "1"}},
         With([](Options& o) { o.UseHole = 0, o.Pressing = 1; })},
        {"any integer but 0 is on", {{"Nesting_Adv_Pressing", "-7"}}, With([](Options& o) { o.Pressing = 1; })},
        {"a value of 299 characters is read", {{"Nesting_Adv_UseHole", "0" + std::string(298, ' ')}},
         With([](Options& o) { o.UseHole = 0; })},
        {"a value of 300 characters does not fit and counts as missing",
         {{"Nesting_Adv_UseHole", "0" + std::string(299, ' ')}}, Options{}},
    };
    for (const Case& c : cases) {
        host::reg::machineRegistry().deleteKey(host::reg::Hive::LocalMachine, host::reg::kProductKey);
        for (const auto& [name, text] : c.stored) {
            Store(name, text);
        }
        CNestingEngine engine;
        EXPECT_EQ(engine.LoadNestingOptions(), 0);
        EXPECT_EQ(OptionsOf(engine), c.expected) << c.what;
    }
    EXPECT_EQ(Transcript(), "");
}

// A value is one number or none: a text of a number's characters is not read by its prefix. Such a value takes
// what a missing one takes, and the user is told which value, what it holds and the range.
TEST_F(NestingOptions, ValuesThatAreNotOneNumberTakeTheirDefaultAndAreTold) {
    struct Told {
        const char* name;
        const char* stored;
        Options expected;
        const char* note;
    };
    const char* const anyInt = "from -2147483648 to 2147483647: ";
    const Told cases[] = {
        {"Nesing_Quality", "7 high", Options{}, anyInt},
        {"Nesing_Quality", "9.5", Options{}, anyInt},
        {"Nesing_Quality", "1e3", Options{}, anyInt},
        {"Nesing_Quality", "", Options{}, anyInt},
        {"Nesing_ClampCenterList", "1..", Options{}, anyInt},
        {"Nesting_Adv_UseHole", "0x", Options{}, anyInt},
        {"Nesting_Adv_Pressing", "3OO", Options{}, anyInt},
        {"Nesing_ClampWidth", "12.5mm", Options{}, "from 0 to 1e+06: "},
        {"Nesing_ClampHeight", "42.0.0", Options{}, "from 0 to 1e+06: "},
        {"Nesing_ClampingDistance", ".", Options{}, "from 0 to 1e+06: "},
        {"Nesing_ClampingDistance", "inf", Options{}, "from 0 to 1e+06: "},
        {"Nesing_Clamp1PozX", "-5", Options{}, "from 0 to 1e+06: "},
    };
    for (const Told& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " = \"" + c.stored + "\"");
        host::reg::machineRegistry().deleteKey(host::reg::Hive::LocalMachine, host::reg::kProductKey);
        host::ed::transcript().clear();
        Store(c.name, c.stored);
        CNestingEngine engine;
        EXPECT_EQ(engine.LoadNestingOptions(), 0);
        EXPECT_EQ(OptionsOf(engine), c.expected);
        const std::string note = std::string("The setting \"") + c.name + "\" holds \"" + c.stored +
                                 "\", which is not a number " + c.note;
        EXPECT_NE(Transcript().find(note), std::string::npos) << Transcript();
    }
}

TEST_F(NestingOptions, EachReadingReplacesTheOptionsOfTheLastOne) {
    CNestingEngine engine;
    Store("Nesing_Quality", "8");
    Store("Nesing_ClampUse", "1");
    Store("Nesing_ClampQuantity", "2");
    Store("Nesting_Rect_UsePair", "0");
    engine.LoadNestingOptions();
    EXPECT_EQ(engine.QualityLevel, 8);
    EXPECT_EQ(engine.ClampQuantity, 2);
    EXPECT_EQ(engine.UseCluster, 0);

    host::reg::machineRegistry().deleteKey(host::reg::Hive::LocalMachine, host::reg::kProductKey);
    engine.LoadNestingOptions();
    EXPECT_EQ(OptionsOf(engine), Options{});
}

}  // namespace
