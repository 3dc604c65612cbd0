#include "reports/report_renderer.h"

#include "reports/report_layout.h"
#include "reports/report_pager.h"
#include "reports/report_rows.h"
#include "reports/report_value.h"

ReportRenderer::ReportRenderer(ReportLayout &layout) : m_layout(layout)
{
    collectSections();
}

void ReportRenderer::collectSections()
{
    QList<ReportSection *> footers; // inner group first, as laid out
    for (ReportSection &section : m_layout.sections()) {
        switch (section.kind()) {
        case ReportSection::Kind::ReportHeader:
            m_reportHeader = &section;
            break;
        case ReportSection::Kind::PageHeader:
            m_pageHeader = &section;
            break;
        case ReportSection::Kind::GroupHeader:
            m_groups.append({&section, nullptr});
            break;
        case ReportSection::Kind::Detail:
            m_detail = &section;
            break;
        case ReportSection::Kind::GroupFooter:
            footers.append(&section);
            break;
        case ReportSection::Kind::PageFooter:
            m_pageFooter = &section;
            break;
        case ReportSection::Kind::ReportFooter:
            m_reportFooter = &section;
            break;
        }
    }
    // The innermost footer closes the innermost group.
    for (int i = 0; i < footers.size() && i < m_groups.size(); ++i)
        m_groups[m_groups.size() - 1 - i].footer = footers.at(i);
}

ReportDocument ReportRenderer::runOnce()
{
    ReportRows one;
    one.append({});
    return run(one);
}

ReportDocument ReportRenderer::run(const ReportRows &rows)
{
    m_rows = &rows;
    ReportDocument document(m_layout.pageLayout());
    int current = -1; // the row the page header and footer show
    ReportPager pager(document, m_pageHeader, m_pageFooter, [this, &current](ReportSection &band) {
        prepare(band, current, 0, current + 1);
    });

    if (m_reportHeader)
        prepare(*m_reportHeader, -1, 0, 0);
    pager.begin(m_reportHeader);

    const int levels = int(m_groups.size());
    QList<int> begins(levels, 0);
    const auto closeGroups = [&](int fromLevel, int end) {
        for (int level = levels - 1; level >= fromLevel; --level) {
            if (ReportSection *footer = m_groups.at(level).footer) {
                prepare(*footer, end - 1, begins.at(level), end);
                pager.place(*footer);
            }
        }
    };

    for (int row = 0; row < rows.size(); ++row) {
        const int changed = row == 0 ? 0 : firstChangedLevel(row);
        if (row > 0)
            closeGroups(changed, row);
        current = row;
        for (int level = changed; level < levels; ++level) {
            begins[level] = row;
            ReportSection &header = *m_groups.at(level).header;
            prepare(header, row, row, groupEnd(level, row));
            pager.place(header);
        }
        if (m_detail) {
            prepare(*m_detail, row, levels > 0 ? begins.at(levels - 1) : 0, row + 1);
            pager.place(*m_detail);
        }
    }
    if (!rows.isEmpty())
        closeGroups(0, rows.size());

    if (m_reportFooter) {
        prepare(*m_reportFooter, rows.size() - 1, 0, rows.size());
        pager.place(*m_reportFooter);
    }
    pager.finish();
    m_rows = nullptr;
    return document;
}

void ReportRenderer::prepare(ReportSection &section, int row, int groupBegin, int groupEnd)
{
    for (ReportControl &control : section.controls()) {
        if (!control.takesData())
            continue;
        const ReportSummary &summary = control.summary();
        if (summary.function == ReportSummary::Function::None) {
            const QVariant value =
                row >= 0 ? m_rows->at(row).value(control.dataField()) : QVariant();
            control.setText(ReportValue::format(value, control.outputFormat()));
            continue;
        }
        const bool wholeReport = summary.scope == ReportSummary::Scope::Report;
        bool overflow = false;
        const auto value = summary.over(*m_rows, control.dataField(), wholeReport ? 0 : groupBegin,
                                        wholeReport ? row + 1 : groupEnd, &overflow);
        if (overflow)
            control.setText(ReportSummary::overflowMark());
        else
            control.setText(value ? ReportValue::format(*value, control.outputFormat()) : QString());
    }
    section.runBeforePrint();
}

int ReportRenderer::firstChangedLevel(int row) const
{
    for (int level = 0; level < m_groups.size(); ++level) {
        const QString &field = m_groups.at(level).header->groupField();
        if (!field.isEmpty() && m_rows->at(row).value(field) != m_rows->at(row - 1).value(field))
            return level;
    }
    return int(m_groups.size());
}

int ReportRenderer::groupEnd(int level, int row) const
{
    int end = row + 1;
    while (end < m_rows->size() && firstChangedLevel(end) > level)
        ++end;
    return end;
}
