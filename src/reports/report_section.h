#pragma once

#include "reports/report_control.h"

#include <QString>

#include <deque>
#include <functional>

// One band of a report layout: its kind, its height in inches, its controls
// and the handler that runs each time it is about to print (after the fields
// that take data have their values, so the handler can read and change them).
// A group header may name a data field: a new group starts whenever that
// field's value changes from one row to the next.
class ReportSection
{
public:
    enum class Kind {
        ReportHeader,
        PageHeader,
        GroupHeader,
        Detail,
        GroupFooter,
        PageFooter,
        ReportFooter
    };
    using Handler = std::function<void(ReportSection &)>;

    ReportSection(Kind kind, const QString &name, qreal height);

    Kind kind() const { return m_kind; }
    const QString &name() const { return m_name; }
    qreal height() const { return m_height; }
    // A band whose lines depend on the report's data is sized before the
    // report is run.
    void setHeight(qreal height) { m_height = height; }

    const QString &groupField() const { return m_groupField; }
    ReportSection &withGroupField(const QString &dataField);

    // A group header that prints again at the top of every page its group
    // runs onto, below the page header, so that each page carries its
    // column headings.
    bool repeatsOnEachPage() const { return m_repeat; }
    ReportSection &repeatedOnEachPage();

    bool isVisible() const { return m_visible; }
    void setVisible(bool visible) { m_visible = visible; }

    // Adds a control; the reference stays valid for the section's life.
    ReportControl &add(ReportControl control);
    const std::deque<ReportControl> &controls() const { return m_controls; }
    std::deque<ReportControl> &controls() { return m_controls; }
    // nullptr when the section has no control of that name.
    ReportControl *control(const QString &name);

    void setBeforePrint(Handler handler) { m_beforePrint = std::move(handler); }
    void runBeforePrint();

private:
    Kind m_kind;
    QString m_name;
    qreal m_height;
    QString m_groupField;
    bool m_visible = true;
    bool m_repeat = false;
    std::deque<ReportControl> m_controls;
    Handler m_beforePrint;
};
