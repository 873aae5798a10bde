// The check that a drawing holds only geometry contour creation can handle.
#include "laser/contours/drawing_validation.h"

#include "cadlib/messages.h"
#include "host/db/resbuf.h"
#include "host/ed/selection.h"
#include "host/ui/message_box.h"

using host::db::EntityName;
using host::db::ResBuf;
using host::db::ResBufList;

namespace {

// DXF group codes of the selection filters.
constexpr int kFilterOperator = -4;
constexpr int kFilterType = 0;
constexpr int kFilterLayer = 8;

const TwoLanguageText kInvalidHead = {
    "The part contains invalid contours\n",
    "Деталь содержит недопустимые контуры\n",
};
const TwoLanguageText kSplinesLine = {
    "%s\n%i) Number of splines - %i\nConvert splines to polylines",
    "%s\n%i) Количество сплайнов - %i\nПреобразуйте сплайны в полилинии",
};
const TwoLanguageText kEllipsesLine = {
    "%s\n%i) Number of ellipses - %i\nConvert ellipses to polylines",
    "%s\n%i) Количество эллипсов - %i\nПреобразуйте эллипсы в полилинии",
};
const TwoLanguageText kUnusedLayersLine = {
    "%s\n%i) Number of lines on unused layers - %i\nSet lines to the correct type (for example - Basic, Engraving)",
    "%s\n%i) Количество линий на неиспользуемых слоях - %i\nУстановите линиям правильный тип (например - Основной, "
    "Гравировка)",
};
const TwoLanguageText kStrayPointsLine = {
    "%s\n%i) Number of points on unused layers - %i\nSet points to the correct layer (for example - MarkPoint, "
    "JumperLine...)",
    "%s\n%i) Количество точек на неиспользуемых слоях - %i\nПереместите точки на правильный слой (например - "
    "MarkPoint, JumperLine...)",
};
const TwoLanguageText kInvalidTail = {
    "%s\n\nCorrect the errors and resubmit the command.",
    "%s\n\nИсправьте ошибки и повторите команду.",
};

// The number of entities of the whole drawing that pass `filter` (0 when none does).
int CountSelected(const ResBufList& filter) {
    EntityName set;
    if (host::ed::ssGet("_X", nullptr, nullptr, &filter, set) != host::db::RTNORM) return 0;
    std::int32_t length = 0;
    host::ed::ssLength(set, length);
    host::ed::ssFree(set);
    return length;
}

}  // namespace

InvalidGeometryCounts CountInvalidGeometry() {
    InvalidGeometryCounts counts;
    counts.splines = CountSelected({ResBuf(kFilterOperator, "<or"), ResBuf(kFilterType, "SPLINE"),
                                    ResBuf(kFilterOperator, "or>")});
    counts.ellipses = CountSelected({ResBuf(kFilterOperator, "<or"), ResBuf(kFilterType, "ELLIPSE"),
                                     ResBuf(kFilterOperator, "or>")});
    ResBufList unused = {ResBuf(kFilterOperator, "<not"), ResBuf(kFilterOperator, "<or")};
    for (std::string_view layer : kContourDrawingLayers) unused.emplace_back(kFilterLayer, std::string(layer));
    unused.emplace_back(kFilterOperator, "or>");
    unused.emplace_back(kFilterOperator, "not>");
    counts.onUnusedLayers = CountSelected(unused);
    counts.strayPoints = CountSelected({ResBuf(kFilterOperator, "<and"), ResBuf(kFilterType, "POINT"),
                                        ResBuf(kFilterOperator, "<not"), ResBuf(kFilterOperator, "<or"),
                                        ResBuf(kFilterLayer, "MarkPoint"), ResBuf(kFilterLayer, "JumperLine"),
                                        ResBuf(kFilterOperator, "or>"), ResBuf(kFilterOperator, "not>"),
                                        ResBuf(kFilterOperator, "and>")});
    return counts;
}

int CountTextsOnEngravingLayers() {
    return CountSelected({ResBuf(kFilterOperator, "<and"), ResBuf(kFilterOperator, "<or"), ResBuf(kFilterType, "TEXT"),
                          ResBuf(kFilterType, "MTEXT"), ResBuf(kFilterOperator, "or>"), ResBuf(kFilterOperator, "<or"),
                          ResBuf(kFilterLayer, "EngraveLine"), ResBuf(kFilterLayer, "EngraveAndMarkLine"),
                          ResBuf(kFilterOperator, "or>"), ResBuf(kFilterOperator, "and>")});
}

std::string FormatInvalidGeometryMessage(const InvalidGeometryCounts& counts) {
    std::string text = Localized(kInvalidHead);
    int line = 1;
    const std::pair<const TwoLanguageText*, int> items[] = {
        {&kSplinesLine, counts.splines},
        {&kEllipsesLine, counts.ellipses},
        {&kUnusedLayersLine, counts.onUnusedLayers},
        {&kStrayPointsLine, counts.strayPoints},
    };
    for (const auto& [format, count] : items) {
        if (count <= 0) continue;
        text = FormatLocalized(*format, text.c_str(), line, count);
        ++line;
    }
    return FormatLocalized(kInvalidTail, text.c_str());
}

int ValidateContourDrawing() {
    const InvalidGeometryCounts counts = CountInvalidGeometry();
    if (counts.Clean()) return 0;
    host::ui::messageBox(FormatInvalidGeometryMessage(counts), {}, host::ui::MB_OK);
    return -1;
}
