// The naming window as the user types into it: the panel and field of each mode, Enter is OK, Esc
// is Cancel, and a name that is empty or would leave its folder is refused with the window kept
// open for another try.

#include "support/scriptedprompts.h"
#include "windows/templatenamedialog.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

using Mode = TemplateNameDialog::Mode;

class TestTemplateNameDialog : public QObject
{
    Q_OBJECT

private:
    // Opens the window in `mode` and runs `typing` once it is shown; the window is closed after.
    // Returns the names handed on by OK and whether the keys closed the window.
    static std::pair<QStringList, bool> run(TemplateNameDialog& box, Mode mode, const std::function<void()>& typing,
                                            const QString& current = {})
    {
        QStringList accepted;
        bool closedByKeys = false;
        QTimer::singleShot(0, &box, [&] {
            typing();
            closedByKeys = !box.isVisible();
            box.close();
        });
        box.execute(mode, current, [&accepted](const QString& name) {
            accepted << name;
            return true;
        });
        return {accepted, closedByKeys};
    }

private slots:
    void eachModeShowsItsPanelAndTakesTypingInItsField()
    {
        ScopedPrompts prompts;
        TemplateNameDialog box;
        const struct
        {
            Mode mode;
            const char* title;
            const char* field;
        } modes[] = {{Mode::NewTemplate, "Add New Template", "NewTempEdit1"},
                     {Mode::RenameTemplate, "Rename Template", "Edit2"},
                     {Mode::NewFileTemplate, "Add New File Template", "Edit3"},
                     {Mode::RenameFileTemplate, "Rename File Template", "Edit2"}};
        for (const auto& m : modes) {
            const auto [accepted, closed] = run(
                box, m.mode,
                [&] {
                    QCOMPARE(box.windowTitle(), QLatin1String(m.title));
                    QCOMPARE(box.focusWidget(), box.nameField());
                    QCOMPARE(box.nameField()->objectName(), QLatin1String(m.field));
                    QVERIFY(box.nameField()->isVisible());
                    QVERIFY(box.nameField()->text().isEmpty()); // emptied at every show
                    QCOMPARE(box.currentNameField()->isVisible(),
                             m.mode == Mode::RenameTemplate || m.mode == Mode::RenameFileTemplate);
                    QTest::keyClicks(box.nameField(), QStringLiteral("Letters"));
                    QTest::keyClick(box.nameField(), Qt::Key_Return);
                },
                QStringLiteral("Old"));
            QCOMPARE(accepted, QStringList{QStringLiteral("Letters")});
            QVERIFY(closed);
        }
        QCOMPARE(box.currentNameField()->text(), QStringLiteral("Old"));
        QVERIFY(!box.currentNameField()->isEnabled());
        QVERIFY(box.okButton()->isDefault());
        QCOMPARE(box.okButton()->objectName(), QStringLiteral("RenameOK1"));
        QVERIFY(prompts.errors.isEmpty());
    }

    void refusedNamesKeepTheWindowOpen()
    {
        ScopedPrompts prompts;
        TemplateNameDialog box;
        for (const QString& bad :
             {QString(), QStringLiteral("."), QStringLiteral(".."), QStringLiteral("../x"), QStringLiteral("a/b")}) {
            prompts.errors.clear();
            const auto [accepted, closed] = run(box, Mode::NewTemplate, [&] {
                QTest::keyClicks(box.nameField(), bad);
                QTest::keyClick(box.nameField(), Qt::Key_Return);
            });
            QVERIFY2(accepted.isEmpty(), qPrintable(bad));
            QVERIFY2(!closed, qPrintable(bad));
            QCOMPARE(prompts.errors.size(), 1);
        }
        // Empty is said with the designed message.
        prompts.errors.clear();
        run(box, Mode::RenameFileTemplate, [&] { box.okButton()->click(); });
        QCOMPARE(prompts.errors,
                 QStringList{QStringLiteral("You must type a name for the new Template. \nPlease make sure that the "
                                            "name of the new Template is larger than 0 Characters.")});

        // Esc is Cancel; an accepter that says no keeps the window open too.
        const auto [accepted, closed] = run(box, Mode::NewTemplate, [&] {
            QTest::keyClicks(box.nameField(), QStringLiteral("x"));
            QTest::keyClick(box.nameField(), Qt::Key_Escape);
        });
        QVERIFY(accepted.isEmpty());
        QVERIFY(closed);
        bool stillOpen = false;
        QTimer::singleShot(0, &box, [&] {
            QTest::keyClicks(box.nameField(), QStringLiteral("Taken"));
            box.okButton()->click();
            stillOpen = box.isVisible();
            box.close();
        });
        box.execute(Mode::NewTemplate, {}, [](const QString&) { return false; });
        QVERIFY(stillOpen);
    }
};

QTEST_MAIN(TestTemplateNameDialog)
#include "tst_templatenamedialog.moc"
