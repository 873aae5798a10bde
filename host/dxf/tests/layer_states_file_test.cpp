// Named layer states travel with the drawing file.
#include <gtest/gtest.h>

#include "host/db/layer_states.h"
#include "host/dxf/dxf_file.h"

namespace host::dxf {
namespace {

TEST(LayerStatesFile, SavedStatesComeBackFromTheFile) {
    db::Database original;
    ASSERT_EQ(db::saveLayerState(original, "Plot"), db::Status::Ok);
    ASSERT_EQ(db::saveLayerState(original, "Cut"), db::Status::Ok);
    ReadResult read = readDxfText(writeDxfText(original), "states.dxf");
    ASSERT_TRUE(read) << read.error;
    EXPECT_EQ(db::layerStateNames(*read.database), (std::vector<std::string>{"Plot", "Cut"}));
    EXPECT_EQ(db::restoreLayerState(*read.database, "Plot"), db::Status::Ok);
}

}  // namespace
}  // namespace host::dxf
