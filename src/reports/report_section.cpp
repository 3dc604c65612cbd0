#include "reports/report_section.h"

ReportSection::ReportSection(Kind kind, const QString &name, qreal height)
    : m_kind(kind), m_name(name), m_height(height)
{
}

ReportSection &ReportSection::withGroupField(const QString &dataField)
{
    m_groupField = dataField;
    return *this;
}

ReportSection &ReportSection::repeatedOnEachPage()
{
    m_repeat = true;
    return *this;
}

ReportControl &ReportSection::add(ReportControl control)
{
    m_controls.push_back(std::move(control));
    return m_controls.back();
}

ReportControl *ReportSection::control(const QString &name)
{
    for (ReportControl &control : m_controls) {
        if (control.name() == name)
            return &control;
    }
    return nullptr;
}

void ReportSection::runBeforePrint()
{
    if (m_beforePrint)
        m_beforePrint(*this);
}
