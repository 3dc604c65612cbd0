#pragma once

#include "reports/report_section.h"

#include <QPageLayout>
#include <QString>

#include <deque>

// A report's layout: its name, its paper and margins, and its sections in
// print order (report header, page header, group headers outer to inner,
// detail, group footers inner to outer, page footer, report footer; any may
// be missing). Controls are found by name, so a report's handlers fill and
// show them the way its description names them.
class ReportLayout
{
public:
    // Letter paper, portrait, one-inch margins.
    static QPageLayout letterPortrait();

    explicit ReportLayout(const QString &name, const QPageLayout &page = letterPortrait());

    const QString &name() const { return m_name; }
    const QPageLayout &pageLayout() const { return m_page; }
    void setPageLayout(const QPageLayout &page) { m_page = page; }

    // Adds a section at the end; the reference stays valid for the layout's
    // life.
    ReportSection &addSection(ReportSection section);
    std::deque<ReportSection> &sections() { return m_sections; }
    const std::deque<ReportSection> &sections() const { return m_sections; }
    // nullptr when there is none of that name.
    ReportSection *section(const QString &name);
    // A control of any section; nullptr when there is none of that name.
    ReportControl *control(const QString &name);

private:
    QString m_name;
    QPageLayout m_page;
    std::deque<ReportSection> m_sections;
};
