// The filter lists of the options window as plain lists: the built-in entries, the filter string
// the file dialogs get, and the list edits with their out-of-range failures.

#include "core/commanderror.h"
#include "settings/filters.h"

#include <QTest>

using namespace filters;

namespace {

// The error text of `action`, or "no error".
QString errorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const CommandError& e) {
        return e.message();
    }
    return QStringLiteral("no error");
}

} // namespace

class TestFilters : public QObject
{
    Q_OBJECT

private slots:
    void builtInListsAreParallelAndExact()
    {
        QCOMPARE(builtInNames().size(), 13);
        QCOMPARE(builtInPatterns().size(), 13);
        QCOMPARE(builtInDisplay().size(), 13);
        QCOMPARE(builtInNames()[10], QStringLiteral("Delphi Source Files "));
        QCOMPARE(builtInDisplay()[10], QStringLiteral("Delphi Source Files (*.pas;*.dpr)"));
        QCOMPARE(builtInDisplay()[0], QStringLiteral("Text Files (*.txt)"));
        QCOMPARE(builtInDisplay()[12], QStringLiteral("All Files (*.*)"));
        QCOMPARE(filterString(builtInNames(), builtInPatterns()),
                 QStringLiteral("Text Files|*.txt|Quillet Files|*.qlt|HTML Files|*.htm;*.html|"
                                "Configuration Files|*.ini;*.cfg|Batch Files|*.bat|Logged Files|*.log|"
                                "Report Files|*.rpt|E-Mail Files|*.eml|Assembly Files|*.asm|"
                                "C++ Source Files|*.cpp;*.h;*.mak;*.c|Delphi Source Files |*.pas;*.dpr|"
                                "Information Files|*.inf|All Files|*.*"));
    }

    void filterStringNeedsAPatternForEveryName()
    {
        QCOMPARE(filterString({QStringLiteral("A")}, {QStringLiteral("*.a")}), QStringLiteral("A|*.a"));
        QCOMPARE(errorOf([] { filterString({}, {}); }), listIndexOutOfBounds());
        QCOMPARE(errorOf([] {
                     filterString({QStringLiteral("A"), QStringLiteral("B")}, {QStringLiteral("*.a")});
                 }),
                 QStringLiteral("List index out of bounds"));
    }

    void dialogDefaultExt_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("ext");
        QTest::newRow("pattern") << "*.txt"
                                 << "txt";
        QTest::newRow("several patterns") << "*.cpp;*.h"
                                          << "cpp";
        QTest::newRow("every file") << "*.*"
                                    << "";
        QTest::newRow("bare") << "rtf"
                              << "rtf";
        QTest::newRow("dot") << ".log"
                             << "log";
        QTest::newRow("empty") << ""
                               << "";
    }

    void dialogDefaultExt()
    {
        QFETCH(QString, field);
        QFETCH(QString, ext);
        QCOMPARE(filters::dialogDefaultExt(field), ext);
    }

    void applyFiltersSetsEveryDialog()
    {
        FileDialogState a, b;
        a.fileName = QStringLiteral("old.txt");
        a.filter = QStringLiteral("Old|*.old");
        applyFilters({QStringLiteral("A"), QStringLiteral("B")}, {QStringLiteral("*.a"), QStringLiteral("*.b")},
                     QStringLiteral("*.b"), {&a, &b});
        for (const FileDialogState* d : {&a, &b}) {
            QCOMPARE(d->filter, QStringLiteral("A|*.a|B|*.b"));
            QCOMPARE(d->defaultExt, QStringLiteral("b"));
            QVERIFY(d->fileName.isEmpty());
        }
        // Emptied lists: the error, and the filter strings stay.
        a.filter = QStringLiteral("Old|*.old");
        QCOMPARE(errorOf([&] { applyFilters({}, {}, {}, {&a}); }), listIndexOutOfBounds());
        QCOMPARE(a.filter, QStringLiteral("Old|*.old"));
    }

    void listEdits()
    {
        FilterLists lists = FilterLists::builtIn();
        addFilter(lists, QStringLiteral("Rich Text"), QStringLiteral("*.rtf"));
        QCOMPARE(lists.display.constLast(), QStringLiteral("Rich Text (*.rtf)"));
        QCOMPARE(lists.names.constLast(), QStringLiteral("Rich Text"));
        QCOMPARE(lists.patterns.constLast(), QStringLiteral("*.rtf"));

        removeFilter(lists, 0);
        QCOMPARE(lists.display.size(), 13);
        QCOMPARE(lists.names.constFirst(), QStringLiteral("Quillet Files"));
        QCOMPARE(lists.patterns.constFirst(), QStringLiteral("*.qlt"));

        // Each list is written at its own row.
        replaceFilter(lists, 0, 1, 2, QStringLiteral("N"), QStringLiteral("*.n"));
        QCOMPARE(lists.display[0], QStringLiteral("N (*.n)"));
        QCOMPARE(lists.names[1], QStringLiteral("N"));
        QCOMPARE(lists.patterns[2], QStringLiteral("*.n"));

        const FilterLists before = lists;
        for (const auto& rows : {std::array{-1, 0, 0}, std::array{0, -1, 0}, std::array{0, 0, 99}}) {
            QCOMPARE(errorOf([&] {
                         replaceFilter(lists, rows[0], rows[1], rows[2], QStringLiteral("X"), QStringLiteral("*.x"));
                     }),
                     listIndexOutOfBounds());
            QCOMPARE(lists.display, before.display);
            QCOMPARE(lists.names, before.names);
            QCOMPARE(lists.patterns, before.patterns);
        }
    }
};

QTEST_APPLESS_MAIN(TestFilters)
#include "tst_filters.moc"
