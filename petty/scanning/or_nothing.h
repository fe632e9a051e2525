#pragma once
// A control call whose run-time error counts as no answer: the scan window's
// steps read a value that way and go on without it.
#include <exception>
#include <optional>

namespace petty {

template <class Call>
auto orNothing(Call&& call) -> std::optional<decltype(call())> {
    try {
        return call();
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

}  // namespace petty
