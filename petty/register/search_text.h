#pragma once
// The register's search: the search panel's settings turned into the SQL text
// that datPrimaryRS is re-queried with. Values the user typed are never part
// of the text: they are bound as parameters (numbers parsed first), so a quote
// typed into the value box is searched for like any other character. So is
// every character Jet's LIKE gives a meaning (* ? # [ ] and SQLite's % _): a
// clerk looking for "Invoice #12" or "50% [advance]" finds exactly that text.
#include <string>
#include <vector>

#include "platform/jet/value.h"

#include "petty/register/period_ids.h"

namespace petty {

struct SearchSettings {
    bool allStaff = true;      // Check1 ticked
    std::string employee;      // DBCombo1
    std::string typeFilter;    // Combo1
    std::string field;         // Combo2
    std::string value;         // combo2Text
};

struct SearchText {
    std::string sql;            // complete, with its order; empty when refused
    std::vector<jet::Value> parameters;  // bound to the text's "?" in order
    std::string refusal;        // the message shown instead of searching
};

// `currentPeriod` is read only by the period filters of the type filter.
SearchText searchText(const SearchSettings& settings, PeriodId currentPeriod);

}  // namespace petty
