#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace korvel::bench {

// Prints the usual table and keeps each benchmark's time per iteration, so that ratios
// between benchmarks of one run can be printed at the end.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override;

    // Nanoseconds per iteration of the named benchmark; 0 when it did not run.
    double nanoseconds(const std::string& name) const;
    // Items per iteration are set by the benchmarks that process pixels.
    double nanosecondsPerItem(const std::string& name) const;

    void printRatio(const std::string& label, const std::string& numerator,
                    const std::string& denominator, const std::string& goal) const;

private:
    std::map<std::string, std::pair<double, double>> m_results; // ns per iteration, items
};

} // namespace korvel::bench
