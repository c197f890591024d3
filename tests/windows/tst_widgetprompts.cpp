// The real question box: Enter gives the answer the caller named as the default. The real save
// dialog: its "Encoding:" row, preset to the document's own, gives back the one chosen.

#include "windows/widgetprompts.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

class TestWidgetPrompts : public QObject
{
    Q_OBJECT

private slots:
    void enterGivesTheDefaultAnswer_data()
    {
        QTest::addColumn<int>("defaultAnswer");
        QTest::newRow("Yes") << static_cast<int>(Answer::Yes);
        QTest::newRow("No") << static_cast<int>(Answer::No);
        QTest::newRow("Cancel") << static_cast<int>(Answer::Cancel);
    }

    void enterGivesTheDefaultAnswer()
    {
        QFETCH(int, defaultAnswer);
        WidgetPrompts prompts;
        QString focused;
        // The box is modal: it is answered from inside its own event loop.
        QTimer::singleShot(0, this, [&focused] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            if (box->defaultButton())
                focused = box->defaultButton()->text();
            QTest::keyClick(box, Qt::Key_Return);
        });
        const Answer answer =
            prompts.question(QStringLiteral("Title"), QStringLiteral("Text"), static_cast<Answer>(defaultAnswer));
        QVERIFY(!focused.isEmpty());
        QCOMPARE(static_cast<int>(answer), defaultAnswer);
    }

    void theSaveDialogOffersTheEncodings()
    {
        QTemporaryDir dir;
        FileDialogState state;
        state.filter = QStringLiteral("All Files|*.*");
        state.initialDir = dir.path();
        state.fileName = dir.filePath(QStringLiteral("out.txt"));
        state.encodings = {QStringLiteral("UTF-8"), QStringLiteral("Windows-1252"), QStringLiteral("UTF-16 LE")};
        state.encoding = QStringLiteral("Windows-1252");
        QString preset;
        QTimer::singleShot(0, this, [&preset] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            auto* combo = dialog ? dialog->findChild<QComboBox*>(QStringLiteral("EncodingCombo")) : nullptr;
            if (!combo)
                return dialog ? dialog->reject() : void();
            preset = combo->currentText();
            combo->setCurrentText(QStringLiteral("UTF-16 LE"));
            static_cast<QDialog*>(dialog)->accept(); // QFileDialog hides it
        });
        WidgetPrompts prompts;
        QCOMPARE(prompts.saveFile(state), dir.filePath(QStringLiteral("out.txt")));
        QCOMPARE(preset, QStringLiteral("Windows-1252"));
        QCOMPARE(state.encoding, QStringLiteral("UTF-16 LE"));
    }
};

QTEST_MAIN(TestWidgetPrompts)
#include "tst_widgetprompts.moc"
