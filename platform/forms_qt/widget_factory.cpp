#include "platform/forms_qt/widget_factory.h"

#include <stdexcept>

#include "platform/forms/forms.h"
#include "platform/forms_qt/views/activex_view.h"
#include "platform/forms_qt/views/button_views.h"
#include "platform/forms_qt/views/calendar_view.h"
#include "platform/forms_qt/views/combo_view.h"
#include "platform/forms_qt/views/data_view.h"
#include "platform/forms_qt/views/frame_view.h"
#include "platform/forms_qt/views/grid_view.h"
#include "platform/forms_qt/views/label_view.h"
#include "platform/forms_qt/views/menu_item_view.h"
#include "platform/forms_qt/views/picture_views.h"
#include "platform/forms_qt/views/scroll_bar_view.h"
#include "platform/forms_qt/views/tab_view.h"
#include "platform/forms_qt/views/text_box_view.h"

namespace forms_qt {

ControlView* makeView(forms::Control& control, FormView& owner) {
    using forms::ControlKind;
    switch (control.kind()) {
        case ControlKind::Label: return new LabelView(static_cast<forms::Label&>(control), owner);
        case ControlKind::TextBox: return new TextBoxView(static_cast<forms::TextBox&>(control), owner);
        case ControlKind::CommandButton:
            return new CommandButtonView(static_cast<forms::CommandButton&>(control), owner);
        case ControlKind::CheckBox: return new CheckBoxView(static_cast<forms::CheckBox&>(control), owner);
        case ControlKind::OptionButton: return new OptionButtonView(static_cast<forms::OptionButton&>(control), owner);
        case ControlKind::ComboBox:
        case ControlKind::DataCombo: return new ComboView(static_cast<forms::ComboBox&>(control), owner);
        case ControlKind::Frame: return new FrameView(static_cast<forms::Frame&>(control), owner);
        case ControlKind::TabControl: return new TabView(static_cast<forms::TabControl&>(control), owner);
        case ControlKind::Grid: return new GridView(static_cast<forms::Grid&>(control), owner);
        case ControlKind::Calendar: return new CalendarView(static_cast<forms::Calendar&>(control), owner);
        case ControlKind::Image:
        case ControlKind::PictureBox: return new PictureView(static_cast<forms::PictureHolder&>(control), owner);
        case ControlKind::Menu: return new MenuItemView(static_cast<forms::MenuItem&>(control), owner);
        case ControlKind::Data: return new DataView(static_cast<forms::DataControl&>(control), owner);
        case ControlKind::HScrollBar: return new ScrollBarView(static_cast<forms::ScrollBar&>(control), owner);
        case ControlKind::ActiveX: return new ActiveXView(static_cast<forms::ActiveXControl&>(control), owner);
    }
    throw std::logic_error("no view for the control " + control.displayName());
}

}  // namespace forms_qt
