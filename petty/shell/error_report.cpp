#include "petty/shell/error_report.h"

#include <string>

#include "platform/forms/ui.h"
#include "platform/jet/error.h"

namespace petty {

void reportRunError(const std::exception& error, std::string_view note) {
    int number = 0;
    std::string description = error.what();
    if (const auto* runError = dynamic_cast<const jet::Error*>(&error)) {
        number = runError->number();
        description = runError->description();
    }
    forms::ui().beep();
    forms::ui().msgBox("Error " + std::to_string(number) + " - " + description + std::string(note));
}

void answerDataErrorsWithBeeps(forms::DataControl& data, int beeps) {
    data.onError = [beeps](int, int& response) {
        for (int i = 0; i < beeps; ++i) forms::ui().beep();
        response = forms::vbDataErrContinue;
    };
}

void refuse(std::string_view message, bool beep) {
    if (beep) forms::ui().beep();
    forms::ui().msgBox(message);
}

}  // namespace petty
