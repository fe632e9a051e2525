#pragma once
// The windows that live across commands (the log-in, the main window, the
// register) have one instance each in the program, made on first use and
// reached by their class, so one window can find another's controls. Modal windows that
// must start from their design values are made anew for each opening instead.
#include <memory>
#include <typeindex>
#include <utility>
#include <vector>

#include "platform/forms/form.h"

namespace petty {

class FormInstances {
public:
    template <class FormType>
    FormType& get() {
        for (auto& [type, form] : forms_)
            if (type == std::type_index(typeid(FormType))) return static_cast<FormType&>(*form);
        forms_.emplace_back(std::type_index(typeid(FormType)), std::make_unique<FormType>());
        return static_cast<FormType&>(*forms_.back().second);
    }

    // Destroys every instance, the latest made first (tests; the program at its end).
    void releaseAll();

private:
    std::vector<std::pair<std::type_index, std::unique_ptr<forms::Form>>> forms_;
};

FormInstances& formInstances();

}  // namespace petty
