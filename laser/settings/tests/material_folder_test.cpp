// The material files a new installation finds: the default material of the settings and the second shipped one
// read from the installation's material folder, and a named folder taking its place.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "cadlib/material_file.h"
#include "laser/settings/laser_settings.h"
#include "laser/settings/material_folder.h"
#include "settings_fixture.h"

namespace {

using laser_settings_testing::SettingsRegistryTest;

class MaterialFolder : public SettingsRegistryTest {};

TEST_F(MaterialFolder, TheDefaultMaterialIsFoundInTheShippedFolder) {
    CLaserSettings settings;  // a fresh registry: every default
    ASSERT_TRUE(settings.DirMaterial.empty());
    const std::filesystem::path path = MaterialPathOf(settings.DirMaterial, settings.Material);
    EXPECT_EQ(path.parent_path(), ShippedMaterialFolder());
    std::string density, number;
    ASSERT_EQ(ReadMaterialFile(path, density, number), 0) << path;
    EXPECT_EQ(number, settings.Material_Num);
    EXPECT_DOUBLE_EQ(std::stod(density), settings.Density);
}

TEST_F(MaterialFolder, EveryShippedMaterialReads) {
    struct Shipped {
        const char* file;
        const char* number;
        double density;  // kg per cubic millimetre
    };
    for (const Shipped& m : {Shipped{"STEEL.MAT", "1", 7.85e-06}, Shipped{"STAINLESS.MAT", "2", 7.93e-06}}) {
        std::string density, number;
        ASSERT_EQ(ReadMaterialFile(MaterialPathOf("", m.file), density, number), 0) << m.file;
        EXPECT_EQ(number, m.number) << m.file;
        EXPECT_DOUBLE_EQ(std::stod(density), m.density) << m.file;
    }
}

TEST_F(MaterialFolder, ANamedFolderIsTakenAsItStands) {
    const std::string folder = (std::filesystem::temp_directory_path() / "materials").string();
    EXPECT_EQ(MaterialFolderOf(folder), std::filesystem::path(folder));
    EXPECT_EQ(MaterialPathOf(folder + "/", "ALU.MAT"), std::filesystem::path(folder) / "ALU.MAT");
    EXPECT_EQ(MaterialFolderOf(""), ShippedMaterialFolder());
}

}  // namespace
