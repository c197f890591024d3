#include "mainwindow/printcontroller.h"

#include "commands/printlayout.h"
#include "core/commanderror.h"
#include "core/prompts.h"
#include "documents/documentset.h"
#include "editor/editorview.h"
#include "editor/editorviews.h"
#include "mainwindow/statusbar.h"

#include <QDir>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QHash>
#include <QLocale>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProgressBar>
#include <QScopeGuard>
#include <QStandardPaths>

#include <cmath>

namespace {

const QString SelectionTitle = QStringLiteral("Selected Text");

// Texts longer than this (bytes) show their printing on the progress bar.
constexpr qsizetype ProgressFrom = 1 << 20;

// The unit the stored page-setup values are in, and how many stored steps make one of it.
struct StoredUnit
{
    QPageLayout::Unit unit;
    qreal steps;
};

StoredUnit storedUnit(const PageSetupValues& values)
{
    const bool metric = values.measurements == 1 ||
                        (values.measurements == 0 && QLocale::system().measurementSystem() == QLocale::MetricSystem);
    return metric ? StoredUnit{QPageLayout::Millimeter, 100} : StoredUnit{QPageLayout::Inch, 1000};
}

// A job title as a file name: its last part, without characters no file system takes.
QString fileNameOf(const QString& title)
{
    QString name = QFileInfo(title).fileName();
    for (QChar& c : name)
        if (QStringLiteral("\\/:*?\"<>|").contains(c) || c.unicode() < 0x20)
            c = QLatin1Char('_');
    return name.isEmpty() ? QStringLiteral("Quillet") : name;
}

} // namespace

int printText(QPrinter& printer, QByteArrayView text, const QFont& font, const std::function<void(int)>& progress)
{
    QPainter painter;
    if (!painter.begin(&printer)) {
        const QString target = printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName();
        throw CommandError(QStringLiteral("Printing \"%1\" could not start on \"%2\".").arg(printer.docName(), target));
    }
    auto ending = qScopeGuard([&painter] {
        if (painter.isActive())
            painter.end();
    });
    painter.setFont(font);
    painter.setPen(Qt::black);
    const QFontMetricsF metrics(painter.font(), painter.device());
    const QRectF area = printer.pageRect(QPrinter::DevicePixel);

    QHash<char32_t, qreal> widths;
    auto advance = [&metrics, &widths](char32_t c) {
        auto known = widths.constFind(c);
        if (known != widths.cend())
            return *known;
        const qreal width = metrics.horizontalAdvance(QString::fromUcs4(&c, 1));
        widths.insert(c, width);
        return width;
    };
    printlayout::PageSize size;
    size.width = area.width();
    size.height = area.height();
    size.lineHeight = metrics.lineSpacing();
    size.tabStop = 8 * metrics.horizontalAdvance(QLatin1Char(' '));
    const printlayout::Pager pager(text, size, advance);

    int pages = 0;
    qint64 pos = 0;
    do {
        if (pages > 0 && !printer.newPage())
            throw CommandError(
                QStringLiteral("The printer refused page %1 of \"%2\".").arg(pages + 1).arg(printer.docName()));
        const printlayout::Page page = pager.layOutPage(pos);
        qreal baseline = metrics.ascent();
        for (const printlayout::Line& line : page.lines) {
            for (const printlayout::Run& run : line.runs)
                painter.drawText(QPointF(run.x, baseline),
                                 QString::fromUtf8(text.sliced(run.start, run.end - run.start)));
            baseline += metrics.lineSpacing();
        }
        ++pages;
        if (progress && text.size() > 0 && page.next * 100 / text.size() != pos * 100 / text.size())
            progress(static_cast<int>(page.next * 100 / text.size()));
        pos = page.next;
    } while (pos < text.size());

    ending.dismiss();
    if (!painter.end() || printer.printerState() == QPrinter::Error)
        throw CommandError(QStringLiteral("Printing \"%1\" failed.").arg(printer.docName()));
    return pages;
}

PrintController::PrintController(DocumentSet& documents, EditorViews& views, StatusBar& statusBar,
                                 PageSetupValues& pageSetup)
    : m_documents(documents), m_views(views), m_statusBar(statusBar), m_pageSetup(pageSetup)
{
    m_selectionFont = QFont(QStringLiteral("Courier New"));
    m_selectionFont.setStyleHint(QFont::Monospace);
    m_selectionFont.setPointSize(10);
}

PrintController::~PrintController() = default;

QPrinter& PrintController::printer()
{
    // Made when first needed: asking the system for its printers can take a moment.
    if (!m_printer) {
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        m_printer->setCreator(QStringLiteral("Quillet"));
        m_printer->setFullPage(false);
        applyPaper();
    }
    return *m_printer;
}

void PrintController::applyPaper()
{
    QPrinter& target = *m_printer;
    if (m_pageSetup.paperX > 0 && m_pageSetup.paperY > 0) {
        const StoredUnit unit = storedUnit(m_pageSetup);
        QSizeF paper(m_pageSetup.paperX / unit.steps, m_pageSetup.paperY / unit.steps);
        const bool landscape = paper.width() > paper.height();
        if (landscape)
            paper.transpose();
        target.setPageSize(QPageSize(paper, static_cast<QPageSize::Unit>(unit.unit), QString(), QPageSize::FuzzyMatch));
        target.setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    }
    // The stored margins are the dialog's; the text uses all the printer can reach.
    const QPageLayout layout = target.pageLayout();
    target.setPageMargins(layout.minimumMargins(), layout.units());
}

