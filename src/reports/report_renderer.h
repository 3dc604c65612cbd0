#pragma once

#include "reports/report_document.h"

#include <QList>

class ReportLayout;
class ReportRows;
class ReportSection;

// Lays a report's pages out from its layout and its rows: the report header
// once, a page header and footer on every page, a group header where each
// group begins and its footer where it ends, the detail once per row, and the
// report footer after the last row.
//
// Just before a section is placed, its fields that take data get their
// values from the current row (or their summaries over the group or the
// report) through their output formats, and then its handler runs. Texts set
// from code are left as they are.
class ReportRenderer
{
public:
    explicit ReportRenderer(ReportLayout &layout);

    // A listing: one detail per row, none when there are no rows.
    ReportDocument run(const ReportRows &rows);
    // A form filled from code: the detail prints once.
    ReportDocument runOnce();

private:
    // Group `level`'s sections (outer group first); either may be missing.
    struct Group
    {
        ReportSection *header = nullptr;
        ReportSection *footer = nullptr;
    };

    void prepare(ReportSection &section, int row, int groupBegin, int groupEnd);
    // The outermost group level whose value changes at `row`; the number of
    // levels when none does.
    int firstChangedLevel(int row) const;
    // The row after the last one of the group of `level` that starts at `row`.
    int groupEnd(int level, int row) const;
    void collectSections();

    ReportLayout &m_layout;
    const ReportRows *m_rows = nullptr;
    QList<Group> m_groups;
    ReportSection *m_reportHeader = nullptr;
    ReportSection *m_pageHeader = nullptr;
    ReportSection *m_detail = nullptr;
    ReportSection *m_pageFooter = nullptr;
    ReportSection *m_reportFooter = nullptr;
};
