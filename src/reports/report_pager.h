#pragma once

#include "reports/report_text_fit.h"

#include <QList>
#include <QtGlobal>

#include <functional>

class ReportDocument;
class ReportSection;

// Lays sections down the pages of a document: the report header first on
// the first page, a page header at the top of every page, a page footer at
// the foot of every page, and a new page whenever the next section would run
// into the page footer. A section taller than a whole page is placed at the
// top of a page of its own and cut at the page's edge. Each text is fitted
// to its box as it is placed (see ReportTextFit).
class ReportPager
{
public:
    // Fills a page header or footer's data fields and runs its handler just
    // before it is placed.
    using Prepare = std::function<void(ReportSection &)>;

    ReportPager(ReportDocument &document, ReportSection *pageHeader, ReportSection *pageFooter,
                Prepare prepare);

    // Opens the first page with the report header (may be nullptr).
    void begin(ReportSection *reportHeader);
    void place(const ReportSection &section);
    // The group headers to place again at the top of each new page, outer
    // first.
    void setRepeated(QList<const ReportSection *> sections) { m_repeated = std::move(sections); }
    // Closes the last page.
    void finish();

private:
    void startPage(ReportSection *reportHeader = nullptr);
    void endPage();
    void put(const ReportSection &section, qreal top);
    qreal bodyLimit() const;

    ReportDocument &m_document;
    ReportSection *m_pageHeader;
    ReportSection *m_pageFooter;
    Prepare m_prepare;
    qreal m_pageHeight;
    qreal m_y = 0;
    bool m_bodyOnPage = false; // a section other than the page header is on the page
    ReportTextFit m_fit;
    QList<const ReportSection *> m_repeated;
};
