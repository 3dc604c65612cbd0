#pragma once

#include "reports/report_rows.h"

#include <QList>
#include <QStringList>
#include <QVariantList>

// Passes a source's rows on to a report as the report reads them, and keeps
// the values of some fields of every row read: what is saved beside the
// printed pages (a spreadsheet file) is then exactly the rows they show, not
// the rows a second reading would find.
class KeptRowSource : public ReportRowSource
{
public:
    KeptRowSource(ReportRowSource &source, const QStringList &keptFields);

    bool next() override;
    QVariant value(const QString &dataField) const override { return m_source.value(dataField); }
    int placeOf(const QString &dataField) const override { return m_source.placeOf(dataField); }
    QVariant valueAt(int place) const override { return m_source.valueAt(place); }

    // The kept fields of every row read so far, in order.
    const ReportRows &kept() const { return m_kept; }

private:
    ReportRowSource &m_source;
    QStringList m_fields;
    QList<int> m_places;
    QVariantList m_values;
    ReportRows m_kept;
};
