// Every window restoring itself from the settings store at start and saving itself at the end:
// whole program runs (all ten windows) against a store file in a temporary folder.

#include "app/startup.h"
#include "editor/editorviews.h"
#include "mainwindow/filecontroller.h"
#include "mainwindow/findcontroller.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/statusbar.h"
#include "mainwindow/viewcontroller.h"
#include "settings/inisettingsstore.h"
#include "settings/programstore.h"
#include "settings/recentfilesmenu.h"
#include "settings/windowsettings.h"
#include "support/scriptedprompts.h"
#include "windows/captionbar.h"
#include "windows/clipbookwindow.h"
#include "windows/documentselector.h"
#include "windows/gotolinedialog.h"
#include "windows/optionsdialog.h"
#include "windows/utilityoptionsdialog.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QScopeGuard>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

class TestWindowStorage : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    ScriptedPrompts m_prompts;
    ProgramWindows m_windows;
    QString storePath() const { return m_dir.filePath(QStringLiteral("Quillet.ini")); }

    // One run of the program: the windows are created (restoring), `during` runs, and the
    // windows are destroyed (saving); the store is written as at the program's end.
    void run(const std::function<void()>& during = {})
    {
        IniSettingsStore store(storePath());
        setProgramStore(&store);
        createProgramWindows(m_windows, {});
        if (during)
            during();
        destroyProgramWindows(m_windows);
        QVERIFY(store.flush());
        setProgramStore(nullptr);
    }

