#include "platform/forms_qt/mouse_pointers.h"

#include "platform/forms/ui.h"

namespace forms_qt {

Qt::CursorShape pointerShape(int pointer) {
    switch (pointer) {
        case 2: return Qt::CrossCursor;
        case 3: return Qt::IBeamCursor;
        case 5:
        case 15: return Qt::SizeAllCursor;
        case 6: return Qt::SizeBDiagCursor;  // north-east to south-west
        case 7: return Qt::SizeVerCursor;
        case 8: return Qt::SizeFDiagCursor;  // north-west to south-east
        case 9: return Qt::SizeHorCursor;
        case 10: return Qt::UpArrowCursor;
        case forms::vbHourglass: return Qt::WaitCursor;
        case 12: return Qt::ForbiddenCursor;
        case 13: return Qt::BusyCursor;
        case 14: return Qt::WhatsThisCursor;
        default: return Qt::ArrowCursor;
    }
}

}  // namespace forms_qt
