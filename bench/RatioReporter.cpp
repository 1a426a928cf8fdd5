#include "RatioReporter.h"

#include <cstdio>

namespace korvel::bench {

void RatioReporter::ReportRuns(const std::vector<Run>& runs) {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
        if (run.iterations == 0) continue;
        const double ns = run.real_accumulated_time * 1e9 / double(run.iterations);
        const auto items = run.counters.find("items");
        m_results[run.benchmark_name()] = {ns, items == run.counters.end() ? 0.0
                                                                           : double(items->second)};
    }
}

double RatioReporter::nanoseconds(const std::string& name) const {
    const auto it = m_results.find(name);
    return it == m_results.end() ? 0.0 : it->second.first;
}

double RatioReporter::nanosecondsPerItem(const std::string& name) const {
    const auto it = m_results.find(name);
    if (it == m_results.end() || it->second.second <= 0) return 0.0;
    return it->second.first / it->second.second;
}

void RatioReporter::printRatio(const std::string& label, const std::string& numerator,
                               const std::string& denominator, const std::string& goal) const {
    const double top = nanoseconds(numerator);
    const double bottom = nanoseconds(denominator);
    if (top <= 0 || bottom <= 0) return;
    std::printf("%-58s %8.2fx  (goal: %s)\n", label.c_str(), top / bottom, goal.c_str());
}

} // namespace korvel::bench
