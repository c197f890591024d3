// Text in a monospaced font is measured from a table of character widths, and must come out
// exactly as Scintilla measures it through QTextLayout; whatever needs shaping, comes from
// another font or is not UTF-8 is left to QTextLayout.

#include "editor/monospacewidths.h"
#include "editor/scintillameasuring.h"

#include "PlatQt.h"
#include "ScintillaEditBase.h"

#include <QFontInfo>
#include <QRawFont>
#include <QTest>
#include <QTextLayout>
#include <QWidget>

#include <string_view>
#include <vector>

using namespace Scintilla::Internal;

namespace {

// The font Scintilla makes for a style of these parameters.
QFont styleFont(const QString& family, double size, bool bold = false, bool italic = false)
{
    QFont font;
    font.setFamily(family);
    font.setPointSizeF(size);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

std::string_view view(const QByteArray& bytes)
{
    return {bytes.constData(), size_t(bytes.size())};
}

// The positions Scintilla measures for `text` through QTextLayout, with no measuring function.
std::vector<double> shapedPositions(QWidget& device, const QByteArray& family, double size, const QByteArray& text)
{
    removeMonospaceMeasuring();
    const std::unique_ptr<Surface> surface = Surface::Allocate(Scintilla::Technology::Default);
    surface->Init(&device);
    surface->SetMode(SurfaceMode(SC_CP_UTF8, false));
    const std::shared_ptr<Font> font = Font::Allocate(FontParameters(family.constData(), size));
    std::vector<double> positions(size_t(text.size()));
    surface->MeasureWidthsUTF8(font.get(), view(text), positions.data());
    return positions;
}

// Measures each byte as 20 pixels wide: what Scintilla does with it shows the function is used.
bool wideMeasuring(const QFont&, const QPaintDevice*, std::string_view text, double* positions)
{
    for (size_t i = 0; i < text.size(); ++i)
        positions[i] = 20.0 * double(i + 1);
    return true;
}

} // namespace

class TestMonospaceWidths : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { removeMonospaceMeasuring(); }

