#include "petty/register/status_line.h"

#include <exception>

#include "petty/register/balance_sums.h"
#include "petty/shell/open_period_sums.h"
#include "platform/vb/amount_text.h"

namespace petty {

namespace {

// A figure that cannot be read is marked so rather than stopping the refresh.
template <class Sum>
BalanceFigure figure(Sum&& sum) {
    try {
        return sum();
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

std::string figureText(const BalanceFigure& figure) {
    return figure ? vb::amountText(*figure) : std::string(kUnreadableFigure);
}

}  // namespace

std::string balanceStatusCaption(const BalanceFigures& figures) {
    std::string text = "Pettycash ( Cash fill: " + figureText(figures.cashFill) +
                       "    Total expenses: " + figureText(figures.totalExpenses);
    if (figures.amountNotSettled) text += "    Amount not settled: " + figureText(*figures.amountNotSettled);
    return text + "    Cash-in-hand: " + figureText(figures.cashInHand) + " )";
}

std::string unsettledToolTip(int64_t count) { return "Unsettled transactions : " + std::to_string(count); }

void showBalanceStatus(forms::Label& statusLine, jet::Database& db, bool noAdvanceMode) {
    BalanceFigures figures;
    // The figures the book keeps are read in one go.
    if (const std::optional<OpenPeriodSums> kept = keptOpenPeriodSums(db)) {
        figures.cashFill = kept->cashFill;
        figures.totalExpenses = kept->totalExpenses;
        if (!noAdvanceMode) {
            statusLine.setToolTip(unsettledToolTip(kept->unsettledCount));
            figures.amountNotSettled = BalanceFigure(-kept->unsettledMovement);
        }
        figures.cashInHand = kept->cashInHand;
        statusLine.setCaption(balanceStatusCaption(figures));
        return;
    }
    figures.cashFill = figure([&] { return getCashFill(db); });
    figures.totalExpenses = figure([&] { return getTotalExpenses(db); });
    if (!noAdvanceMode) {
        try {
            statusLine.setToolTip(unsettledToolTip(getUnsettledCount(db)));
        } catch (const std::exception&) {
        }
        figures.amountNotSettled = figure([&] { return getAmountNotSettled(db); });
    }
    figures.cashInHand = figure([&] { return getCashBalance(db); });
    statusLine.setCaption(balanceStatusCaption(figures));
}

}  // namespace petty
