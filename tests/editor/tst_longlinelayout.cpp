// A long line that changed is laid out again only where it changed: wherever the edit, with word
// wrap on or off, its characters must then lie where a view laying the same text out from
// scratch puts them.

#include "editor/editorview.h"

#include <QTest>

namespace {

enum class Extra { None, Accented, Control };

// A line of `bytes` bytes of words, with a two-byte letter every few words or a control character
// (drawn wider, as a box) every many words.
QByteArray longLine(int bytes, Extra extra)
{
    QByteArray line;
    for (int word = 0; line.size() < bytes; ++word) {
        line += "word" + QByteArray::number(word % 97);
        if (extra == Extra::Accented && word % 3 == 0)
            line += "\xc3\xa9";
        if (extra == Extra::Control && word % 300 == 299)
            line += '\x01';
        line += ' ';
    }
    line.truncate(bytes);
    if ((uchar(line.back()) & 0xC0) == 0xC0) // no lead byte cut from its letter
        line.back() = 'x';
    return line;
}

struct Layout
{
    QList<qint64> points; // x and y of the start of every character, from the start of the line
    qint64 wrapCount = 0;

    bool operator==(const Layout&) const = default;
};

Layout layoutOf(EditorView& editor)
{
    // Pixels are whole numbers: the same scrolling for both, as each x is rounded on screen.
    editor.send(SCI_SETXOFFSET, 0);
    editor.send(SCI_SETFIRSTVISIBLELINE, 0);
    Layout layout;
    const qint64 length = editor.textLength();
    const qint64 x0 = editor.send(SCI_POINTXFROMPOSITION, 0, 0);
    const qint64 y0 = editor.send(SCI_POINTYFROMPOSITION, 0, 0);
    for (qint64 pos = 0;; pos = editor.send(SCI_POSITIONAFTER, pos)) {
        layout.points << editor.send(SCI_POINTXFROMPOSITION, 0, pos) - x0;
        layout.points << editor.send(SCI_POINTYFROMPOSITION, 0, pos) - y0;
        if (pos >= length)
            break;
    }
    layout.wrapCount = editor.send(SCI_WRAPCOUNT, 0);
    return layout;
}

void prepare(EditorView& editor, bool wrap)
{
    editor.setTextFont(QFont(QStringLiteral("DejaVu Sans Mono"), 10));
    editor.resize(500, 300);
    editor.setWordWrap(wrap);
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
}

} // namespace

class TestLongLineLayout : public QObject
{
    Q_OBJECT

private slots:
    void aChangedLineLiesAsIfLaidOutAfresh_data()
    {
        QTest::addColumn<Extra>("extra");
        QTest::addColumn<bool>("wrap");
        QTest::addColumn<double>("where"); // share of the line
        QTest::addColumn<int>("removed");
        QTest::addColumn<QByteArray>("inserted");
        QTest::addColumn<bool>("keyAtStartFirst"); // so the line's start has moved before the edits
        const QByteArray typed = "k";
        const QByteArray pasted = "pasted \xc3\xa0 words and a\tTAB";
        for (const Extra extra : {Extra::None, Extra::Accented, Extra::Control}) {
            for (const bool wrap : {false, true}) {
                const char* kind = extra == Extra::None ? "ascii" : extra == Extra::Accented ? "accented" : "control";
                const char* wrapping = wrap ? "wrapped" : "unwrapped";
                for (const double where : {0.0, 0.5, 1.0}) {
                    QTest::addRow("%s %s type at %.1f", kind, wrapping, where)
                        << extra << wrap << where << 0 << typed << false;
                    QTest::addRow("%s %s delete at %.1f", kind, wrapping, where)
                        << extra << wrap << where << 3 << QByteArray() << false;
                }
                QTest::addRow("%s %s paste in the middle", kind, wrapping)
                    << extra << wrap << 0.5 << 0 << pasted << false;
                QTest::addRow("%s %s paste after a key at the start", kind, wrapping)
                    << extra << wrap << 0.5 << 0 << pasted << true;
                QTest::addRow("%s %s replace in the middle", kind, wrapping)
                    << extra << wrap << 0.5 << 40 << typed << false;
                QTest::addRow("%s %s delete a quarter near the start", kind, wrapping)
                    << extra << wrap << 0.1 << 5000 << QByteArray() << false;
            }
        }
    }

