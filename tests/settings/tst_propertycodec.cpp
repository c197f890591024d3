// Property values as stored text: each kind's format and its lenient reading, fonts as seven
// values, and string lists and collections in their list keys.

#include "settings/inisettingsstore.h"
#include "settings/propertycodec.h"

#include <QLocale>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace PropertyCodec;

class TestPropertyCodec : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_store.reset();
        m_dir.reset(new QTemporaryDir);
        QVERIFY(m_dir->isValid());
        m_store.reset(new IniSettingsStore(m_dir->filePath(QStringLiteral("Quillet.ini"))));
    }

    void cleanup()
    {
        m_store.reset(); // flushes while its folder still exists
        m_dir.reset();
    }

    void integers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");
        QTest::addColumn<bool>("ok");
        QTest::newRow("zero") << "0" << 0 << true;
        QTest::newRow("positive") << "250" << 250 << true;
        QTest::newRow("button face") << "-2147483633" << int(SysColorBtnFace) << true;
        QTest::newRow("largest") << "2147483647" << 2147483647 << true;
        QTest::newRow("blanks") << " 12 " << 12 << true;
        QTest::newRow("letters") << "abc" << 0 << false;
        QTest::newRow("trailing letters") << "12px" << 0 << false;
        QTest::newRow("fraction") << "1.5" << 0 << false;
        QTest::newRow("empty") << "" << 0 << false;
        QTest::newRow("too large") << "2147483648" << 0 << false;
    }

    void integers()
    {
        QFETCH(QString, text);
        QFETCH(int, value);
        QFETCH(bool, ok);
        bool parsed = !ok;
        QCOMPARE(parseInteger(text, &parsed), value);
        QCOMPARE(parsed, ok);
        if (ok)
            QCOMPARE(parseInteger(formatInteger(value)), value);
    }

    void colours()
    {
        QCOMPARE(formatInteger(SysColorBtnFace), QStringLiteral("-2147483633"));
        QCOMPARE(formatInteger(SysColorWindowText), QStringLiteral("-2147483640"));

        QPalette palette;
        const QList<std::pair<QPalette::ColorRole, QColor>> roles{
            {QPalette::Button, QColor(1, 1, 1)},     {QPalette::Base, QColor(2, 2, 2)},
            {QPalette::Text, QColor(3, 3, 3)},       {QPalette::Highlight, QColor(4, 4, 4)},
            {QPalette::ButtonText, QColor(5, 5, 5)}, {QPalette::HighlightedText, QColor(6, 6, 6)},
            {QPalette::Window, QColor(7, 7, 7)},
        };
        for (const auto& [role, colour] : roles)
            palette.setColor(role, colour);
        QCOMPARE(colorFromStored(SysColorBtnFace, palette), QColor(1, 1, 1));
        QCOMPARE(colorFromStored(SysColorWindow, palette), QColor(2, 2, 2));
        QCOMPARE(colorFromStored(SysColorWindowText, palette), QColor(3, 3, 3));
        QCOMPARE(colorFromStored(SysColorHighlight, palette), QColor(4, 4, 4));
        QCOMPARE(colorFromStored(SysColorBtnText, palette), QColor(5, 5, 5));
        QCOMPARE(colorFromStored(SysColorHighlightText, palette), QColor(6, 6, 6));
        QCOMPARE(colorFromStored(qint32(0x80000063), palette), QColor(7, 7, 7)); // no such index

        // Plain colours are 0x00BBGGRR.
        QCOMPARE(colorFromStored(0, palette), QColor(0, 0, 0));
        QCOMPARE(colorFromStored(0x0000FF, palette), QColor(255, 0, 0));
        QCOMPARE(colorFromStored(0xFF0000, palette), QColor(0, 0, 255));
        QCOMPARE(colorFromStored(0x00332211, palette), QColor(0x11, 0x22, 0x33));
        QCOMPARE(storedFromColor(QColor(0x11, 0x22, 0x33)), qint32(0x00332211));
        QCOMPARE(storedFromColor(QColor(0x11, 0x22, 0x33, 0x80)), qint32(0x00332211));
        QCOMPARE(storedFromColor(QColor()), 0);
        QCOMPARE(storedFromColor(QColor(Qt::white)), qint32(0x00FFFFFF));
    }

    void charactersEnumerationsAndBooleans()
    {
        QCOMPARE(formatChar(QChar(u'*')), QStringLiteral("*"));
        QCOMPARE(parseChar(QStringLiteral("xyz")), std::optional<QChar>(u'x'));
        QVERIFY(!parseChar(QString()).has_value());

        const QStringList aligns{QStringLiteral("alNone"), QStringLiteral("alTop"), QStringLiteral("alBottom")};
        QCOMPARE(formatEnum(1, aligns), QStringLiteral("alTop"));
        QCOMPARE(formatEnum(3, aligns), QString());
        QCOMPARE(parseEnum(QStringLiteral("alBottom"), aligns), std::optional<int>(2));
        QCOMPARE(parseEnum(QStringLiteral("ALTOP"), aligns), std::optional<int>(1));
        QVERIFY(!parseEnum(QStringLiteral("alClient"), aligns).has_value());
        QVERIFY(!parseEnum(QString(), aligns).has_value());

        QCOMPARE(formatBool(true), QStringLiteral("True"));
        QCOMPARE(formatBool(false), QStringLiteral("False"));
        QCOMPARE(parseBool(QStringLiteral("true")), std::optional<bool>(true));
        QCOMPARE(parseBool(QStringLiteral("FALSE")), std::optional<bool>(false));
        QVERIFY(!parseBool(QStringLiteral("1")).has_value()); // placement booleans are not properties
        QVERIFY(!parseBool(QStringLiteral("yes")).has_value());
    }

    void sets_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("members");
        QTest::newRow("written form") << "[fsBold,fsItalic]" << QStringList{"fsBold", "fsItalic"};
        QTest::newRow("blanks") << "[ fsBold , fsItalic ]" << QStringList{"fsBold", "fsItalic"};
        QTest::newRow("unknown words skipped") << "[fsBold,fsHuge,fsUnderline]" << QStringList{"fsBold", "fsUnderline"};
        QTest::newRow("letter case") << "[FSSTRIKEOUT]" << QStringList{"fsStrikeOut"};
        QTest::newRow("no brackets") << "fsItalic fsBold" << QStringList{"fsBold", "fsItalic"};
        QTest::newRow("repeated") << "[fsBold,fsBold]" << QStringList{"fsBold"};
        QTest::newRow("empty set") << "[]" << QStringList();
        QTest::newRow("empty text") << "" << QStringList();
    }

    void sets()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, members);
        QCOMPARE(parseSet(text, fontStyles()), members);
        QCOMPARE(parseSet(formatSet(members), fontStyles()), members);
    }

    void setFormat()
    {
        QCOMPARE(formatSet({}), QStringLiteral("[]"));
        QCOMPARE(formatSet({QStringLiteral("fsBold"), QStringLiteral("fsItalic")}),
                 QStringLiteral("[fsBold,fsItalic]"));
        QCOMPARE(formatSetMask(0b1010, fontStyles()), QStringLiteral("[fsItalic,fsStrikeOut]"));
        QCOMPARE(parseSetMask(QStringLiteral("[fsUnderline, fsBold]"), fontStyles()), 0b0101u);
    }

    void stringsAreTrimmedBothWays()
    {
        QCOMPARE(formatString(QStringLiteral("  dd/mm  ")), QStringLiteral("dd/mm"));
        QCOMPARE(formatString(QStringLiteral("\t\r\nx y\n")), QStringLiteral("x y"));
        QCOMPARE(parseString(QStringLiteral(" stored ")), QStringLiteral("stored"));
        QCOMPARE(formatString(QStringLiteral("   ")), QString());
        QCOMPARE(formatString(QString()), QString());
    }

    void floatsUseAPointWhateverTheLocale()
    {
        const QLocale saved;
        const auto restore = qScopeGuard([&] { QLocale::setDefault(saved); });
        const QLocale german(QLocale::German, QLocale::Germany);
        QLocale::setDefault(german);

        QCOMPARE(formatFloat(2.5), QStringLiteral("2.5"));
        QCOMPARE(formatFloat(1234567.25), QStringLiteral("1234567.25"));
        QCOMPARE(formatFloat(-0.125), QStringLiteral("-0.125"));
        QCOMPARE(formatFloat(0.1), QStringLiteral("0.1"));

        QCOMPARE(parseFloat(QStringLiteral("2.5"), german), std::optional<double>(2.5));
        // "." read as the German group separator would make this a thousand.
        QCOMPARE(parseFloat(QStringLiteral("1.000"), german), std::optional<double>(1.0));
        QCOMPARE(parseFloat(QStringLiteral("1e+20"), german), std::optional<double>(1e20));
        QCOMPARE(parseFloat(formatFloat(0.1), german), std::optional<double>(0.1));
        QCOMPARE(parseFloat(QStringLiteral("0.75"), QLocale::c()), std::optional<double>(0.75));
        QVERIFY(!parseFloat(QStringLiteral("half"), german).has_value());
    }

    void componentReferences()
    {
        QCOMPARE(formatReference({}), QStringLiteral("(null)"));
        QCOMPARE(formatReference({false, {}, QStringLiteral("TabSheet1")}), QStringLiteral("TabSheet1"));
        QCOMPARE(formatReference({false, QStringLiteral("QuilForm1"), QStringLiteral("Editor")}),
                 QStringLiteral("QuilForm1.Editor"));

        QVERIFY(parseReference(QStringLiteral("(null)")).isNull);
        const StoredReference own = parseReference(QStringLiteral("TabSheet2"));
        QVERIFY(!own.isNull);
        QCOMPARE(own.form, QString());
        QCOMPARE(own.component, QStringLiteral("TabSheet2"));
        const StoredReference other = parseReference(QStringLiteral("QuilForm1.Editor"));
        QCOMPARE(other.form, QStringLiteral("QuilForm1"));
        QCOMPARE(other.component, QStringLiteral("Editor"));
    }

    void fontsAreSevenValues()
    {
        const StoredFont editor{0,
                                0,
                                -13,
                                QStringLiteral("Courier New"),
                                QStringLiteral("fpFixed"),
                                10,
                                {QStringLiteral("fsBold"), QStringLiteral("fsItalic")}};
        writeFont(*m_store, QStringLiteral("Main"), QStringLiteral("Editor_Font"), editor);
        const QList<std::pair<const char*, const char*>> expected{
            {"Editor_FontCharset", "0"},
            {"Editor_FontColor", "0"},
            {"Editor_FontHeight", "-13"},
            {"Editor_FontName", "Courier New"},
            {"Editor_FontPitch", "fpFixed"},
            {"Editor_FontSize", "10"},
            {"Editor_FontStyle", "[fsBold,fsItalic]"},
        };
        for (const auto& [name, text] : expected)
            QCOMPARE(m_store->readString(QStringLiteral("Main"), QString::fromLatin1(name)), QString::fromLatin1(text));
        QCOMPARE(m_store->keys(), QStringList{QStringLiteral("Main")});

        QCOMPARE(readFont(*m_store, QStringLiteral("Main"), QStringLiteral("Editor_Font"), StoredFont{}), editor);
    }

    void fontReadingIsLenient()
    {
        const StoredFont current; // built-in: "MS Sans Serif", height -11, charset 1
        QCOMPARE(readFont(*m_store, QStringLiteral("Main"), QStringLiteral("FontDialog1_Font"), current), current);

        const QString key = QStringLiteral("Main");
        m_store->writeString(key, QStringLiteral("FontDialog1_FontHeight"), QStringLiteral("tall"));
        m_store->writeString(key, QStringLiteral("FontDialog1_FontPitch"), QStringLiteral("fpWobbly"));
        m_store->writeString(key, QStringLiteral("FontDialog1_FontStyle"), QStringLiteral("[fsBold, fsShiny]"));
        m_store->writeString(key, QStringLiteral("FontDialog1_FontName"), QStringLiteral("  Arial  "));
        m_store->writeString(key, QStringLiteral("FontDialog1_FontSize"), QStringLiteral("12"));
        StoredFont start = current;
        start.pitch = QStringLiteral("fpVariable");
        const StoredFont read = readFont(*m_store, key, QStringLiteral("FontDialog1_Font"), start);
        QCOMPARE(read.height, 0);
        QCOMPARE(read.pitch, QStringLiteral("fpVariable"));
        QCOMPARE(read.style, QStringList{QStringLiteral("fsBold")});
        QCOMPARE(read.name, QStringLiteral("Arial"));
        QCOMPARE(read.size, 12);
        QCOMPARE(read.charset, current.charset);
        QCOMPARE(read.color, current.color);
    }

    void fontsConvertToAndFromQFont()
    {
        StoredFont stored{0,
                          0,
                          -13,
                          QStringLiteral("Courier New"),
                          QStringLiteral("fpFixed"),
                          10,
                          {QStringLiteral("fsBold"), QStringLiteral("fsUnderline")}};
        QFont font = fontFromStored(stored);
        QCOMPARE(font.pixelSize(), 13);
        QCOMPARE(font.family(), QStringLiteral("Courier New"));
        QVERIFY(font.bold());
        QVERIFY(!font.italic());
        QVERIFY(font.underline());
        QVERIFY(!font.strikeOut());
        QVERIFY(font.fixedPitch());

        const StoredFont back = storedFromFont(font, stored);
        QCOMPARE(back.height, -13);
        QCOMPARE(back.size, 10); // 13 px at 96 per inch is 9.75 points
        QCOMPARE(back.name, QStringLiteral("Courier New"));
        QCOMPARE(back.pitch, QStringLiteral("fpFixed"));
        QCOMPARE(back.style, stored.style);
        QCOMPARE(back.charset, 0);

        stored.height = 0;
        stored.size = 12;
        stored.pitch = QStringLiteral("fpVariable");
        stored.style = {QStringLiteral("fsItalic"), QStringLiteral("fsStrikeOut")};
        font = fontFromStored(stored);
        QCOMPARE(font.pointSize(), 12);
        QVERIFY(!font.fixedPitch());
        QVERIFY(font.italic());
        QVERIFY(font.strikeOut());
        QVERIFY(!font.bold());
        const StoredFont fromPoints = storedFromFont(font);
        QCOMPARE(fromPoints.size, 12);
        QCOMPARE(fromPoints.height, -16);
        QCOMPARE(fromPoints.style, stored.style);
    }

    void stringListsRoundTrip()
    {
        const QString key = QStringLiteral("Quillet Options.Filter1_Items");
        const QStringList items{QStringLiteral(" Text files (*.txt) "), QString(), QStringLiteral("All|*.*")};
        writeStringList(*m_store, key, items);
        QCOMPARE(m_store->readString(key, QStringLiteral("Count")), QStringLiteral("3"));
        QCOMPARE(m_store->readString(key, QStringLiteral("Item0")), items.at(0));
        QCOMPARE(readStringList(*m_store, key), std::optional<QStringList>(items));

        // A shorter list leaves no stale items behind.
        writeStringList(*m_store, key, {QStringLiteral("one")});
        QVERIFY(!m_store->valueExists(key, QStringLiteral("Item2")));
        QCOMPARE(readStringList(*m_store, key), std::optional<QStringList>(QStringList{QStringLiteral("one")}));
    }

    void emptyOrDamagedListKeepsTheBuiltInList()
    {
        const QString key = QStringLiteral("Quillet Options.ExtBox3_Items");
        writeStringList(*m_store, key, {QStringLiteral("a"), QStringLiteral("b")});
        writeStringList(*m_store, key, {});
        QVERIFY(!m_store->valueExists(key, QStringLiteral("Count")));
        QVERIFY(!m_store->valueExists(key, QStringLiteral("Item0")));
        QVERIFY(!readStringList(*m_store, key).has_value());

        for (const char* count : {"0", "-2", "many", "2147483647"}) {
            m_store->writeString(key, QStringLiteral("Count"), QString::fromLatin1(count));
            m_store->writeString(key, QStringLiteral("Item0"), QStringLiteral("x"));
            QVERIFY2(!readStringList(*m_store, key).has_value(), count);
        }
    }

    void missingItemReadsEmpty()
    {
        const QString key = QStringLiteral("Tips.Tips_Items");
        m_store->writeString(key, QStringLiteral("Count"), QStringLiteral(" 3 "));
        m_store->writeString(key, QStringLiteral("Item0"), QStringLiteral("first"));
        m_store->writeString(key, QStringLiteral("Item1"), QStringLiteral(" second "));
        QCOMPARE(readStringList(*m_store, key), std::optional<QStringList>(QStringList{
                                                    QStringLiteral("first"), QStringLiteral(" second "), QString()}));
    }

    void collectionsNeverChangeTheItemCount()
    {
        const QString key = QStringLiteral("Main.StatusBar1_Panels");
        m_store->writeString(key, QStringLiteral("Item5_Width"), QStringLiteral("stale"));
        const QList<CollectionItem> saved{
            {{QStringLiteral("Alignment"), QStringLiteral("taCenter")},
             {QStringLiteral("Width"), QStringLiteral("60")}},
            {{QStringLiteral("Alignment"), QStringLiteral("taLeftJustify")},
             {QStringLiteral("Width"), QStringLiteral("200")}},
        };
        writeCollection(*m_store, key, saved);
        QVERIFY(!m_store->valueExists(key, QStringLiteral("Item5_Width")));
        QCOMPARE(m_store->readString(key, QStringLiteral("Item1_Width")), QStringLiteral("200"));

        QList<CollectionItem> more{
            {{QStringLiteral("Alignment"), QStringLiteral("x")}, {QStringLiteral("Width"), QStringLiteral("1")}},
            {{QStringLiteral("Alignment"), QStringLiteral("y")}, {QStringLiteral("Width"), QStringLiteral("2")}},
            {{QStringLiteral("Alignment"), QStringLiteral("z")}, {QStringLiteral("Width"), QStringLiteral("3")}},
        };
        readCollection(*m_store, key, more);
        QCOMPARE(more.size(), 3);
        QCOMPARE(more.at(0), saved.at(0));
        QCOMPARE(more.at(1), saved.at(1));
        QCOMPARE(more.at(2).at(1).second, QStringLiteral("3")); // nothing stored: unchanged

        QList<CollectionItem> fewer{{{QStringLiteral("Width"), QStringLiteral("9")}}};
        readCollection(*m_store, key, fewer);
        QCOMPARE(fewer.size(), 1);
        QCOMPARE(fewer.at(0).size(), 1);
        QCOMPARE(fewer.at(0).at(0).second, QStringLiteral("60"));
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<IniSettingsStore> m_store;
};

QTEST_MAIN(TestPropertyCodec)
#include "tst_propertycodec.moc"
