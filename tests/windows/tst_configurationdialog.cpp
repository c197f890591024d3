// The configuration window: five stored boxes in section "Config", OK hands them all to the
// desktop integration and closes, an unexpected error is shown and keeps the window open, Esc and Cancel
// change nothing; the keys work as in a dialog box.

#include "core/commanderror.h"
#include "support/memorystore.h"
#include "support/scriptedprompts.h"
#include "windows/configurationdialog.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTest>

class TestConfigurationDialog : public QObject
{
    Q_OBJECT

private slots:
    void boxesAreStoredUnderTheirDesignedNames()
    {
        MemoryStore store;
        {
            ConfigurationDialog dialog;
            dialog.storage()->restore(store);
            QCOMPARE(dialog.choices().defaultForText, false);
            dialog.setChoices(DesktopChoices{true, false, true, false, true});
            dialog.storage()->save(store);
        }
        QCOMPARE(store.readString("Config", "CheckBox1_Checked"), QStringLiteral("True"));
        QCOMPARE(store.readString("Config", "CheckBox2_Checked"), QStringLiteral("False"));
        QCOMPARE(store.readString("Config", "CheckBox3_Checked"), QStringLiteral("True"));
        QCOMPARE(store.readString("Config", "CheckBox4_Checked"), QStringLiteral("False"));
        QCOMPARE(store.readString("Config", "CheckBox5_Checked"), QStringLiteral("True"));
        ConfigurationDialog again;
        again.storage()->restore(store);
        const DesktopChoices restored = again.choices();
        QVERIFY(restored.defaultForText && !restored.sendTo && restored.startMenu && !restored.desktop &&
                restored.loadAtStart);
    }

    void okAppliesEveryBoxAndCloses_EnterIsOk_EscChangesNothing()
    {
        ScopedPrompts prompts;
        ConfigurationDialog dialog;
        QList<DesktopChoices> applied;
        dialog.setApplier([&](const DesktopChoices& choices) {
            applied << choices;
            return QList<DesktopFailure>();
        });
        dialog.setChoices(DesktopChoices{false, true, false, true, false});

        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        dialog.defaultForTextBox()->setFocus();
        QTest::keyClick(dialog.defaultForTextBox(), Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());
        QVERIFY(applied.isEmpty());

        dialog.show();
        dialog.defaultForTextBox()->setFocus();
        QTest::keyClick(dialog.defaultForTextBox(), Qt::Key_Space); // checks it
        QTest::keyClick(dialog.defaultForTextBox(), Qt::Key_Return);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(applied.size(), 1);
        QVERIFY(applied[0].defaultForText && applied[0].sendTo && !applied[0].startMenu && applied[0].desktop &&
                !applied[0].loadAtStart);
        // Redone in full on every OK, whatever changed.
        dialog.show();
        dialog.okButton()->click();
        QCOMPARE(applied.size(), 2);
        QVERIFY(prompts.errors.isEmpty());
    }

    void anUnexpectedErrorIsShownAndKeepsTheWindowOpen()
    {
        ScopedPrompts prompts;
        ConfigurationDialog dialog;
        dialog.setApplier([](const DesktopChoices&) -> QList<DesktopFailure> {
            throw CommandError(QStringLiteral("Cannot write \"/x/quillet.desktop\".\nPermission denied"));
        });
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        dialog.okButton()->click();
        QCOMPARE(prompts.errors,
                 QStringList{QStringLiteral("Cannot write \"/x/quillet.desktop\".\nPermission denied")});
        QVERIFY(dialog.isVisible());
        dialog.cancelButton()->click();
        QVERIFY(!dialog.isVisible());
    }
};

QTEST_MAIN(TestConfigurationDialog)
#include "tst_configurationdialog.moc"
