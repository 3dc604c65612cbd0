#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

// Prints Google Benchmark's own lines and keeps the median of each
// benchmark, so that the run can end with each figure beside the floor
// measured in the same run, their ratio and the goal.
class FigureTable : public benchmark::ConsoleReporter
{
public:
    struct Figure
    {
        double realMs = 0;
        double cpuMs = 0;
    };

    // One line of the closing table: program and floor benchmark names; the
    // goal either in milliseconds of the program's figure or as a ratio.
    struct Goal
    {
        std::string item;
        std::string program;
        std::string floor;
        double maxMs = 0;    // 0: no time goal
        double maxRatio = 0; // 0: no ratio goal
        bool cpu = false;    // compare CPU time instead of real time
    };

    void ReportRuns(const std::vector<Run> &runs) override;

    // The median of a benchmark; nullptr when it did not run.
    const Figure *figure(const std::string &name) const
    {
        const auto found = m_figures.find(name);
        return found == m_figures.end() ? nullptr : &found->second;
    }

    // Prints the table; true when every goal is met.
    bool printTable(const std::vector<Goal> &goals) const;

private:
    std::map<std::string, Figure> m_figures;
};
