#pragma once
// The mouse pointers by their MousePointer numbers (1 arrow, 2 cross, 3 I-beam,
// ... 11 hourglass ... 15 size all) as Qt's shapes.
#include <Qt>

namespace forms_qt {

// The arrow for 0 (default), 1, 4 and numbers without a shape of their own.
Qt::CursorShape pointerShape(int pointer);

}  // namespace forms_qt
