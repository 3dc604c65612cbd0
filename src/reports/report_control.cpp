#include "reports/report_control.h"

ReportControl::ReportControl(Kind kind, const QString &name, const QRectF &box)
    : m_kind(kind), m_name(name), m_box(box)
{
}

ReportControl ReportControl::label(const QString &name, const QRectF &box, const QString &caption,
                                   const ReportStyle &style)
{
    ReportControl control(Kind::Label, name, box);
    control.m_text = caption;
    control.m_style = style;
    return control;
}

ReportControl ReportControl::field(const QString &name, const QRectF &box, const ReportStyle &style)
{
    ReportControl control(Kind::Field, name, box);
    control.m_style = style;
    return control;
}

ReportControl ReportControl::line(const QString &name, const QLineF &line)
{
    ReportControl control(Kind::Line, name, QRectF(line.p1(), line.p2()).normalized());
    control.m_line = line;
    return control;
}

ReportControl &ReportControl::withDataField(const QString &dataField)
{
    m_dataField = dataField;
    return *this;
}

ReportControl &ReportControl::withFormat(const QString &picture)
{
    m_outputFormat = picture;
    return *this;
}

ReportControl &ReportControl::withSummary(ReportSummary summary)
{
    m_summary = summary;
    return *this;
}

ReportControl &ReportControl::hidden()
{
    m_visible = false;
    return *this;
}

bool ReportControl::takesData() const
{
    return m_kind == Kind::Field &&
           (!m_dataField.isEmpty() || m_summary.function != ReportSummary::Function::None);
}
