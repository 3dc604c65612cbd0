#include "reports/kept_row_source.h"

KeptRowSource::KeptRowSource(ReportRowSource &source, const QStringList &keptFields)
    : m_source(source), m_fields(keptFields), m_kept(keptFields)
{
    for (const QString &field : m_fields)
        m_places << m_source.placeOf(field);
    m_values.resize(m_fields.size());
}

bool KeptRowSource::next()
{
    if (!m_source.next())
        return false;
    for (qsizetype i = 0; i < m_fields.size(); ++i) {
        const int place = m_places.at(i);
        m_values[i] = place >= 0 ? m_source.valueAt(place) : m_source.value(m_fields.at(i));
    }
    m_kept.appendValues(m_values);
    return true;
}
