#pragma once
// For tests: the tables of cases that prove each member of a control by its
// effect register the members they name here, per interface, as the test
// program starts; a coverage test then compares them with the members of the
// type library, so a member added to the library without a row fails it.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <variant>
#include <vector>

#include "imaging/typelib/scanvelt_typelib.h"
#include "platform/com/bstr.h"
#include "platform/com/typelib_model.h"
#include "platform/com/variant.h"

namespace scanvelt::testing {

// An argument of a row, in the type a late-bound host passes it.
using RowArgument = std::variant<int32_t, double, bool, std::string>;

inline com::VARIANT VariantOfArgument(const RowArgument& a) {
    if (auto* i = std::get_if<int32_t>(&a)) return com::MakeI4(*i);
    if (auto* d = std::get_if<double>(&a)) return com::MakeR8(*d);
    if (auto* b = std::get_if<bool>(&a)) return com::MakeBool(*b);
    return com::MakeBstrUtf8(std::get<std::string>(a));
}

inline std::map<std::string, std::set<std::string>>& TabledMembers() {
    static std::map<std::string, std::set<std::string>> tabled;
    return tabled;
}

// Registers the member named by each row (`Row::member`, a name of `face`).
// Used at namespace scope: `const bool registered = RegisterMemberTable("_Twain", kRows);`
template <class Rows>
bool RegisterMemberTable(const char* face, const Rows& rows) {
    for (const auto& row : rows) TabledMembers()[face].insert(row.member);
    return true;
}

// The distinct member names of an interface in the type library.
inline std::set<std::string> LibraryMemberNames(const char* face) {
    std::set<std::string> names;
    const com::TypeInfoModel* type = com::FindType(typelib::ScanveltTypeLib(), face);
    if (type)
        for (const auto& m : type->members) names.insert(m.name);
    return names;
}

// Fails for every member of `face` that no table names and that is not in
// `untabled` (members whose rows are still to be written, each named so that
// the list only shrinks), and for a name in either list that the library
// lacks; prints how many members the tables cover.
inline void ExpectEveryMemberTabled(const char* face, const std::set<std::string>& untabled) {
    const std::set<std::string> library = LibraryMemberNames(face);
    ASSERT_FALSE(library.empty()) << face;
    const std::set<std::string>& tabled = TabledMembers()[face];
    size_t covered = 0;
    for (const auto& name : library) {
        if (tabled.count(name)) ++covered;
        else EXPECT_TRUE(untabled.count(name)) << face << "." << name << " appears in no table of cases";
        EXPECT_FALSE(tabled.count(name) && untabled.count(name)) << name << " has a table now: take it off the list";
    }
    for (const auto& name : tabled) EXPECT_TRUE(library.count(name)) << face << " has no member " << name;
    for (const auto& name : untabled) EXPECT_TRUE(library.count(name)) << face << " has no member " << name;
    std::printf("%s: %zu of %zu members proven by a table of cases (%zu still without one)\n", face, covered,
                library.size(), library.size() - covered);
}

}  // namespace scanvelt::testing
