// The designed fonts are drawn with installed families of their kind, and every font dialog opens
// on the family actually drawn, so Enter in the dialog keeps the look (monospace stays monospace).

#include "editor/designedfonts.h"
#include "editor/editorviews.h"
#include "support/mainwindowfixture.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QPushButton>
#include <QTest>

class TestDesignedFonts : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { substituteDesignedFonts(); }

    void designedFontsAreDrawnWithInstalledFamiliesOfTheirKind_data()
    {
        QTest::addColumn<QString>("designed");
        QTest::addColumn<bool>("fixedPitch");
        QTest::newRow("Courier New") << QStringLiteral("Courier New") << true;
        QTest::newRow("Arial") << QStringLiteral("Arial") << false;
        QTest::newRow("MS Sans Serif") << QStringLiteral("MS Sans Serif") << false;
    }

    void designedFontsAreDrawnWithInstalledFamiliesOfTheirKind()
    {
        QFETCH(QString, designed);
        QFETCH(bool, fixedPitch);
        // Where the system has no alias of its own, Qt draws the first substitute.
        const QString drawn = QFont::substitute(designed);
        QVERIFY2(QFontDatabase::hasFamily(drawn), qPrintable(drawn));
        QCOMPARE(QFontDatabase::isFixedPitch(drawn), fixedPitch);
    }

    void everyFontDialogOpensOnTheFamilyInUse()
    {
        MainWindowFixture fixture;
        QVERIFY(fixture.start());
        OptionsDialog& options = fixture.withOptions();
        ScriptedPrompts& prompts = fixture.prompts;
        auto askedFor = [&prompts](bool fixedPitch) {
            const QString family = prompts.fontAsked.family();
            return QFontDatabase::hasFamily(family) && QFontDatabase::isFixedPitch(family) == fixedPitch;
        };

        fixture.action("ChangeFont1")->trigger();
        QVERIFY2(askedFor(true), qPrintable(prompts.fontAsked.family()));
        QCOMPARE(prompts.fontAsked.pointSize(), 10);
        fixture.action("ChangeStatusBarFont1")->trigger();
        QVERIFY2(askedFor(false), qPrintable(prompts.fontAsked.family()));
        auto* optionsFont = options.findChild<QPushButton*>(QStringLiteral("BitBtn5"));
        QVERIFY(optionsFont);
        optionsFont->click(); // its dialog starts from the designed "MS Sans Serif"
        QVERIFY2(askedFor(false), qPrintable(prompts.fontAsked.family()));

        // Only the dialogs see the family in use: the editor still holds (and stores) the designed one.
        QCOMPARE(fixture.window->findChild<EditorViews*>()->settings().font.family(), QStringLiteral("Courier New"));
    }
};

QTEST_MAIN(TestDesignedFonts)
#include "tst_designedfonts.moc"
