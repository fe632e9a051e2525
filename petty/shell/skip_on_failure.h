#pragma once
// Window loads whose steps carry on past a failing one: the step's run-time
// error is dropped and the next step runs. The end of the program (which is no
// run-time error) still ends it.
#include <exception>

namespace petty {

template <class Step>
void skipOnFailure(Step&& step) {
    try {
        step();
    } catch (const std::exception&) {
    }
}

}  // namespace petty
