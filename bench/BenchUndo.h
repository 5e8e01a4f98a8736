#pragma once
// Times a change of the design or, with `timeUndo`, the undo that follows it; each iteration
// undoes what it did, so every run starts from the same design.

#include "core/PatternDocument.h"
#include "editing/TActions.h"

#include <benchmark/benchmark.h>

template <typename Change>
void timeChangeOrUndo(benchmark::State& state, PatternDocument& doc, bool timeUndo, Change change)
{
    TActions history(doc);
    for (auto _ : state) {
        if (timeUndo)
            state.PauseTiming();
        change(doc, history);
        if (timeUndo)
            state.ResumeTiming();
        else
            state.PauseTiming();
        history.Undo();
        if (!timeUndo)
            state.ResumeTiming();
        benchmark::DoNotOptimize(doc.CrossCells.constBits());
    }
    history.Reset();
}
