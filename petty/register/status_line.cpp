#include "petty/register/status_line.h"

#include <exception>

#include "petty/register/balance_sums.h"
#include "platform/vb/amount_text.h"

namespace petty {

namespace {

// A figure that cannot be read shows 0 rather than stopping the refresh.
template <class Sum>
vb::Currency figureOrZero(Sum&& sum) {
    try {
        return sum();
    } catch (const std::exception&) {
        return {};
    }
}

}  // namespace

std::string balanceStatusCaption(const BalanceFigures& figures) {
    std::string text = "Pettycash ( Cash fill: " + vb::amountText(figures.cashFill) +
                       "    Total expenses: " + vb::amountText(figures.totalExpenses);
    if (figures.amountNotSettled) text += "    Amount not settled: " + vb::amountText(*figures.amountNotSettled);
    return text + "    Cash-in-hand: " + vb::amountText(figures.cashInHand) + " )";
}

std::string unsettledToolTip(int64_t count) { return "Unsettled transactions : " + std::to_string(count); }

void showBalanceStatus(forms::Label& statusLine, jet::Database& db, bool noAdvanceMode) {
    BalanceFigures figures;
    figures.cashFill = figureOrZero([&] { return getCashFill(db); });
    figures.totalExpenses = figureOrZero([&] { return getTotalExpenses(db); });
    if (!noAdvanceMode) {
        try {
            statusLine.setToolTip(unsettledToolTip(getUnsettledCount(db)));
        } catch (const std::exception&) {
        }
        figures.amountNotSettled = figureOrZero([&] { return getAmountNotSettled(db); });
    }
    figures.cashInHand = figureOrZero([&] { return getCashBalance(db); });
    statusLine.setCaption(balanceStatusCaption(figures));
}

}  // namespace petty
