#pragma once
// Everything a window of the program needs: the form base, every kind of
// control, the Data control, the Ui service and the user-input API.
//
// How it fits together:
// - A window is a class derived from Form (form.h) that owns its controls as
//   members (controls/*.h, control_array.h) and wires their std::function
//   events to its handlers in its constructor.
// - Data controls (controls/data_control.h) open the book; text boxes, combos,
//   labels and check boxes bind to a column (bindable.h), grids and data
//   combos take their rows from one.
// - Message boxes, input boxes, beeps, the mouse pointer and the shell go
//   through ui() (ui.h); modal loops and windows through the application's
//   Host (host.h, application.h).
// - Users act only through forms::user (user_input.h): the tests do, and so
//   does the Qt front end, which observes every control (property.h) to draw it.
// - Tests install TestUi (test_ui.h) and TestHost (test_host.h): queued
//   answers, scripted modal forms and a journal to assert on.
#include "platform/forms/application.h"
#include "platform/forms/color.h"
#include "platform/forms/control.h"
#include "platform/forms/control_array.h"
#include "platform/forms/controls/activex_control.h"
#include "platform/forms/controls/calendar.h"
#include "platform/forms/controls/check_box.h"
#include "platform/forms/controls/combo_box.h"
#include "platform/forms/controls/command_button.h"
#include "platform/forms/controls/data_combo.h"
#include "platform/forms/controls/data_control.h"
#include "platform/forms/controls/frame.h"
#include "platform/forms/controls/grid.h"
#include "platform/forms/controls/image.h"
#include "platform/forms/controls/scroll_bar.h"
#include "platform/forms/controls/label.h"
#include "platform/forms/controls/menu_item.h"
#include "platform/forms/controls/option_button.h"
#include "platform/forms/controls/tab_control.h"
#include "platform/forms/controls/text_box.h"
#include "platform/forms/error.h"
#include "platform/forms/font.h"
#include "platform/forms/form.h"
#include "platform/forms/host.h"
#include "platform/forms/keys.h"
#include "platform/forms/ui.h"
#include "platform/forms/user_input.h"
