#include "petty/register/settlement_check.h"

#include "platform/vb/amount_text.h"

namespace petty {

namespace {

std::string text(vb::Currency amount) { return vb::amountText(amount); }

SettlementVerdict checkCashReceived(const SettlementVoucher& v, vb::Currency advanced, vb::Currency settled) {
    if (settled + v.cashIn <= advanced) return {};
    const std::string employee(v.employee);
    return {false, "Advance is " + text(advanced) + " Total balance = " + text(advanced - settled) +
                       " !  You are taking more cash (" + std::string(v.cashInText) + ") than " + employee +
                       " owes! Please give cash to " + employee + " if you want to settle balance!\""};
}

SettlementVerdict checkCashGiven(const SettlementVoucher& v, vb::Currency advanced, vb::Currency settled) {
    const vb::Currency after = settled - v.cashOut;
    if (after == advanced) return {};
    const std::string employee(v.employee);
    const std::string paying = "Advance is " + text(advanced) + ". Total balance is " + text(advanced - settled) +
                               ".  You are giving him " + std::string(v.cashOutText) + "  for settlement. ";
    if (after < advanced) {
        const vb::Currency overpaid = advanced - after;
        return {false, paying + "You are overpaying " + text(overpaid) + " to " + employee + "! Please take back " +
                           text(overpaid) + " from " + employee +
                           " if you want to settle balance!"};
    }
    return {true, "Note: " + paying + "You need to still give " + text(after - advanced) + " to " + employee + "."};
}

}  // namespace

SettlementVerdict checkSettlement(const SettlementVoucher& voucher, vb::Currency advanced, vb::Currency settledBefore) {
    if (voucher.transType == kCashReceivedForSettlement) return checkCashReceived(voucher, advanced, settledBefore);
    if (voucher.transType == kCashGivenForSettlement) return checkCashGiven(voucher, advanced, settledBefore);
    return {};  // an expense may exceed what is open on the advance
}

std::string advanceAccountText(int64_t advance, vb::Currency advanced, vb::Currency settledBefore) {
    return "(vouch. no " + std::to_string(advance) + ") Advance : " + text(advanced) +
           "   total settled before this : " + text(settledBefore) + "   balance before this: " +
           text(advanced - settledBefore);
}

}  // namespace petty
