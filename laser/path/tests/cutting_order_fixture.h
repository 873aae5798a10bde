// Test support for the automatic cutting orders: the contours of a drawing in the order their path groups were
// written, read back from the groups' descriptions.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "laser/path/path_groups.h"
#include "laser/path/tests/contour_lookup_fixture.h"

namespace path_testing {

class CuttingOrderTest : public ContourLookupTest {
public:
    // Makes the contours of the drawing and starts the order's run with an empty message-box log and transcript.
    void Create() {
        ASSERT_EQ(CreateContours(), 0) << Transcript();
        ASSERT_GT(Job().contourCount, 0);
        host::ui::clearMessageBoxLog();
        host::ed::transcript().clear();
    }
    // The record indices of the contour groups among 1..pathGroupCount, in cut order (the home group left out).
    std::vector<int> CutOrder() {
        std::vector<int> order;
        for (int n = 1; n <= Job().pathGroupCount; ++n) {
            PathRecord record;
            EXPECT_EQ(ReadPathRecord(static_cast<unsigned>(n), record), 0);
            if (record.typeWord == kHomeGroupWord) continue;
            int found = -1;
            for (int i = 0; i < Job().contourCount; ++i) {
                if (Rec(i).handle == record.contourHandle) found = i;
            }
            EXPECT_NE(found, -1) << "group " << n << ": " << record.description;
            order.push_back(found);
        }
        return order;
    }
    PathRecord Group(int n) {
        PathRecord record;
        ReadPathRecord(static_cast<unsigned>(n), record);
        return record;
    }
};

}  // namespace path_testing
