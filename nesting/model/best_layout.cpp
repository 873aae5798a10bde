// The best layout of a sheet, kept within its capacity.
#include "nesting/model/best_layout.h"

#include "nesting/model/model_messages.h"

void BestLayout::Clear() {
    BestLayoutStock = -1;
    Entries.clear();
}

bool BestLayout::Append(const BestLayoutEntry& entry) {
    if (Count() >= kBestLayoutCapacity) {
        PrintLocalized(kBestLayoutFull, kBestLayoutCapacity);
        return false;
    }
    if (Entries.capacity() == 0) {
        Entries.reserve(kBestLayoutCapacity);  // one allocation per sheet, never again during its passes
    }
    Entries.push_back(entry);
    return true;
}