private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        qputenv("TMPDIR", m_dir.path().toLocal8Bit());
        QFile::remove(storePath());
        m_prompts = ScriptedPrompts();
        m_prompts.otherwise = Answer::No;
        Prompts::install(&m_prompts);
    }

    void cleanup() { Prompts::install(nullptr); }

    void firstRunWritesEverySectionWithBuiltInValues()
    {
        run([this] { m_windows.main->show(); });
        IniSettingsStore store(storePath());
        QVERIFY(store.valueExists(QStringLiteral("Main"), QStringLiteral("NormPos")));
        // Windows never shown have no placement of their own to keep; the tips come with the main window.
        const QStringList neverShown{"Quillet Options",   "Utility Options", "Config", "ClipBook",
                                     "Document Selector", "Rename",          "Scroll"};
        QVERIFY(store.valueExists(QStringLiteral("Tips"), QStringLiteral("NormPos")));
        for (const QString& section : neverShown)
            QVERIFY2(!store.valueExists(section, QStringLiteral("NormPos")), qPrintable(section));
        QCOMPARE(store.readString(QStringLiteral("Scroll"), QStringLiteral("Edit1_MaxValue")), QStringLiteral("1"));
        // The About window keeps nothing; empty recent lists have no key.
        QVERIFY(!store.keys().contains(QStringLiteral("About")));
        QVERIFY(!store.keys().contains(QStringLiteral("TQuilForm1.MRUManager1"), Qt::CaseInsensitive));
        QCOMPARE(store.readString("Main", "Editor_FontName"), QStringLiteral("Courier New"));
        QCOMPARE(store.readString("Main", "Editor_FontHeight"), QStringLiteral("-13"));
        QCOMPARE(store.readString("Main", "Editor_Color"), QStringLiteral("-2147483633"));
        QCOMPARE(store.readString("Main", "Editor_WordWrap"), QStringLiteral("True"));
        QCOMPARE(store.readString("Main", "FontDialog1_FontName"), QStringLiteral("MS Sans Serif"));
        QCOMPARE(store.readString("Main", "OpenDialog1_FileName"),
                 QStringLiteral("Please Configure Filters from the Options Window"));
        QCOMPARE(store.readString("Main", "SaveDialog2_DefaultExt"), QStringLiteral("txt"));
        QCOMPARE(store.readString("Main", "ToolBar1_Align"), QStringLiteral("alTop"));
        QCOMPARE(store.readString("Main", "TrayIcon_Active"), QStringLiteral("True"));
        QCOMPARE(store.readString("Main", "StatusBar1_SizeGrip"), QStringLiteral("True"));
        QVERIFY(store.valueExists("Main", "FindDialog1_FindText")); // strings are written even when empty
        QVERIFY(!store.valueExists("Main", "ActiveControl"));       // the main window keeps position only
        QCOMPARE(store.readString("Main.StatusBar1_Panels", "Item4_Text"), QStringLiteral("Welcome to Quillet!"));
        QCOMPARE(store.readString("Main.StatusBar1_Panels", "Item1_Width"), QStringLiteral("60"));
        QCOMPARE(store.readString("Main", "Visible"), QStringLiteral("1")); // still open at the end
        QVERIFY(m_prompts.errors.isEmpty());
    }

    void firstRunStoreIsByteForByteAsBefore()
    {
        // The stored layout is a contract with every earlier copy's INI file: not a byte moves.
        run([this] { m_windows.main->show(); });
        QFile written(storePath());
        QVERIFY(written.open(QIODevice::ReadOnly));
        QFile golden(QFINDTESTDATA("data/first-run.ini"));
        QVERIFY(golden.open(QIODevice::ReadOnly));
        const QByteArray bytes = written.readAll();
        QCOMPARE(bytes, golden.readAll());
    }

    void secondRunRestoresWhatTheFirstLeft()
    {
        run([this] {
            m_windows.main->show();
            m_windows.main->setGeometry(QRect(QPoint(211, 133), m_windows.main->size()));
            m_windows.main->find().setFindText(QStringLiteral("needle"));
            m_windows.main->view().toggleWordWrap(); // off
            m_windows.main->action(QStringLiteral("Show1"))->trigger();
            m_windows.main->files().addRecent(QStringLiteral("/tmp/one.txt"));
            m_windows.main->files().addRecent(QStringLiteral("/tmp/two.txt"));
            m_windows.main->statusPanels()->setPanelWidth(0, 77);
        });
        run([this] {
            QCOMPARE(m_windows.main->find().findText(), QStringLiteral("needle"));
            QVERIFY(!m_windows.main->editorViews()->settings().wordWrap);
            QVERIFY(m_windows.main->editorViews()->settings().scrollBarsBoth);
            QVERIFY(!m_windows.main->action(QStringLiteral("WordWrap1"))->isChecked());
            QCOMPARE(m_windows.main->statusPanels()->panelText(5), QString());
            QVERIFY(!m_windows.main->action(QStringLiteral("Show1"))->isChecked());
            QCOMPARE(m_windows.main->statusPanels()->panelWidth(0), 77);
            QCOMPARE(m_windows.main->recentFilesMenu()->items(),
                     (QStringList{QStringLiteral("/tmp/two.txt"), QStringLiteral("/tmp/one.txt")}));
            QCOMPARE(m_windows.main->trayRecentFilesMenu()->items(), m_windows.main->recentFilesMenu()->items());
            QCOMPARE(m_windows.main->normalGeometry().topLeft(), QPoint(211, 133));
        });
    }

    void garbageOrWronglyTypedStoreStillStartsNormally_data()
    {
        QTest::addColumn<QByteArray>("content");
        QByteArray garbage;
        for (int i = 0; i < 4096; ++i)
            garbage.append(static_cast<char>((i * 7919 + 13) % 256));
        QTest::newRow("garbage") << garbage;
        QTest::newRow("truncated") << QByteArray("[Main]\nEditor_FontNa");
        QTest::newRow("wrong kinds") << QByteArray("[Main]\nEditor_WordWrap=banana\nEditor_FontHeight=tall\n"
                                                   "Editor_ScrollBars=ssSideways\nNormPos=a,b,c,d\nShowCmd=x\n"
                                                   "StatusBar1_Visible=maybe\n[Main.StatusBar1_Panels]\n"
                                                   "Item0_Width=wide\n[TQuilForm1.MRUManager1]\nItem_0=\n");
        QTest::newRow("empty") << QByteArray();
    }

    void garbageOrWronglyTypedStoreStillStartsNormally()
    {
        QFETCH(QByteArray, content);
        QFile file(storePath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
        file.close();
        run([this] {
            QVERIFY(m_windows.main && m_windows.documentSelector && m_windows.gotoLine);
            m_windows.main->show();
            QCOMPARE(m_windows.main->windowTitle(), QStringLiteral("Quillet  - Untitled"));
            // An unknown identifier leaves the built-in value; an unparsable width is ignored.
            QVERIFY(m_windows.main->editorViews()->settings().wordWrap);
            QVERIFY(!m_windows.main->statusPanels()->isHidden());
            QVERIFY(m_windows.main->statusPanels()->panelWidth(0) > 0);
            QVERIFY(m_windows.main->recentFilesMenu()->items().isEmpty());
        });
        // The damaged values are replaced at the save.
        IniSettingsStore store(storePath());
        QCOMPARE(store.readString("Main", "Editor_WordWrap"), QStringLiteral("True"));
        QCOMPARE(store.readString("Main.StatusBar1_Panels", "Item0_Width"), QStringLiteral("60"));
    }

    void fixedSizeWindowsKeepTheirSize()
    {
        run([this] { m_windows.gotoLine->move(40, 50); });
        {
            IniSettingsStore store(storePath());
            store.writeString("Scroll", "NormPos", "40,50,900,900");
            store.writeString("Scroll", "NormPos(99999x99999)", "");
            QVERIFY(store.flush());
        }
        // The designed size and the caption strip above it.
        run([this] { QCOMPARE(m_windows.gotoLine->size(), QSize(361, 100 + CaptionBar::stripHeight())); });
    }

    void storedSwitchHidesEveryCaptionStrip()
    {
        run([] {});
        {
            IniSettingsStore store(storePath());
            QVERIFY(!store.valueExists("Main", "MSOfficeCaption1_Visible")); // not written while shown
            store.writeString("Main", "MSOfficeCaption1_Visible", "False");
            QVERIFY(store.flush());
        }
        const auto restoreStrips = qScopeGuard([] { CaptionBar::setAllStripsShown(true); });
        run([this] {
            for (QWidget* window : {static_cast<QWidget*>(m_windows.main), static_cast<QWidget*>(m_windows.gotoLine)}) {
                QVERIFY(!window->findChild<CaptionBar*>(QStringLiteral("MSOfficeCaption1"))->stripShown());
                QCOMPARE(window->contentsMargins().top(), 0);
            }
            QCOMPARE(m_windows.gotoLine->size(), QSize(361, 100));
        });
        IniSettingsStore store(storePath());
        QCOMPARE(store.readString("Main", "MSOfficeCaption1_Visible"), QStringLiteral("False"));
    }

    void okWritesTheWindowsSectionToTheFileAtOnce()
    {
        run([this] {
            OptionsDialog& options = *m_windows.options;
            options.show();
            options.tabWidthSpin()->setValue(7);
            options.accept();
            // Read from the file while the program still runs, as a second copy or a crash would.
            const IniSettingsStore onDisk(storePath());
            QCOMPARE(onDisk.readString(QStringLiteral("Quillet Options"), QStringLiteral("SpinEdit1_Value")),
                     QStringLiteral("7"));
        });
        QVERIFY(m_prompts.errors.isEmpty());
    }

    void switchingTheMainStorageOffLastsOneRun()
    {
        run([this] { m_windows.main->find().setFindText(QStringLiteral("kept")); });
        run([this] {
            m_windows.main->windowSettings()->setActive(false);
            m_windows.main->find().setFindText(QStringLiteral("not kept"));
        });
        run([this] {
            QCOMPARE(m_windows.main->find().findText(), QStringLiteral("kept"));
            QVERIFY(m_windows.main->windowSettings()->isActive());
            m_windows.main->find().setFindText(QStringLiteral("kept again"));
        });
        IniSettingsStore store(storePath());
        QCOMPARE(store.readString("Main", "FindDialog1_FindText"), QStringLiteral("kept again"));
    }

    void gotoValueAndBoundsSurviveARestart()
    {
        run([this] {
            m_windows.gotoLine->setMaxValue(120);
            m_windows.gotoLine->setValue(77);
            m_windows.gotoLine->setIncrement(2);
        });
        {
            IniSettingsStore store(storePath());
            QCOMPARE(store.readString(QStringLiteral("Scroll"), QStringLiteral("Edit1_Value")), QStringLiteral("77"));
            QCOMPARE(store.readString(QStringLiteral("Scroll"), QStringLiteral("Edit1_MaxValue")),
                     QStringLiteral("120"));
        }
        run([this] {
            QCOMPARE(m_windows.gotoLine->value(), 77);
            QCOMPARE(m_windows.gotoLine->maxValue(), 120);
            QCOMPARE(m_windows.gotoLine->minValue(), 0);
            QCOMPARE(m_windows.gotoLine->increment(), 2);
        });
        QVERIFY(m_prompts.errors.isEmpty());
    }

    void everyWindowSavesWhileItIsWhole()
    {
        // What each window is when its values are saved at the end: the derived window whose
        // getters the stored properties call, not a base whose own part is gone.
        QMap<QString, QString> savedAs;
        run([&] {
            for (QWidget* window : QApplication::topLevelWidgets()) {
                auto* storage = window->findChild<WindowSettings*>(QString(), Qt::FindDirectChildrenOnly);
                if (!storage)
                    continue;
                const QString name = QString::fromLatin1(window->metaObject()->className());
                savedAs[name] = QString();
                storage->addStoredProperty(
                    QStringLiteral("Probe"),
                    [&savedAs, name, window](SettingsStore&) {
                        savedAs[name] = QString::fromLatin1(window->metaObject()->className());
                    },
                    [](const SettingsStore&) {});
            }
        });
        QCOMPARE(savedAs.size(), 9); // every window but About keeps values
        for (auto it = savedAs.cbegin(); it != savedAs.cend(); ++it)
            QCOMPARE(it.value(), it.key());
    }

    void whatUtilityOptionsSetInTheSideWindowsSurvivesARestart()
    {
        run([this] {
            for (const char* box : {"CShowStatusBar1", "CShowToolBars1", "CAutoComplete1", "DSShowToolBar1"})
                m_windows.utilityOptions->box(QLatin1String(box))->setChecked(false);
            m_windows.utilityOptions->accept();
        });
        run([this] {
            ClipBookWindow& clipBook = *m_windows.clipBook;
            QVERIFY(clipBook.findChild<QWidget*>(QStringLiteral("StatusBar1"))->isHidden());
            QVERIFY(clipBook.findChild<QWidget*>(QStringLiteral("ClipPanel1"))->isHidden());
            QVERIFY(clipBook.findChild<QWidget*>(QStringLiteral("Panel1"))->isHidden());
            QVERIFY(!clipBook.findChild<QWidget*>(QStringLiteral("Panel2"))->isHidden());
            QVERIFY(!clipBook.templateAutoComplete());
            QVERIFY(clipBook.fileAutoComplete());
            QVERIFY(m_windows.documentSelector->toolPanel()->isHidden());
            QVERIFY(m_windows.documentSelector->showToolBarEntry()->isVisible());
            QVERIFY(!m_windows.documentSelector->hideToolBarEntry()->isVisible());
            QVERIFY(!m_windows.utilityOptions->box(QStringLiteral("CShowStatusBar1"))->isChecked());
        });
        QVERIFY(m_prompts.errors.isEmpty());
    }
};

QTEST_MAIN(TestWindowStorage)
#include "tst_windowstorage.moc"
