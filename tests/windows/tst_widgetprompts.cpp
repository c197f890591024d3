// The real question box: Enter gives the answer the caller named as the default.

#include "windows/widgetprompts.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
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
};

QTEST_MAIN(TestWidgetPrompts)
#include "tst_widgetprompts.moc"
