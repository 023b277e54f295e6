#pragma once

// The benchmarks' own main: every benchmark repeated and randomly
// interleaved with the others, medians reported (summed up at the end),
// and each "Engine/..." median set beside the medians of the baselines of
// the same name ("FairRaw/...", "LiteralRaw/..."), with the ratio.
int runBenchmarksWithRatios(int argc, char** argv);
