// Tools > Word Count: counts blank-separated words over a copy of the document, in slices, with
// the status bar's progress bar advancing and window events handled between slices.

#include "core/prompts.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/statusbar.h"
#include "commands/transforms.h"
#include "editor/editorview.h"

#include <QAction>
#include <QCoreApplication>
#include <QPointer>
#include <QProgressBar>

#include <algorithm>
#include <climits>

namespace {
// Small enough that the window answers several times a second, large enough to cost nothing.
constexpr qint64 SliceBytes = 1 << 20;
} // namespace

void MainWindow::WordCount1Click()
{
    QPointer<MainWindow> self(this);
    QAction* item = action(QStringLiteral("WordCount1"));
    item->setEnabled(false); // takes the shortcut with it

    // A copy, so switching documents or editing while the count runs changes nothing.
    const QByteArray text(Editor->textView().data(), Editor->textView().size());
    QProgressBar* bar = StatusBar1->progressBar();
    bar->setValue(0);

    qint64 count = 0;
    bool inWord = false;
    for (qint64 offset = 0; offset < text.size(); offset += SliceBytes) {
        bar->setMaximum(int(std::min<qint64>(text.size(), INT_MAX)));
        bar->setValue(int(offset));
        bar->show();
        QCoreApplication::processEvents();
        if (!self) // the window went away meanwhile
            return;
        const qint64 length = std::min<qint64>(SliceBytes, text.size() - offset);
        count += transforms::countWords(QByteArrayView(text).sliced(offset, length), inWord);
    }

    bar->hide();
    showMessage(QStringLiteral("Word Count completed."));
    Prompts::current().information(QStringLiteral("Quillet -Word Count"),
                                   QStringLiteral("This Document Contains %1 words.").arg(count));
    if (!self)
        return;
    item->setEnabled(true);
    bar->setMaximum(100);
}
