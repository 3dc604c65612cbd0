#pragma once

#include "reports/report_document.h"
#include "reports/report_rows.h"

#include <QHash>
#include <QList>
#include <QStringList>

class ReportLayout;
class ReportSection;

// Lays a report's pages out from its layout and its rows: the report header
// once, a page header and footer on every page, a group header where each
// group begins and its footer where it ends, the detail once per row, and the
// report footer after the last row.
//
// Rows are read one at a time from their source and not kept: only the
// values the layout's summaries add up are held, one list per field. Just
// before a section is placed, its fields that take data get their values
// from the current row (or their summaries over the group or the report so
// far) through their output formats, and then its handler runs. Texts set
// from code are left as they are. A group header is placed before the rows
// after its first are read, so a summary in it covers that first row.
class ReportRenderer
{
public:
    explicit ReportRenderer(ReportLayout &layout);

    // A listing: one detail per row, none when there are no rows.
    ReportDocument run(ReportRowSource &rows);
    ReportDocument run(const ReportRows &rows);
    // A form filled from code: the detail prints once.
    ReportDocument runOnce();

private:
    struct Group
    {
        ReportSection *header = nullptr;
        ReportSection *footer = nullptr;
    };
    // The values of one row for the fields the layout reads.
    using Values = QList<QVariant>;

    void collectSections();
    void collectFields();
    // `values` is the row shown (nullptr: none); summaries cover the
    // summed rows [groupBegin, groupEnd).
    void prepare(ReportSection &section, const Values *values, int groupBegin, int groupEnd);
    void read(const ReportRowSource &source, Values &values) const;
    // The outermost group level whose value differs between the two rows;
    // the number of levels when none does.
    int firstChangedLevel(const Values &previous, const Values &current) const;

    ReportLayout &m_layout;
    QList<Group> m_groups;
    ReportSection *m_reportHeader = nullptr;
    ReportSection *m_pageHeader = nullptr;
    ReportSection *m_detail = nullptr;
    ReportSection *m_pageFooter = nullptr;
    ReportSection *m_reportFooter = nullptr;

    QStringList m_fields;           // every data field the layout reads
    QHash<QString, int> m_fieldIndex;
    QList<int> m_places;            // where the source holds each field, when it says
    // Per section, the index in m_fields of each control's data field.
    QHash<const ReportSection *, QList<int>> m_controlFields;
    QStringList m_summedFields;     // the fields summaries add up
    ReportRows m_summed;            // their values, row by row
};
