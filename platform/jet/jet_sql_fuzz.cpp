// libFuzzer target: the bytes as Jet SQL, a record source and a LIKE pattern,
// in both date orders. The translator may refuse a text (jet::Error); any
// other exception, a crash or undefined behaviour is a finding.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/jet/error.h"
#include "platform/jet/jet_sql.h"
#include "platform/vb/locale.h"

namespace {

template <class Step>
void refusedOrDone(Step step) {
    try {
        step();
    } catch (const jet::Error&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    vb::Locale monthFirst;
    monthFirst.dateOrder = vb::Locale::DateOrder::MonthDayYear;
    monthFirst.dateSeparator = '-';
    for (const vb::Locale& locale : {vb::Locale{}, monthFirst}) {
        refusedOrDone([&] { jet::translateSql(text, locale); });
        refusedOrDone([&] { jet::translateRecordSource(text, locale); });
    }
    refusedOrDone([&] { jet::translateLikePattern(text); });
    refusedOrDone([&] { jet::translateSql("select * from t where a like '" + jet::likeLiteral(text) + "'"); });
    jet::quoteIdentifier(text);
    return 0;
}
