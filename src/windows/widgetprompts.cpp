#include "windows/widgetprompts.h"

#include <QApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPushButton>

#include <algorithm>

Answer WidgetPrompts::question(const QString& title, const QString& text, Answer defaultAnswer)
{
    const QMessageBox::StandardButton defaultButton = defaultAnswer == Answer::No       ? QMessageBox::No
                                                      : defaultAnswer == Answer::Cancel ? QMessageBox::Cancel
                                                                                        : QMessageBox::Yes;
    const auto button = QMessageBox::question(QApplication::activeWindow(), title, text,
                                              QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, defaultButton);
    if (button == QMessageBox::Yes)
        return Answer::Yes;
    if (button == QMessageBox::No)
        return Answer::No;
    return Answer::Cancel;
}

void WidgetPrompts::warning(const QString& title, const QString& text)
{
    QMessageBox::warning(QApplication::activeWindow(), title, text);
}

void WidgetPrompts::information(const QString& title, const QString& text)
{
    QMessageBox::information(QApplication::activeWindow(), title, text);
}

void WidgetPrompts::error(const QString& text)
{
    QMessageBox::critical(QApplication::activeWindow(), QStringLiteral("Quillet"), text);
}

std::optional<QFont> WidgetPrompts::chooseFont(const QFont& initial)
{
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, initial, QApplication::activeWindow());
    if (!ok)
        return std::nullopt;
    return font;
}

std::optional<QColor> WidgetPrompts::chooseColour(const QColor& initial)
{
    const QColor colour = QColorDialog::getColor(initial, QApplication::activeWindow());
    if (!colour.isValid())
        return std::nullopt;
    return colour;
}

namespace {

// A file dialog set up from its kept state; the state learns the folder and name chosen.
QStringList runFileDialog(FileDialogState& state, QFileDialog::AcceptMode mode, QFileDialog::FileMode fileMode)
{
    QFileDialog dialog(QApplication::activeWindow(), state.title, state.initialDir);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(fileMode);
    const QStringList filters = qtNameFilters(state.filter).split(QStringLiteral(";;"));
    dialog.setNameFilters(filters);
    if (state.filterIndex >= 1 && state.filterIndex <= filters.size())
        dialog.selectNameFilter(filters[state.filterIndex - 1]);
    dialog.setDefaultSuffix(state.defaultExt);
    if (!state.fileName.isEmpty())
        dialog.selectFile(state.fileName);
    QComboBox* encodings = nullptr;
    if (!state.encodings.isEmpty()) {
        // The encoding goes on a row of the dialog's own, below the file types, so choosing it is
        // part of choosing the file; only Qt's own dialog takes an extra row.
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout())) {
            encodings = new QComboBox(&dialog);
            encodings->setObjectName(QStringLiteral("EncodingCombo"));
            encodings->addItems(state.encodings);
            encodings->setCurrentIndex(std::max<qsizetype>(0, state.encodings.indexOf(state.encoding)));
            auto* label = new QLabel(QStringLiteral("&Encoding:"), &dialog);
            label->setBuddy(encodings);
            const int row = grid->rowCount();
            grid->addWidget(label, row, 0);
            grid->addWidget(encodings, row, 1);
            // Tab goes from the file types to the encoding, as the rows read.
            if (auto* types = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo")))
                QWidget::setTabOrder(types, encodings);
        }
    }
    if (dialog.exec() != QDialog::Accepted)
        return {};
    if (encodings)
        state.encoding = encodings->currentText();
    const QStringList chosen = dialog.selectedFiles();
    if (!chosen.isEmpty()) {
        state.fileName = chosen.constFirst();
        state.initialDir = QFileInfo(chosen.constFirst()).absolutePath();
        state.filterIndex = static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1;
    }
    return chosen;
}

} // namespace

QStringList WidgetPrompts::openFiles(FileDialogState& dialog)
{
    return runFileDialog(dialog, QFileDialog::AcceptOpen, QFileDialog::ExistingFiles);
}

QString WidgetPrompts::saveFile(FileDialogState& dialog)
{
    const QStringList chosen = runFileDialog(dialog, QFileDialog::AcceptSave, QFileDialog::AnyFile);
    return chosen.value(0);
}

bool WidgetPrompts::printerDialog(PrinterDialog kind, QPrinter& printer)
{
    QWidget* parent = QApplication::activeWindow();
    if (kind == PrinterDialog::PageSetup) {
        QPageSetupDialog dialog(&printer, parent);
        return dialog.exec() == QDialog::Accepted;
    }
    QPrintDialog dialog(&printer, parent);
    // Copies and the printer only: a document or a selection is printed whole.
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    if (kind == PrinterDialog::PrinterSetup) {
        // The same dialog chooses the printer for later jobs and prints nothing itself.
        dialog.setWindowTitle(QStringLiteral("Printer Setup"));
        for (QPushButton* button : dialog.findChildren<QPushButton*>())
            if (button->isDefault())
                button->setText(QStringLiteral("OK"));
    }
    return dialog.exec() == QDialog::Accepted;
}
