// Copies of contours.
#include "nesting/model/contour.h"

void CopyContour(Contour& destination, const Contour& source) {
    if (&destination != &source) {
        destination = source;
    }
}
