// Stand-in for the reader of part and stock drawings until it is built: a job that names a drawing is refused
// with a message, so that only jobs of rectangles load.
#include "host/ui/message_box.h"
#include "nesting/job/drawing_type_loader.h"
#include "nesting/job/job_messages.h"

namespace {

// Printf argument: the path of the drawing.
constexpr TwoLanguageText kDrawingReaderMissing{
    "\nERROR!!!\n\nThe drawing '%s' cannot be loaded: this build reads rectangle stocks and parts only.  ",
    "\nОШИБКА!!!\n\nЧертеж '%s' не может быть загружен: эта сборка читает только прямоугольные заготовки и "
    "детали.  "};

}  // namespace

int LoadDrawingType(CNestingState& /*state*/, PartType& type) {
    host::ui::messageBox(FormatLocalized(kDrawingReaderMissing, type.Path.c_str()), {},
                         host::ui::MB_OK | host::ui::MB_ICONERROR);
    return kDrawingTypeStopped;
}
