// One drawing entry of a nesting job loaded: read, built, made into a block, each step with its message.
#include "nesting/drawings/drawing_entry.h"

#include <exception>
#include <string>

#include "host/ui/message_box.h"
#include "nesting/drawings/drawing_messages.h"
#include "nesting/drawings/part_drawing_reader.h"
#include "nesting/drawings/part_geometry.h"

namespace {

void Tell(const TwoLanguageText& text, const std::string& path) {
    host::ui::messageBox(FormatLocalized(text, path.c_str()));
}

// Clears what a failed entry built, so that nothing of it stays in the type or the drawing.
int Fail(CNestingState& state, PartType& type, const TwoLanguageText& text) {
    EraseCopiedEntities(state);
    type.DrawingContours.clear();
    for (int set = 0; set < kContourSetCount; ++set) {
        type.Holes[set].clear();
        type.Outers[set].clear();
        type.Defects[set].clear();
    }
    Tell(text, type.Path);
    return kEntryFailed;
}

}  // namespace

int LoadDrawingEntry(CNestingState& state, PartType& type) {
    const bool stock = type.Kind == kKindStock;
    int read = kDrawingUnusable;
    try {
        read = ReadPartDrawing(state, type);
    } catch (const std::exception&) {
        return Fail(state, type, kErrorReadingFile);
    }
    if (read == kDrawingIllegalStockContours) return Fail(state, type, kStockIllegalContours);
    if (read != kDrawingRead) return Fail(state, type, stock ? kStockDrawingChanged : kPartDrawingChanged);

    if (stock) type.BasePoint = {-state.StockPointOrigin.x, -state.StockPointOrigin.y};
    try {
        BuildPartGeometry(state, type);
    } catch (const std::exception&) {
        return Fail(state, type, kErrorOffsettingFile);
    }
    // a type that still counts must have an outline to place (or to place on)
    if (type.Quantity > 0 && type.Outers[0].empty()) return Fail(state, type, kDrawingWithoutOuterContour);

    int block = -1;
    try {
        block = MakePartBlock(state, type);
    } catch (const std::exception&) {
        block = -1;
    }
    if (block != 0) return Fail(state, type, kErrorBlockOfFile);
    return kEntryLoaded;
}
