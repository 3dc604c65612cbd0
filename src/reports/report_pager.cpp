#include "reports/report_pager.h"

#include "reports/report_document.h"
#include "reports/report_section.h"

ReportPager::ReportPager(ReportDocument &document, ReportSection *pageHeader,
                         ReportSection *pageFooter, Prepare prepare)
    : m_document(document), m_pageHeader(pageHeader), m_pageFooter(pageFooter),
      m_prepare(std::move(prepare)),
      m_pageHeight(document.pageLayout().paintRect(QPageLayout::Inch).height())
{
}

void ReportPager::begin(ReportSection *reportHeader)
{
    startPage(reportHeader);
}

void ReportPager::place(const ReportSection &section)
{
    if (!section.isVisible())
        return;
    if (m_bodyOnPage && m_y + section.height() > bodyLimit() + 1e-9) {
        endPage();
        startPage();
    }
    put(section, m_y);
    m_y += section.height();
    m_bodyOnPage = true;
}

void ReportPager::finish()
{
    endPage();
}

void ReportPager::startPage(ReportSection *reportHeader)
{
    m_document.startPage();
    m_y = 0;
    m_bodyOnPage = false;
    if (reportHeader && reportHeader->isVisible()) {
        put(*reportHeader, m_y);
        m_y += reportHeader->height();
        m_bodyOnPage = true;
    }
    if (m_pageHeader) {
        m_prepare(*m_pageHeader);
        if (m_pageHeader->isVisible()) {
            put(*m_pageHeader, m_y);
            m_y += m_pageHeader->height();
        }
    }
    if (reportHeader)
        return;
    for (const ReportSection *repeated : m_repeated) {
        if (repeated->isVisible()) {
            put(*repeated, m_y);
            m_y += repeated->height();
        }
    }
}

void ReportPager::endPage()
{
    if (!m_pageFooter)
        return;
    m_prepare(*m_pageFooter);
    if (m_pageFooter->isVisible())
        put(*m_pageFooter, m_pageHeight - m_pageFooter->height());
}

qreal ReportPager::bodyLimit() const
{
    const bool footer = m_pageFooter && m_pageFooter->isVisible();
    return m_pageHeight - (footer ? m_pageFooter->height() : 0);
}

void ReportPager::put(const ReportSection &section, qreal top)
{
    for (const ReportControl &control : section.controls()) {
        if (!control.isVisible())
            continue;
        PlacedItem item;
        item.control = control.name();
        if (control.kind() == ReportControl::Kind::Line) {
            item.kind = PlacedItem::Kind::Line;
            item.setLine(control.lineGeometry().translated(0, top));
        } else {
            item.kind = PlacedItem::Kind::Text;
            item.box = control.box().translated(0, top);
            const FittedText fitted =
                m_fit.fit(control.text(), control.style(), control.box().width());
            item.text = fitted.text;
            item.fontSize = float(fitted.fontSize);
        }
        m_document.place(std::move(item), control.style());
    }
}
