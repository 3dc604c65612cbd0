#include "reports/report_layout.h"

#include <QPageSize>

QPageLayout ReportLayout::letterPortrait()
{
    return QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF(1, 1, 1, 1),
                       QPageLayout::Inch);
}

ReportLayout::ReportLayout(const QString &name, const QPageLayout &page)
    : m_name(name), m_page(page)
{
}

ReportSection &ReportLayout::addSection(ReportSection section)
{
    m_sections.push_back(std::move(section));
    return m_sections.back();
}

ReportSection *ReportLayout::section(const QString &name)
{
    for (ReportSection &section : m_sections) {
        if (section.name() == name)
            return &section;
    }
    return nullptr;
}

ReportControl *ReportLayout::control(const QString &name)
{
    for (ReportSection &section : m_sections) {
        if (ReportControl *control = section.control(name))
            return control;
    }
    return nullptr;
}
