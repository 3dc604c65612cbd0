#include "reports/ui/report_preview.h"

#include "common/prompts.h"
#include "common/ui/bring_up.h"
#include "common/ui/progress_dialog.h"
#include "reports/report_painter.h"
#include "reports/report_pdf.h"
#include "reports/ui/report_page_view.h"

#include <QAction>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

constexpr qreal kZoomStep = 1.25;
const QString kSaveCsvTitle = QStringLiteral("Save as CSV");

} // namespace

ReportPreview::ReportPreview(QWidget *parent) : QDialog(parent)
{
    setWindowModality(Qt::NonModal);
    setWindowFlag(Qt::WindowMinMaxButtonsHint);
    m_view = new ReportPageView(this);
    m_view->setObjectName(QStringLiteral("pageView"));
    buildToolBar();
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_toolBar);
    layout->addWidget(m_view, 1);
    connect(m_view, &ReportPageView::currentPageChanged, this, &ReportPreview::showPageNumber);
}

ReportPreview::~ReportPreview() = default;

void ReportPreview::buildToolBar()
{
    m_toolBar = new QToolBar(this);
    m_toolBar->setObjectName(QStringLiteral("previewToolBar"));
    const auto add = [this](const char *name, const QString &text, auto slot,
                            QList<QKeySequence> keys = {}) {
        QAction *action = m_toolBar->addAction(text);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcuts(keys);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    // Escape closes the preview as it does every dialog.
    add("actPrint", QStringLiteral("Print…"), [this] { print(); },
        QKeySequence::keyBindings(QKeySequence::Print));
    m_toolBar->addSeparator();
    add("actFitWidth", QStringLiteral("Fit Width"), [this] { m_view->fitWidth(); });
    add("actZoomIn", QStringLiteral("Zoom In"), [this] { m_view->setZoom(m_view->zoom() * kZoomStep); });
    add("actZoomOut", QStringLiteral("Zoom Out"),
        [this] { m_view->setZoom(m_view->zoom() / kZoomStep); });
    m_toolBar->addSeparator();
    add("actFirstPage", QStringLiteral("First"), [this] { m_view->showPage(0); },
        {Qt::Key_Home, QKeySequence::MoveToStartOfDocument});
    add("actPreviousPage", QStringLiteral("Previous"),
        [this] { m_view->showPage(m_view->currentPage() - 1); }, {QKeySequence::MoveToPreviousPage});
    add("actNextPage", QStringLiteral("Next"),
        [this] { m_view->showPage(m_view->currentPage() + 1); }, {QKeySequence::MoveToNextPage});
    add("actLastPage", QStringLiteral("Last"),
        [this] { m_view->showPage(m_view->document().pageCount() - 1); },
        {Qt::Key_End, QKeySequence::MoveToEndOfDocument});
    m_pageNumber = new QLabel(m_toolBar);
    m_pageNumber->setObjectName(QStringLiteral("lblPage"));
    m_pageNumber->setContentsMargins(8, 0, 8, 0);
    m_toolBar->addWidget(m_pageNumber);
    m_toolBar->addSeparator();
    m_actSaveCsv = add("actSaveCsv", QStringLiteral("Save as CSV…"), [this] { saveCsv(); });
    m_actSaveCsv->setEnabled(false);
}

ReportPreview *ReportPreview::reused(QPointer<ReportPreview> &slot, QWidget *owner,
                                     const QString &objectName, const QSize &size)
{
    if (!slot) {
        slot = new ReportPreview(owner);
        slot->setObjectName(objectName);
        slot->resize(size);
    }
    return slot;
}

void ReportPreview::showDocument(const ReportDocument &document, const QString &title,
                                 ReportCsvExport csv)
{
    m_title = title;
    m_csv = std::move(csv);
    m_actSaveCsv->setEnabled(bool(m_csv.write) && m_csv.prompts);
    setWindowTitle(title);
    m_view->setDocument(document);
    showPageNumber(0);
    // A page opens as wide as the window; later documents keep the zoom
    // the user chose.
    const bool opening = !isVisible();
    bringUp(*this);
    if (opening)
        m_view->fitWidth();
}

const ReportDocument &ReportPreview::document() const
{
    return m_view->document();
}

int ReportPreview::pageCount() const
{
    return m_view->document().pageCount();
}

QPrinter *ReportPreview::printer()
{
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return m_printer.get();
}

void ReportPreview::showPageNumber(int index)
{
    m_pageNumber->setText(
        QStringLiteral("Page %1 of %2").arg(pageCount() == 0 ? 0 : index + 1).arg(pageCount()));
}

void ReportPreview::print()
{
    QPrinter *target = printer();
    target->setPageLayout(document().pageLayout());
    target->setDocName(m_title);
    QPrintDialog dialog(target, this);
    if (dialog.exec() == QDialog::Accepted)
        printTo(*target);
}

bool ReportPreview::printTo(QPrinter &target)
{
    QProgressDialog progress(this);
    prepareProgress(progress, QStringLiteral("dlgPrintProgress"), m_title, QString());
    progress.setRange(0, pageCount());
    const auto step = [&progress](int done, int total) {
        progress.setLabelText(QStringLiteral("Page %1 of %2 done").arg(done).arg(total));
        progress.setValue(done); // lets the dialog see its Cancel button
        return !progress.wasCanceled();
    };
    const bool toFile =
        target.outputFormat() == QPrinter::PdfFormat && !target.outputFileName().isEmpty();
    if (toFile) {
        QString error;
        if (ReportPdf::write(document(), target.outputFileName(), &error, step))
            return true;
        if (!progress.wasCanceled() && m_csv.prompts)
            m_csv.prompts->message(QStringLiteral("The file \"%1\" could not be saved: %2")
                                       .arg(target.outputFileName(), error),
                                   m_title, Prompts::Icon::Critical);
        return false;
    }
    if (ReportPainter::paint(document(), target, step))
        return true;
    if (progress.wasCanceled())
        target.abort();
    return false;
}

void ReportPreview::saveCsv()
{
    if (!m_csv.write || !m_csv.prompts)
        return;
    Prompts::SaveFile request;
    request.title = kSaveCsvTitle;
    request.initialPath = m_csv.suggestedName;
    request.nameFilters = {QStringLiteral("CSV Files (*.csv)")};
    request.defaultSuffix = QStringLiteral("csv");
    const std::optional<QString> path = m_csv.prompts->saveFile(request);
    if (!path)
        return;
    QString error;
    if (!m_csv.write(*path, &error))
        m_csv.prompts->message(QStringLiteral("The file \"%1\" could not be saved: %2")
                                   .arg(*path, error),
                               kSaveCsvTitle, Prompts::Icon::Critical);
}
