#include "Ratios.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs)
            if (r.run_type == Run::RT_Aggregate && r.aggregate_name == "median" && !r.error_occurred)
                medians_[r.run_name.str()] = {r.GetAdjustedRealTime(), benchmark::GetTimeUnitString(r.time_unit),
                                              r.repetitions};
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        std::printf("\nMedians of interleaved repetitions:\n");
        for (const auto& [name, m] : medians_)
            std::printf("%-70s %10.3f %s  (%lld repetitions)\n", name.c_str(), m.time, m.unit,
                        static_cast<long long>(m.repetitions));
        const std::string engine = "Engine/";
        bool header = false;
        for (const auto& [name, m] : medians_) {
            if (name.rfind(engine, 0) != 0)
                continue;
            const std::string rest = name.substr(engine.size());
            for (const auto& [other, o] : medians_) {
                const auto slash = other.find('/');
                if (other.rfind(engine, 0) == 0 || slash == std::string::npos || other.substr(slash + 1) != rest)
                    continue;
                if (!header) {
                    std::printf("\nThe engine against each baseline:\n");
                    header = true;
                }
                std::printf("%-58s %10.1f %s  vs %-10s %10.1f %s  ratio %.2f  (%lld repetitions)\n", name.c_str(),
                            m.time, m.unit, other.substr(0, slash).c_str(), o.time, o.unit, m.time / o.time,
                            static_cast<long long>(m.repetitions));
            }
        }
        std::fflush(stdout);
    }

private:
    struct Median {
        double time;
        const char* unit;
        std::int64_t repetitions;
    };
    std::map<std::string, Median> medians_;
};

} // namespace

int runBenchmarksWithRatios(int argc, char** argv)
{
    // Defaults that the command line can override: medians of repeated,
    // interleaved runs, so that a slow moment of the machine falls on every
    // side alike.
    std::vector<char*> args(argv, argv + argc);
    static char repetitions[] = "--benchmark_repetitions=15";
    static char interleaving[] = "--benchmark_enable_random_interleaving=true";
    static char aggregates[] = "--benchmark_report_aggregates_only=true";
    args.insert(args.begin() + 1, {repetitions, interleaving, aggregates});
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data()))
        return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
