#pragma once
// Binds members of _Twain by name to their dispatch IDs in the type library,
// with the result wrapped as the member declares it: a family of members
// then reads as a table of name and behaviour.
#include <cstdint>
#include <functional>
#include <string>

#include "platform/com/dispatch_arguments.h"
#include "platform/com/model_dispatch.h"

namespace scanvelt {

class MemberBinder {
public:
    using Bind = std::function<void(com::DISPID, com::MemberHandler)>;
    explicit MemberBinder(Bind bind) : bind_(std::move(bind)) {}

    void Bool(const char* name, std::function<bool(const com::BoundArguments&)> body);
    void Long(const char* name, std::function<int32_t(const com::BoundArguments&)> body);
    void Double(const char* name, std::function<double(const com::BoundArguments&)> body);
    // The body answers UTF-8.
    void Text(const char* name, std::function<std::string(const com::BoundArguments&)> body);
    void None(const char* name, std::function<void(const com::BoundArguments&)> body);

    // The dispatch ID of a member of _Twain (throws when the model lacks it).
    static com::DISPID IdOf(const char* name);

private:
    Bind bind_;
};

// Argument i as UTF-8.
std::string Utf8Argument(const com::BoundArguments& arguments, size_t i);

}  // namespace scanvelt
