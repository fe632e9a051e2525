// The register's recompute of the open period's running balances: every open
// row rewritten in one transaction, beside as many closed rows of the period before.
#include <benchmark/benchmark.h>

#include "bench/register/open_period_book.h"
#include "petty/register/running_balance.h"

namespace {

using bench_register::kRowsPerPeriod;

void BM_RewriteRunningBalances(benchmark::State& state) {
    static const bench_register::OpenPeriodBook book;
    jet::Database db = book.open();
    for (auto _ : state) benchmark::DoNotOptimize(petty::rewriteRunningBalances(db));
    state.SetItemsProcessed(state.iterations() * kRowsPerPeriod);
}
BENCHMARK(BM_RewriteRunningBalances)->Unit(benchmark::kMillisecond);

}  // namespace
