#pragma once

#include "reports/report_style.h"
#include "reports/report_summary.h"

#include <QLineF>
#include <QRectF>
#include <QString>

// One control of a report layout: a label with its caption, a field with its
// text, or a line. Positions and sizes are in inches from the top-left corner
// of the control's section.
//
// A field prints the text set from code exactly as set. A field with a data
// field or a summary instead takes its value from the report's data each time
// its section prints, written through its output format; after that its text
// reads back as printed.
class ReportControl
{
public:
    enum class Kind { Label, Field, Line };

    static ReportControl label(const QString &name, const QRectF &box, const QString &caption,
                               const ReportStyle &style = {});
    static ReportControl field(const QString &name, const QRectF &box,
                               const ReportStyle &style = {});
    static ReportControl line(const QString &name, const QLineF &line);

    // Layout building, chained: field(...).withDataField("Gross").withFormat("$#,##0.00").
    ReportControl &withDataField(const QString &dataField);
    ReportControl &withFormat(const QString &picture);
    ReportControl &withSummary(ReportSummary summary);
    ReportControl &hidden();

    Kind kind() const { return m_kind; }
    const QString &name() const { return m_name; }
    // The control's box; for a line the rectangle its two ends span.
    const QRectF &box() const { return m_box; }
    const QLineF &lineGeometry() const { return m_line; }
    const ReportStyle &style() const { return m_style; }

    // A label's caption, a field's text. Lines have neither.
    const QString &caption() const { return m_text; }
    void setCaption(const QString &caption) { m_text = caption; }
    const QString &text() const { return m_text; }
    void setText(const QString &text) { m_text = text; }

    bool isVisible() const { return m_visible; }
    void setVisible(bool visible) { m_visible = visible; }

    const QString &dataField() const { return m_dataField; }
    const QString &outputFormat() const { return m_outputFormat; }
    const ReportSummary &summary() const { return m_summary; }
    // True for a field whose text comes from data rather than from code.
    bool takesData() const;

private:
    ReportControl(Kind kind, const QString &name, const QRectF &box);

    Kind m_kind;
    QString m_name;
    QRectF m_box;
    QLineF m_line;
    ReportStyle m_style;
    QString m_text;
    bool m_visible = true;
    QString m_dataField;
    QString m_outputFormat;
    ReportSummary m_summary;
};
