#include "reports/report_renderer.h"

#include "reports/report_layout.h"
#include "reports/report_pager.h"
#include "reports/report_rows.h"
#include "reports/report_value.h"

#include <utility>

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

void ReportRenderer::collectFields()
{
    const auto addField = [this](const QString &field) {
        if (!field.isEmpty() && !m_fieldIndex.contains(field)) {
            m_fieldIndex.insert(field, int(m_fields.size()));
            m_fields << field;
        }
    };
    for (const ReportSection &section : m_layout.sections()) {
        addField(section.groupField());
        QList<int> &fields = m_controlFields[&section];
        fields.clear();
        for (const ReportControl &control : section.controls()) {
            fields << -1;
            if (!control.takesData())
                continue;
            if (control.summary().function == ReportSummary::Function::None) {
                addField(control.dataField());
                fields.last() = m_fieldIndex.value(control.dataField());
            } else {
                for (const QString &field : {control.dataField(), control.summary().countsAs}) {
                    if (!field.isEmpty() && !m_summedFields.contains(field))
                        m_summedFields << field;
                }
            }
        }
    }
}

ReportDocument ReportRenderer::runOnce()
{
    ReportRows one;
    one.append(ReportRow());
    return run(one);
}

ReportDocument ReportRenderer::run(const ReportRows &rows)
{
    ReportRows::Reader reader(rows);
    return run(reader);
}

ReportDocument ReportRenderer::run(ReportRowSource &rows)
{
    collectFields();
    m_places.clear();
    for (const QString &field : m_fields)
        m_places << rows.placeOf(field);
    m_summed = ReportRows();
    ReportDocument document(m_layout.pageLayout());
    Values previous(m_fields.size());
    Values current(m_fields.size());
    const Values *shown = nullptr; // the row the page header and footer show
    int count = 0;                 // rows read so far
    ReportPager pager(document, m_pageHeader, m_pageFooter, [this, &shown, &count](ReportSection &band) {
        prepare(band, shown, 0, count);
    });

    if (m_reportHeader)
        prepare(*m_reportHeader, nullptr, 0, 0);
    pager.begin(m_reportHeader);

    const int levels = int(m_groups.size());
    QList<int> begins(levels, 0);
    QList<const ReportSection *> open(levels, nullptr); // headers of the groups printing
    const auto repeatOpenHeaders = [&] {
        QList<const ReportSection *> repeated;
        for (const ReportSection *header : open) {
            if (header && header->repeatsOnEachPage())
                repeated.append(header);
        }
        pager.setRepeated(repeated);
    };
    // Footers close the groups from the innermost out to `fromLevel`; the
    // rows before `end` are theirs.
    const auto closeGroups = [&](int fromLevel, int end) {
        for (int level = levels - 1; level >= fromLevel; --level) {
            if (ReportSection *footer = m_groups.at(level).footer) {
                prepare(*footer, &previous, begins.at(level), end);
                pager.place(*footer);
            }
        }
    };

    while (rows.next()) {
        const int row = count;
        read(rows, current);
        const int changed = row == 0 ? 0 : firstChangedLevel(previous, current);
        if (row > 0) {
            shown = &previous;
            closeGroups(changed, row);
        }
        m_summed.append(rows, m_summedFields);
        count = row + 1;
        shown = &current;
        if (changed < levels) {
            for (int level = changed; level < levels; ++level)
                open[level] = nullptr;
            repeatOpenHeaders();
        }
        for (int level = changed; level < levels; ++level) {
            begins[level] = row;
            ReportSection &header = *m_groups.at(level).header;
            prepare(header, &current, row, row + 1);
            pager.place(header);
            open[level] = &header;
            repeatOpenHeaders();
        }
        if (m_detail) {
            prepare(*m_detail, &current, levels > 0 ? begins.at(levels - 1) : 0, row + 1);
            pager.place(*m_detail);
        }
        std::swap(previous, current);
    }
    shown = count > 0 ? &previous : nullptr;
    if (count > 0)
        closeGroups(0, count);
    pager.setRepeated({});

    if (m_reportFooter) {
        prepare(*m_reportFooter, shown, 0, count);
        pager.place(*m_reportFooter);
    }
    pager.finish();
    m_summed = ReportRows();
    return document;
}

void ReportRenderer::read(const ReportRowSource &source, Values &values) const
{
    for (int i = 0; i < m_fields.size(); ++i)
        values[i] = m_places.at(i) >= 0 ? source.valueAt(m_places.at(i))
                                        : source.value(m_fields.at(i));
}

void ReportRenderer::prepare(ReportSection &section, const Values *values, int groupBegin,
                             int groupEnd)
{
    const QList<int> &fields = m_controlFields[&section];
    int index = -1;
    for (ReportControl &control : section.controls()) {
        ++index;
        if (!control.takesData())
            continue;
        const ReportSummary &summary = control.summary();
        if (summary.function == ReportSummary::Function::None) {
            const int field = fields.value(index, -1);
            const QVariant value = values && field >= 0 ? values->at(field) : QVariant();
            control.setText(ReportValue::format(value, control.outputFormat()));
            continue;
        }
        const bool wholeReport = summary.scope == ReportSummary::Scope::Report;
        bool overflow = false;
        const auto value = summary.over(m_summed, control.dataField(), wholeReport ? 0 : groupBegin,
                                        groupEnd, &overflow);
        if (overflow)
            control.setText(ReportSummary::overflowMark());
        else
            control.setText(value ? ReportValue::format(*value, control.outputFormat()) : QString());
    }
    section.runBeforePrint();
}

int ReportRenderer::firstChangedLevel(const Values &previous, const Values &current) const
{
    for (int level = 0; level < m_groups.size(); ++level) {
        const QString &field = m_groups.at(level).header->groupField();
        if (field.isEmpty())
            continue;
        const int index = m_fieldIndex.value(field);
        if (previous.at(index) != current.at(index))
            return level;
    }
    return int(m_groups.size());
}
