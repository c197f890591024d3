#pragma once
// Printing: the current document (no dialog), the selection (after the print dialog, in the font
// of the hidden TextBox1), a text named on the command line, and the page-setup and printer-setup
// dialogs. One printer serves every job of the run; what the setup dialogs choose stays on it.
// Text is laid out page after page with no margins beyond what the printer cannot reach (the
// page-setup margins are kept, not applied). Where no printer is installed, each job becomes a
// PDF file in the user's documents folder, named after the job, and the status bar names it.

#include <QByteArrayView>
#include <QFont>
#include <QString>

#include <functional>
#include <memory>

class DocumentSet;
class EditorViews;
class QPrinter;
class StatusBar;

// The page-setup values kept between runs ("PageSetupDialog1.*"): the paper size and margins in
// hundredths of a millimetre or thousandths of an inch, as `measurements` says (0: the locale's
// unit, 1: millimetres, 2: inches); a paper size of 0 x 0 means the printer's own.
struct PageSetupValues
{
    int paperX = 0, paperY = 0;
    int measurements = 0; // pmDefault
    int marginLeft = 0, marginRight = 0, marginTop = 0, marginBottom = 0;
    bool centered = false;
};

// Prints `text` on `printer` in `font`, page after page from its printable area's top left corner,
// black on white; an empty text prints one empty page. Returns the number of pages. Throws
// CommandError when the printer refuses the job.
// `progress`, when given, hears the share of the text printed (0 to 100) each time it grows.
int printText(QPrinter& printer, QByteArrayView text, const QFont& font,
              const std::function<void(int)>& progress = nullptr);

class PrintController
{
public:
    PrintController(DocumentSet& documents, EditorViews& views, StatusBar& statusBar, PageSetupValues& pageSetup);
    ~PrintController();

    void printDocument();
    void printSelection();
    void pageSetup();
    void printerSetup();
    // Prints `text` under the job title `title` in TextBox1's font (the command line's "/p").
    void printScratch(QByteArrayView text, const QString& title);

    // TextBox1's font: Courier New 10 point until the options window's "Change Default Font".
    QFont selectionFont() const { return m_selectionFont; }
    void setSelectionFont(const QFont& font) { m_selectionFont = font; }

    // Every job becomes a PDF file in `folder` (empty: only where no printer is installed, in the
    // documents folder).
    void setPdfFolder(const QString& folder) { m_pdfFolder = folder; }
    // The PDF file the last job wrote; empty when it went to a printer.
    QString lastPdf() const { return m_lastPdf; }

private:
    QPrinter& printer();
    void print(QByteArrayView text, const QString& title, const QFont& font);
    // Where a job goes as PDF when nothing else names a file: a new file named after it.
    QString pdfPathFor(const QString& title) const;
    // The printer's page as the stored paper size and orientation say, with no margins beyond
    // what it cannot reach.
    void applyPaper();
    // Where jobs go to PDF (no printer installed, or printing to a file chosen), the printer gets
    // a new file named after `title`.
    void aimAtPdf(const QString& title);

    DocumentSet& m_documents;
    EditorViews& m_views;
    StatusBar& m_statusBar;
    PageSetupValues& m_pageSetup;
    std::unique_ptr<QPrinter> m_printer;
    QFont m_selectionFont;
    QString m_pdfFolder;
    QString m_lastPdf;
};
