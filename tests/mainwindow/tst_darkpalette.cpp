// A dark desktop palette: every painted part keeps its text readable, the editor's page follows
// the desktop with light text on it, and a colour the user chose stays exactly as chosen.

#include "core/colourcontrast.h"
#include "support/mainwindowfixture.h"
#include "windows/aboutwindow.h"
#include "windows/captionbar.h"
#include "windows/documentselector.h"
#include "windows/optionsdialog.h"
#include "windows/tipwindow.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyleFactory>
#include <QTextEdit>

#include <map>

namespace {

QPalette darkPalette()
{
    QPalette p;
    p.setColor(QPalette::Window, QColor(53, 53, 53));
    p.setColor(QPalette::WindowText, Qt::white);
    p.setColor(QPalette::Base, QColor(35, 35, 35));
    p.setColor(QPalette::Text, Qt::white);
    p.setColor(QPalette::Button, QColor(53, 53, 53));
    p.setColor(QPalette::ButtonText, Qt::white);
    p.setColor(QPalette::Highlight, QColor(42, 130, 218));
    p.setColor(QPalette::HighlightedText, Qt::black);
    p.setColor(QPalette::Light, QColor(80, 80, 80));
    p.setColor(QPalette::Mid, QColor(45, 45, 45));
    p.setColor(QPalette::Dark, QColor(25, 25, 25));
    return p;
}

// The contrast of the text in `area`: its most common colour is the background, the text is the
// colour standing out most from it that covers a few pixels (not a stray edge of a glyph).
double textContrast(const QImage& image, const QRect& area)
{
    std::map<QRgb, int> counts;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            ++counts[image.pixel(x, y) | 0xFF000000u];
    QRgb background = 0;
    int most = 0;
    for (const auto& [rgb, n] : counts)
        if (n > most)
            std::tie(background, most) = std::pair(rgb, n);
    double best = 1;
    for (const auto& [rgb, n] : counts)
        if (n >= 4)
            best = std::max(best, colourcontrast::contrastRatio(QColor(rgb), QColor(background)));
    return best;
}

} // namespace

class TestDarkPalette : public MainWindowTest
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
        QApplication::setPalette(darkPalette());
    }
    void init() { newFixture(); }
    void cleanup() { m_fixture.reset(); }

    void textIsReadable_data()
    {
        QTest::addColumn<QString>("part");
        for (const char* part : {"editor", "status bar", "document tab", "main caption", "selector list", "about link",
                                 "about caption", "tip text"})
            QTest::newRow(part) << QString::fromLatin1(part);
    }
    void textIsReadable()
    {
        QFETCH(QString, part);
        QVERIFY(start({makeFile(QStringLiteral("dark.txt"), "MMMM WWWW MMMM\r\n")}));
        DocumentSelector selector;
        AboutWindow about;
        TipOfTheDayWindow tips;
        QImage image;
        QRect area;
        if (part == QLatin1String("editor")) {
            image = editor()->grab().toImage();
            area = QRect(40, 2, 60, 14); // past the margin, over the first line's text
        } else if (part == QLatin1String("status bar")) {
            status()->setMessage(QStringLiteral("MMMMMMMMMMMM"));
            image = status()->grab().toImage();
            area = status()->panelRect(StatusBar::Message).adjusted(3, 3, -3, -3);
        } else if (part == QLatin1String("document tab")) {
            DocumentTabBar* tabs = m_fixture->window->documentTabs()->tabs();
            image = tabs->grab().toImage();
            area = tabs->tabRect(tabs->currentIndex()).adjusted(28, 4, -6, -4);
        } else if (part == QLatin1String("main caption") || part == QLatin1String("about caption")) {
            QWidget& owner = part.startsWith(QLatin1String("main")) ? static_cast<QWidget&>(*m_fixture->window)
                                                                    : static_cast<QWidget&>(about);
            owner.show();
            CaptionBar* strip = owner.findChild<CaptionBar*>();
            image = strip->grab().toImage();
            // The start of the text, past the icon, over the dark end of the gradient.
            area = QRect(20, 2, 40, strip->height() - 4);
        } else if (part == QLatin1String("selector list")) {
            selector.documentList()->addItem(QStringLiteral("MMMMMMMMMMMM"));
            selector.show();
            QWidget* list = selector.documentList()->viewport();
            image = list->grab().toImage();
            area = QRect(2, 2, 80, selector.documentList()->sizeHintForRow(0) - 4);
        } else if (part == QLatin1String("about link")) {
            about.show();
            about.moreButton()->click();
            QTRY_VERIFY(about.webSiteLink()->isVisible());
            image = about.webSiteLink()->grab().toImage();
            area = image.rect();
        } else {
            tips.show();
            auto* text = tips.findChild<QPlainTextEdit*>(QStringLiteral("TipText"));
            text->setPlainText(QStringLiteral("MMMMMMMMMMMM"));
            image = text->viewport()->grab().toImage();
            area = QRect(2, 2, 80, 14);
        }
        area &= image.rect();
        QVERIFY(!area.isEmpty());
        const double contrast = textContrast(image, area);
        QVERIFY2(contrast >= 3, qPrintable(QStringLiteral("contrast %1").arg(contrast)));
    }

    void editorColoursFollowTheDesktopUnlessChosen()
    {
        QVERIFY(start());
        // The built-in page (button face) and text (black) follow the dark palette.
        QVERIFY(editor()->paper().lightnessF() < 0.4);
        QVERIFY(editor()->ink().lightnessF() > 0.6);
        // Chosen colours are kept as chosen, black on a chosen page included.
        m_fixture->window->setPageColour(0x00F0E0D0);
        QCOMPARE(editor()->paper(), QColor(0xD0, 0xE0, 0xF0));
        QCOMPARE(editor()->ink(), QColor(Qt::black));
        m_fixture->window->setTextColour(0x00112233);
        QCOMPARE(editor()->ink(), QColor(0x33, 0x22, 0x11));
    }

    void paletteChangeReachesTheEditorAndTheOpenOptions()
    {
        QVERIFY(start());
        OptionsDialog options;
        options.show();
        const auto* sample = options.findChild<QTextEdit*>(QStringLiteral("RichEdit1"));
        QVERIFY(sample);
        auto paper = [sample] { return sample->palette().color(QPalette::Base).lightnessF(); };
        auto ink = [sample] { return sample->palette().color(QPalette::Text).lightnessF(); };
        QApplication::setPalette(QApplication::style()->standardPalette());
        QTRY_VERIFY(editor()->paper().lightnessF() > 0.6);
        QVERIFY(editor()->ink().lightnessF() < 0.4);
        QVERIFY(paper() > 0.6 && ink() < 0.4);
        QApplication::setPalette(darkPalette());
        QTRY_VERIFY(editor()->paper().lightnessF() < 0.4);
        QVERIFY(editor()->ink().lightnessF() > 0.6);
        QVERIFY(paper() < 0.4 && ink() > 0.6);
    }
};

QTEST_MAIN(TestDarkPalette)
#include "tst_darkpalette.moc"
