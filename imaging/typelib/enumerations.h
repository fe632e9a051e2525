#pragma once
// The 53 enumerations of the type library: their order, GUIDs and constants.
#include <string>
#include <vector>

#include "platform/com/typelib_model.h"

namespace scanvelt::typelib {

struct EnumerationEntry {
    std::string name;
    std::string guid;
    std::vector<com::ConstantModel> constants;
};

// In library order, each with its constants in library order.
const std::vector<EnumerationEntry>& Enumerations();

// The parts they are built from.
const std::vector<EnumerationEntry>& ListedEnumerations();
std::vector<com::ConstantModel> TwainLanguageConstants();
std::vector<com::ConstantModel> TwainCountryConstants();
std::vector<com::ConstantModel> TwainCapabilityConstants();
std::vector<com::ConstantModel> TagConstants();
std::vector<com::ConstantModel> ColorConstants();

}  // namespace scanvelt::typelib