    void aChangedLineLiesAsIfLaidOutAfresh()
    {
        QFETCH(Extra, extra);
        QFETCH(bool, wrap);
        QFETCH(double, where);
        QFETCH(int, removed);
        QFETCH(QByteArray, inserted);
        QFETCH(bool, keyAtStartFirst);

        EditorView edited;
        prepare(edited, wrap);
        const QByteArray text = longLine(20000, extra);
        edited.setBytes(text);
        const Layout before = layoutOf(edited);
        QVERIFY(!wrap || before.wrapCount > 10);
        if (keyAtStartFirst) {
            edited.send(SCI_INSERTTEXT, 0, "k");
            layoutOf(edited);
        }

        // Twice, so the second edit starts from a layout the first one made in part.
        for (int edit = 0; edit < 2; ++edit) {
            qint64 from = qint64(where * double(edited.textLength() - removed));
            from = edited.send(SCI_POSITIONBEFORE, from + 1); // the start of a character
            const qint64 to = removed ? edited.send(SCI_POSITIONRELATIVE, from, removed) : from;
            // As a key or a paste changes it, with word wrap left on throughout.
            edited.send(SCI_SETTARGETRANGE, from, to);
            edited.send(SCI_REPLACETARGET, inserted.size(), inserted.constData());
            const Layout changed = layoutOf(edited);

            EditorView fresh;
            prepare(fresh, wrap);
            fresh.setBytes(edited.bytes());
            QCOMPARE(changed.wrapCount, fresh.send(SCI_WRAPCOUNT, 0));
            QVERIFY(changed == layoutOf(fresh));
        }
    }

    // A line of plain ASCII in a monospaced font is laid out without measuring; every line must
    // still lie where measuring its characters (the check for a monospaced font off) puts them.
    void aLineLiesWhereItsMeasuredWidthsPutIt_data()
    {
        QTest::addColumn<QByteArray>("inserted");
        QTest::addColumn<bool>("italic");
        QTest::addRow("plain") << QByteArray() << false;
        QTest::addRow("tab") << QByteArray("\tTAB") << false;
        QTest::addRow("control character") << QByteArray("\x01") << false;
        QTest::addRow("accented") << QByteArray("\xc3\xa9") << false;
        QTest::addRow("italic") << QByteArray() << true;
    }

    void aLineLiesWhereItsMeasuredWidthsPutIt()
    {
        QFETCH(QByteArray, inserted);
        QFETCH(bool, italic);
        QByteArray text;
        for (const int length : {40, 77, 120, 2000, 0, 95})
            text += longLine(length, Extra::None) + "\n";
        text.insert(text.indexOf("word50") + 6, inserted);
        for (const bool wrap : {false, true}) {
            EditorView editors[2]; // laid out without measuring where it can, and measured
            for (const bool measured : {false, true}) {
                EditorView& editor = editors[measured];
                prepare(editor, wrap);
                editor.send(SCI_STYLESETITALIC, STYLE_DEFAULT, italic);
                editor.send(SCI_STYLESETCHECKMONOSPACED, STYLE_DEFAULT, !measured);
                editor.send(SCI_STYLECLEARALL);
                editor.setBytes(text);
            }
            // Lines off screen are wrapped while idle, in each view at its own pace.
            QTRY_VERIFY2(layoutOf(editors[0]) == layoutOf(editors[1]), wrap ? "wrapped" : "unwrapped");
            QVERIFY(!wrap || editors[0].send(SCI_VISIBLEFROMDOCLINE, 6) > 40);
        }
    }

    // Each character of a wrapped line is found at the point where it is shown, on its own sub-line.
    void everyCharacterIsFoundWhereItIsShown()
    {
        EditorView editor;
        prepare(editor, true);
        editor.setBytes(longLine(20000, Extra::Accented));
        const qint64 subLines = editor.send(SCI_WRAPCOUNT, 0);
        QVERIFY(subLines > 10);
        QTRY_VERIFY(editor.send(SCI_VISIBLEFROMDOCLINE, 1) >= subLines); // wrapped while idle
        const qint64 length = editor.textLength();
        for (qint64 pos = 0; pos < length; pos = editor.send(SCI_POSITIONAFTER, pos)) {
            const qint64 x = editor.send(SCI_POINTXFROMPOSITION, 0, pos);
            const qint64 y = editor.send(SCI_POINTYFROMPOSITION, 0, pos);
            QCOMPARE(editor.send(SCI_POSITIONFROMPOINT, x + 1, y + 1), pos);
        }
    }
};

QTEST_MAIN(TestLongLineLayout)
#include "tst_longlinelayout.moc"
