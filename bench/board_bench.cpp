// Board bench: move generation on three fixed positions (opening, crowded middle game, sparse
// end game) in moves per second, one full computer turn per AI level on the same positions, and
// the search signature (scored moves and a checksum of the choices; a test pins both).
// Run: board_bench [--benchmark_format=json]
#include "game/board/AiSearch.h"
#include "game/board/BenchPositions.h"
#include "game/board/GameLogic.h"

#include <benchmark/benchmark.h>

#include <cstdio>

namespace
{
const BenchPosition& Position(int64_t index) { return GetBenchPositions()[static_cast<size_t>(index)]; }

void BM_GenerateMoves(benchmark::State& state)
{
    const BenchPosition& position = Position(state.range(0));
    const GameLogic logic = MakeBenchLogic(position, -1, 1);
    MoveList list;
    int64_t moves = 0;
    for (auto _ : state)
    {
        logic.GenerateMoves(position.currentPlayer, list);
        benchmark::DoNotOptimize(list.Data());
        benchmark::ClobberMemory();
        moves += list.Size();
    }
    state.SetLabel(std::string(position.name) + ", " + std::to_string(list.Size()) + " moves");
    state.counters["moves_per_second"] = benchmark::Counter(static_cast<double>(moves), benchmark::Counter::kIsRate);
}

void BM_ComputerTurn(benchmark::State& state)
{
    const BenchPosition& position = Position(state.range(0));
    const int level = static_cast<int>(state.range(1));
    GameLogic logic = MakeBenchLogic(position, level, 1);
    SearchStats stats;
    for (auto _ : state)
    {
        const AiMove move = AiSearch(logic, &stats).Search(SearchDepthForLevel(level), logic.GetRandom());
        benchmark::DoNotOptimize(move);
    }
    state.SetLabel(std::string(position.name) + ", level " + std::to_string(level));
    state.counters["scored_moves_per_turn"] =
        benchmark::Counter(static_cast<double>(stats.scoredMoves), benchmark::Counter::kAvgIterations);
}

void BM_SearchSignature(benchmark::State& state)
{
    SearchSignature signature;
    for (auto _ : state)
        signature = ComputeSearchSignature();
    state.counters["scored_moves"] = static_cast<double>(signature.scoredMoves);
    state.counters["checksum"] = static_cast<double>(signature.checksum);
    std::fprintf(stderr, "search signature: %llu scored moves, checksum %u\n",
                 static_cast<unsigned long long>(signature.scoredMoves), signature.checksum);
}
} // namespace

BENCHMARK(BM_GenerateMoves)->DenseRange(0, 2);
BENCHMARK(BM_ComputerTurn)->ArgsProduct({{0, 1, 2}, {0, 1, 2, 3}})->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SearchSignature)->Iterations(1)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
