#include "figure_table.h"

#include <cstdio>

void FigureTable::ReportRuns(const std::vector<Run> &runs)
{
    ConsoleReporter::ReportRuns(runs);
    for (const Run &run : runs) {
        const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
        if (run.error_occurred || (run.run_type == Run::RT_Aggregate && !median))
            continue;
        const double toMs = 1000.0 / benchmark::GetTimeUnitMultiplier(run.time_unit);
        // Work done in child processes is counted by the benchmark itself.
        const auto childCpu = run.counters.find("child_cpu_ms");
        const double cpuMs = childCpu != run.counters.end() ? childCpu->second.value
                                                             : run.GetAdjustedCPUTime() * toMs;
        // A median replaces the single repetitions recorded before it.
        m_figures[run.run_name.function_name] = {run.GetAdjustedRealTime() * toMs, cpuMs};
    }
}

bool FigureTable::printTable(const std::vector<Goal> &goals) const
{
    bool allMet = true;
    // Real time is what the user waits; CPU time shows the work itself when
    // other programs share the cores.
    std::printf("\n%-34s %10s %10s %10s %10s %8s  %-16s %s\n", "item (median)", "program", "(cpu)",
                "floor", "(cpu)", "ratio", "goal", "met");
    for (const Goal &goal : goals) {
        const auto program = m_figures.find(goal.program);
        const auto floor = m_figures.find(goal.floor);
        if (program == m_figures.end() || floor == m_figures.end()) {
            std::printf("%-34s %10s\n", goal.item.c_str(), "not run");
            allMet = false;
            continue;
        }
        const double p = goal.cpu ? program->second.cpuMs : program->second.realMs;
        const double f = goal.cpu ? floor->second.cpuMs : floor->second.realMs;
        const double ratio = f > 0 ? p / f : 0;
        char target[32];
        bool met = true;
        if (goal.maxRatio > 0) {
            std::snprintf(target, sizeof target, "<= %.1fx %s", goal.maxRatio,
                          goal.cpu ? "cpu" : "real");
            met = ratio <= goal.maxRatio;
        } else {
            std::snprintf(target, sizeof target, "<= %g ms", goal.maxMs);
            met = p <= goal.maxMs;
        }
        allMet = allMet && met;
        std::printf("%-34s %10.3f %10.3f %10.3f %10.3f %7.2fx  %-16s %s\n", goal.item.c_str(),
                    program->second.realMs, program->second.cpuMs, floor->second.realMs,
                    floor->second.cpuMs, ratio, target, met ? "yes" : "NO");
    }
    return allMet;
}