QString PrintController::pdfPathFor(const QString& title) const
{
    QString folder = m_pdfFolder;
    if (folder.isEmpty()) {
        folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        if (folder.isEmpty() || !QFileInfo(folder).isDir())
            folder = QDir::homePath();
    }
    // A file already there is never replaced: it may be anything the user keeps.
    const QString base = QDir(folder).filePath(fileNameOf(title));
    QString path = base + QStringLiteral(".pdf");
    for (int n = 2; QFileInfo::exists(path) || QFileInfo(path).isSymLink(); ++n)
        path = base + QStringLiteral(" (%1).pdf").arg(n);
    return path;
}

void PrintController::aimAtPdf(const QString& title)
{
    QPrinter& target = *m_printer;
    const bool pdfOnly = !m_pdfFolder.isEmpty() || QPrinterInfo::availablePrinters().isEmpty();
    if (!pdfOnly && target.outputFormat() != QPrinter::PdfFormat)
        return;
    target.setOutputFormat(QPrinter::PdfFormat);
    applyPaper();
    target.setOutputFileName(pdfPathFor(title));
}

void PrintController::print(QByteArrayView text, const QString& title, const QFont& font)
{
    QPrinter& target = printer();
    target.setDocName(title);
    m_lastPdf.clear();
    // A file the print dialog chose is used for this job; every other job to PDF gets a new file.
    const bool fileChosen = target.outputFormat() == QPrinter::PdfFormat && !target.outputFileName().isEmpty();
    if (!fileChosen)
        aimAtPdf(title);
    const QString pdf = target.outputFormat() == QPrinter::PdfFormat ? target.outputFileName() : QString();
    const auto forgetFile = qScopeGuard([&target] {
        if (target.outputFormat() == QPrinter::PdfFormat)
            target.setOutputFileName(QString());
    });
    // A long text takes seconds: the progress bar shows it going. Nothing else runs meanwhile,
    // so the text cannot change under the printer.
    std::function<void(int)> progress;
    if (text.size() > ProgressFrom) {
        m_statusBar.showProgress();
        progress = [this](int percent) {
            m_statusBar.progressBar()->setValue(percent);
            m_statusBar.progressBar()->repaint();
        };
    }
    const auto hideProgress = qScopeGuard([this] { m_statusBar.hideProgress(); });
    printText(target, text, font, progress);
    m_lastPdf = pdf;
    if (!pdf.isEmpty())
        m_statusBar.setMessage(QStringLiteral("Printed to %1").arg(QDir::toNativeSeparators(pdf)));
    else
        m_statusBar.setMessage(QStringLiteral("Sent to the printer %1").arg(target.printerName()));
}

void PrintController::printDocument()
{
    print(m_views.current()->textView(), m_documents.currentCaption(), m_views.settings().font);
}

void PrintController::printSelection()
{
    const EditorView& editor = *m_views.current();
    if (editor.selLength() <= 0)
        return;
    // TextBox1 holds the selection as one line.
    QByteArray box = editor.textView().sliced(editor.selStart(), editor.selLength()).toByteArray();
    box.append("\r\n");
    // The dialog offers the file the job would get without it.
    QPrinter& target = printer();
    target.setDocName(SelectionTitle);
    aimAtPdf(SelectionTitle);
    if (!Prompts::current().printerDialog(PrinterDialog::Print, target)) {
        if (target.outputFormat() == QPrinter::PdfFormat)
            target.setOutputFileName(QString());
        return;
    }
    print(box, SelectionTitle, m_selectionFont);
}

void PrintController::printScratch(QByteArrayView text, const QString& title)
{
    print(text, title, m_selectionFont);
}

void PrintController::pageSetup()
{
    QPrinter& target = printer();
    const StoredUnit unit = storedUnit(m_pageSetup);
    // The dialog starts from the stored margins; the printer goes back to its own afterwards.
    const auto restorePaper = qScopeGuard([this] { applyPaper(); });
    target.setPageMargins(
        QMarginsF(m_pageSetup.marginLeft, m_pageSetup.marginTop, m_pageSetup.marginRight, m_pageSetup.marginBottom) /
            unit.steps,
        unit.unit);
    if (!Prompts::current().printerDialog(PrinterDialog::PageSetup, target))
        return;
    const QPageLayout layout = target.pageLayout();
    const QSizeF paper = layout.fullRect(unit.unit).size();
    const QMarginsF margins = layout.margins(unit.unit);
    m_pageSetup.paperX = qRound(paper.width() * unit.steps);
    m_pageSetup.paperY = qRound(paper.height() * unit.steps);
    m_pageSetup.marginLeft = qRound(margins.left() * unit.steps);
    m_pageSetup.marginTop = qRound(margins.top() * unit.steps);
    m_pageSetup.marginRight = qRound(margins.right() * unit.steps);
    m_pageSetup.marginBottom = qRound(margins.bottom() * unit.steps);
}

void PrintController::printerSetup()
{
    QPrinter& target = printer();
    // Printing to a file is the choice kept; the file itself is each job's own, so a later job
    // never replaces one named here.
    if (Prompts::current().printerDialog(PrinterDialog::PrinterSetup, target) &&
        target.outputFormat() == QPrinter::PdfFormat)
        target.setOutputFileName(QString());
}