    void everyCharacterKeptHasItsLaidOutWidth_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<double>("size");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<bool>("italic");
        for (const QString& family : {QStringLiteral("Liberation Mono"), QStringLiteral("DejaVu Sans Mono")}) {
            QTest::addRow("%s 10", qPrintable(family)) << family << 10.0 << false << false;
            QTest::addRow("%s 14.5 bold", qPrintable(family)) << family << 14.5 << true << false;
            QTest::addRow("%s 9 italic", qPrintable(family)) << family << 9.0 << false << true;
        }
    }

    void everyCharacterKeptHasItsLaidOutWidth()
    {
        QFETCH(QString, family);
        QFETCH(double, size);
        QFETCH(bool, bold);
        QFETCH(bool, italic);
        const QFont font = styleFont(family, size, bold, italic);
        QCOMPARE(QFontInfo(font).family(), family);
        const std::unique_ptr<MonospaceWidths> widths = MonospaceWidths::make(font, m_device);
        QVERIFY(widths);
        int kept = 0;
        for (char32_t c = 0; c <= 0xFFFF; ++c) {
            const double width = widths->width(c);
            if (width == 0)
                continue;
            ++kept;
            QTextLayout layout(QString(QChar(char16_t(c))), font, &m_device);
            layout.beginLayout();
            const QTextLine line = layout.createLine();
            layout.endLayout();
            const double laidOut = line.cursorToX(1);
            QVERIFY2(width == laidOut, qPrintable(QStringLiteral("U+%1: %2, laid out %3")
                                                      .arg(uint(c), 4, 16, QLatin1Char('0'))
                                                      .arg(width)
                                                      .arg(laidOut)));
        }
        QVERIFY2(kept > 600, qPrintable(QString::number(kept))); // Latin, Greek, Cyrillic, symbols
    }

    void mixedTextHasItsShapedPositions_data()
    {
        QTest::addColumn<QByteArray>("family");
        QTest::addColumn<QByteArray>("text");
        const char* texts[][2] = {
            {"accented words", "Zoë's café: naïve façade, crème brûlée, Übergrößenträger, año, Łódź, Ærø "},
            {"Greek", "Η γρήγορη καφέ αλεπού πηδά πάνω από το σκυλί; ΑΒΓΔ άέήί"},
            {"Cyrillic", "Съешь же ещё этих мягких французских булок, да выпей чаю. Ёё Її Ґґ"},
            {"box drawing", "┌──┬──┐ │é │ü │ ├──┼──┤ └──┴──┘ ═║╔╗╚╝ ░▒▓█"},
            {"punctuation and symbols", "€ 12,50 – „Zitat“ «citation» … ± ½ ° ‰ • ← → ≤ ≥ ≠ ∞ ™ ©"},
            {"ligature letters", "ﬁnal ﬂow: fi fl ffi ffl — Œuvre, œ, ĳ"},
            {"spaces", "a\xC2\xA0"
                       "b c  d  "},
        };
        for (const char* family : {"Liberation Mono", "DejaVu Sans Mono"})
            for (const auto& text : texts)
                QTest::addRow("%s, %s", family, text[0]) << QByteArray(family) << QByteArray(text[1]);
    }

    void mixedTextHasItsShapedPositions()
    {
        QFETCH(QByteArray, family);
        QFETCH(QByteArray, text);
        const std::vector<double> shaped = shapedPositions(m_device, family, 10, text);
        std::vector<double> positions(size_t(text.size()));
        QVERIFY(
            measureMonospaceUtf8(styleFont(QString::fromLatin1(family), 10), &m_device, view(text), positions.data()));
        for (size_t i = 0; i < positions.size(); ++i)
            QVERIFY2(positions[i] == shaped[i],
                     qPrintable(QStringLiteral("byte %1: %2, shaped %3").arg(i).arg(positions[i]).arg(shaped[i])));
    }

    void textThatNeedsShapingIsRefused_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<uint>("character"); // one the font holds, or lacks, as `held` says
        QTest::addColumn<bool>("held");
        const QString liberation = QStringLiteral("Liberation Mono");
        const QString dejaVu = QStringLiteral("DejaVu Sans Mono");
        QTest::newRow("combining acute") << dejaVu << QByteArray("cafe\xCC\x81") << 0x301u << true;
        QTest::newRow("Arabic letter") << dejaVu << QByteArray("a \xD8\xA8") << 0x628u << true;
        QTest::newRow("soft hyphen") << liberation
                                     << QByteArray("a\xC2\xAD"
                                                   "b")
                                     << 0xADu << true;
        QTest::newRow("tab") << liberation << QByteArray("a\tb") << uint('\t') << true;
        QTest::newRow("CJK ideograph") << liberation << QByteArray("a \xE6\xBC\xA2") << 0x6F22u << false;
        QTest::newRow("letter the font lacks") << liberation
                                               << QByteArray("STRA\xE1\xBA\x9E"
                                                             "E")
                                               << 0x1E9Eu << false;
        QTest::newRow("symbol the font lacks") << liberation << QByteArray("\xE2\x99\x94 e4") << 0x2654u << false;
        QTest::newRow("beyond the BMP") << liberation << QByteArray("a \xF0\x9F\x98\x80") << 0u << false;
        QTest::newRow("truncated") << liberation << QByteArray("caf\xC3") << 0u << false;
        QTest::newRow("lone continuation") << liberation << QByteArray("a\x80") << 0u << false;
        QTest::newRow("bad continuation") << liberation << QByteArray("\xC3(") << 0u << false;
        QTest::newRow("overlong two bytes") << liberation << QByteArray("\xC1\x81") << 0u << false;
        QTest::newRow("overlong three bytes") << liberation << QByteArray("\xE0\x81\x81") << 0u << false;
        QTest::newRow("surrogate") << liberation << QByteArray("\xED\xA0\x80") << 0u << false;
        QTest::newRow("not UTF-8 at all") << liberation << QByteArray("\xFF") << 0u << false;
        QTest::newRow("proportional font") << QStringLiteral("DejaVu Sans") << QByteArray("caf\xC3\xA9") << 0u << false;
    }

    void textThatNeedsShapingIsRefused()
    {
        QFETCH(QString, family);
        QFETCH(QByteArray, text);
        QFETCH(uint, character);
        QFETCH(bool, held);
        const QFont font = styleFont(family, 10);
        QCOMPARE(QFontInfo(font).family(), family);
        if (character)
            QCOMPARE(QRawFont::fromFont(QFont(font, &m_device)).supportsCharacter(char32_t(character)), held);
        std::vector<double> positions(16);
        if (QFontInfo(font).fixedPitch()) // the same font measures plain accented text
            QVERIFY(measureMonospaceUtf8(font, &m_device, "caf\xC3\xA9", positions.data()));
        QVERIFY(!measureMonospaceUtf8(font, &m_device, view(text), positions.data()));
    }

    void scintillaPlacesTextAsWithoutTheTable()
    {
        const QByteArray text = "Zoë's café: naïve façade, crème brûlée\n"
                                "Η γρήγορη καφέ αλεπού, ёж и щи\n"
                                "┌─é─┐ └─ü─┘ ± ½ € 5,50 Übergrößenträger\n";
        const auto placed = [&text](void (*measuring)()) {
            measuring();
            ScintillaEditBase editor;
            editor.resize(800, 600);
            editor.send(SCI_SETCODEPAGE, SC_CP_UTF8);
            editor.send(SCI_STYLESETFONT, STYLE_DEFAULT, reinterpret_cast<sptr_t>("Liberation Mono"));
            editor.send(SCI_STYLESETSIZE, STYLE_DEFAULT, 10);
            editor.send(SCI_STYLESETCHECKMONOSPACED, STYLE_DEFAULT, 1);
            editor.send(SCI_STYLECLEARALL);
            editor.send(SCI_SETTEXT, 0, reinterpret_cast<sptr_t>(text.constData()));
            std::vector<sptr_t> xs;
            for (sptr_t pos = 0; pos < text.size(); pos = editor.send(SCI_POSITIONAFTER, uptr_t(pos)))
                xs.push_back(editor.send(SCI_POINTXFROMPOSITION, 0, pos));
            return xs;
        };
        const std::vector<sptr_t> shaped = placed(removeMonospaceMeasuring);
        QCOMPARE(placed(installMonospaceMeasuring), shaped);
        // Scintilla places the text by what the measuring function says.
        QVERIFY(placed([] { SetMeasureWidthsUTF8Function(wideMeasuring); }) != shaped);
    }

private:
    QWidget m_device;
};

QTEST_MAIN(TestMonospaceWidths)
#include "tst_monospacewidths.moc"
