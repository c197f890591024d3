// The ClipBook on the real main window: its commands and the ClipBook window's buttons as the
// user reaches them, the files they leave below the program directory, and the walk through a
// File Template. Dialogs are answered by a script; the naming window is typed into.

#include "core/commandguard.h"
#include "mainwindow/clipbookcontroller.h"
#include "support/mainwindowfixture.h"
#include "windows/clipbookwindow.h"
#include "windows/templatenamedialog.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusTipEvent>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

#include <memory>

class TestClipBook : public MainWindowTest
{
    Q_OBJECT

private:
    std::unique_ptr<ClipBookWindow> m_clip;
    std::unique_ptr<TemplateNameDialog> m_naming;

    QString programFile(const QString& relative) const { return m_fixture->programDir + relative; }
    ClipBookWindow& clip() { return *m_clip; }

    bool startClipBook()
    {
        if (!start())
            return false;
        m_clip = std::make_unique<ClipBookWindow>();
        m_naming = std::make_unique<TemplateNameDialog>();
        m_fixture->windows.clipBook = m_clip.get();
        m_fixture->windows.templateName = m_naming.get();
        return true;
    }
    void trigger(const char* name)
    {
        QAction* command = action(name);
        QVERIFY2(command && command->isEnabled(), name);
        command->trigger();
    }
    void click(const char* button)
    {
        auto* found = clip().findChild<QAbstractButton*>(QLatin1String(button));
        QVERIFY2(found && found->isEnabled(), button);
        found->click();
    }
    // Clicks `button` of the ClipBook, types `name` into the naming window it opens and presses Enter.
    void nameThrough(const char* button, const QString& name)
    {
        QTimer::singleShot(0, m_naming.get(), [this, name] {
            QTest::keyClicks(m_naming->nameField(), name);
            QTest::keyClick(m_naming->nameField(), Qt::Key_Return);
            m_naming->close(); // never left hanging
        });
        click(button);
    }
    void typeInto(QComboBox* box, const QString& text)
    {
        box->lineEdit()->selectAll();
        QTest::keyClick(box->lineEdit(), Qt::Key_Delete);
        QTest::keyClicks(box->lineEdit(), text);
    }

private slots:
    void init() { newFixture(); }
    void cleanup()
    {
        m_fixture.reset();
        m_naming.reset();
        m_clip.reset();
    }

    void theWindowsCarryTheirDesignedNames()
    {
        ClipBookWindow window;
        QCOMPARE(window.objectName(), QStringLiteral("ClipBook"));
        for (const char* name :
             {"CPanel1",           "CFPanel1",      "Panel1",        "Panel2",        "ClipPanel1",    "FilePanel1",
              "TemplateComboBox1", "ItemListBox1",  "ClipEdit",      "ClipEdit2",     "FileCombo1",    "FileListBox1",
              "FileEdit1",         "StatusBar1",    "PopupMenu1",    "PopupMenu2",    "PopupMenu3",    "SpeedButton1",
              "SpeedButton2",      "SpeedButton3",  "SpeedButton4",  "SpeedButton5",  "SpeedButton6",  "SpeedButton7",
              "SpeedButton8",      "SpeedButton9",  "SpeedButton10", "SpeedButton11", "SpeedButton12", "SpeedButton13",
              "SpeedButton14",     "SpeedButton15", "SpeedButton17", "SpeedButton19", "SpeedButton20", "SpeedButton21",
              "SpeedButton22",     "SpeedButton23", "SpeedButton24", "SpeedButton25"})
            QVERIFY2(window.findChild<QObject*>(QLatin1String(name)), name);
        // The name lists and the display settings are kept; what a template holds is in its file.
        QCOMPARE(window.storage()->section(), QStringLiteral("ClipBook"));
        const QStringList kept = window.storage()->storedPropertyNames();
        QCOMPARE(kept.first(2),
                 (QStringList{QStringLiteral("FileCombo1.Items"), QStringLiteral("TemplateComboBox1.Items")}));
        for (const QString& value : kept.mid(2))
            QVERIFY2(value.endsWith(QLatin1String(".Visible")) || value.endsWith(QLatin1String(".Complete")),
                     qPrintable(value));

        TemplateNameDialog naming;
        QCOMPARE(naming.objectName(), QStringLiteral("RenameTempForm1"));
        for (const char* name : {"RenamePanel1", "NewTempPanel1", "Panel1", "Edit1", "Edit2", "Edit3", "NewTempEdit1",
                                 "RenameOK1", "NewTempCan1"})
            QVERIFY2(naming.findChild<QObject*>(QLatin1String(name)), name);
        QCOMPARE(naming.storage()->section(), QStringLiteral("Rename"));
    }

    void itemsComeFromTheDocumentAndGoBackIntoIt()
    {
        QVERIFY(startClipBook());
        trigger("ClipBook1");
        QVERIFY(clip().isVisible());
        QCOMPARE(clip().windowTitle(), QStringLiteral("ClipBook"));
        nameThrough("SpeedButton1", QStringLiteral("Letters"));
        QCOMPARE(clip().templateNames(), QStringList{QStringLiteral("Letters")});
        QCOMPARE(fileBytes(programFile("ClipBook/Letters.cpb")), QByteArray());

        // Add from Document keeps the commas of the text; Add To ClipBook splits at "<!>" and is
        // enabled only with a selection.
        editor()->setBytes("Greeting,Hello, there");
        select(0, editor()->textLength());
        click("SpeedButton7");
        editor()->setBytes("Sig<!>Yours, J");
        select(0, 0);
        QVERIFY(!action("AddToClipBook1")->isEnabled());
        select(0, editor()->textLength());
        trigger("AddToClipBook1");
        QCOMPARE(fileBytes(programFile("ClipBook/Letters.cpb")),
                 QByteArray("Greeting,Hello, there\r\nSig,Yours, J\r\n"));

        // Paste replaces the document's selection; double-click inserts before it.
        editor()->setBytes("[sel]");
        select(1, 4);
        clip().selectItem(0);
        click("SpeedButton4");
        QCOMPARE(editor()->bytes(), QByteArray("[Hello, there]"));
        select(1, 6);
        clip().selectItem(1);
        const QRect second = clip().itemList()->visualRect(clip().itemList()->model()->index(1, 0));
        QTest::mouseClick(clip().itemList()->viewport(), Qt::LeftButton, {}, second.center());
        QTest::mouseDClick(clip().itemList()->viewport(), Qt::LeftButton, {}, second.center());
        QCOMPARE(editor()->bytes(), QByteArray("[Yours, JHello, there]"));
        QVERIFY(m_fixture->currentModified());

        // A long entry can be scrolled to sideways.
        QCOMPARE(clip().itemList()->horizontalScrollBar()->maximum(), 0);
        clip().itemNameField()->setText(QString(300, u'w'));
        click("SpeedButton6");
        QCoreApplication::processEvents();
        QVERIFY(clip().itemList()->horizontalScrollBar()->maximum() > 0);
        clip().selectItem(2);
        click("SpeedButton10");

        // Removing moves to the last item; the file follows every change.
        clip().selectItem(0);
        click("SpeedButton10");
        QCOMPARE(clip().currentItem(), 0);
        QCOMPARE(fileBytes(programFile("ClipBook/Letters.cpb")), QByteArray("Sig,Yours, J\r\n"));
        QVERIFY(prompts().errors.isEmpty());
    }

    // The fields and the status bar always show the row the list shows as current, however it
    // became current; a template of no items leaves them empty.
    void theFieldsFollowTheCurrentRow()
    {
        QVERIFY(startClipBook());
        trigger("ClipBook1");
        nameThrough("SpeedButton1", QStringLiteral("Letters"));
        for (const char* name : {"Sig", "Addr"}) {
            clip().itemNameField()->setText(QLatin1String(name));
            clip().itemTextField()->setText(QLatin1String(name) + QStringLiteral(" text"));
            click("SpeedButton6");
        }
        QListView* list = clip().itemList();
        const auto clickRow = [list](int row) {
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                              list->visualRect(list->model()->index(row, 0)).center());
        };
        clickRow(0);
        clickRow(1);
        QCOMPARE(clip().itemNameField()->text(), QStringLiteral("Addr"));
        QCOMPARE(clip().itemTextField()->text(), QStringLiteral("Addr text"));
        QCOMPARE(clip().statusText(ClipBookWindow::Panel::Information), QStringLiteral("Addr. 2 Items."));
        // Editing after a click changes the item clicked, with its own text.
        click("SpeedButton9");
        QCOMPARE(fileBytes(programFile("ClipBook/Letters.cpb")), QByteArray("Sig,Sig text\r\nAddr,Addr text\r\n"));
        // Home on the row already current, but no longer chosen, chooses it again.
        list->setFocus();
        list->selectionModel()->clearSelection();
        clip().itemNameField()->clear();
        QTest::keyClick(list, Qt::Key_Home);
        QTest::keyClick(list, Qt::Key_Home);
        QCOMPARE(clip().itemNameField()->text(), QStringLiteral("Sig"));
        // A new template starts with nothing in its fields.
        nameThrough("SpeedButton1", QStringLiteral("Fresh"));
        QCOMPARE(clip().itemNameField()->text(), QString());
        QCOMPARE(clip().itemTextField()->text(), QString());

        // The file page's path field follows its list the same way.
        trigger("ClipBookFiles1");
        nameThrough("SpeedButton25", QStringLiteral("Work"));
        for (const char* path : {"/a.txt", "/b.txt"}) {
            clip().filePathField()->setText(QLatin1String(path));
            click("SpeedButton21");
        }
        QListView* files = clip().fileList();
        QTest::mouseClick(files->viewport(), Qt::LeftButton, {},
                          files->visualRect(files->model()->index(0, 0)).center());
        QCOMPARE(clip().filePathField()->text(), QStringLiteral("/a.txt"));
    }

    // No field cuts what it is given: an item of a million characters stays whole.
    void longTextsAreKeptWhole()
    {
        QVERIFY(startClipBook());
        trigger("ClipBook1");
        nameThrough("SpeedButton1", QStringLiteral("Long"));
        const QString million(1'000'000, u'm');
        clip().itemNameField()->setText(QStringLiteral("big"));
        clip().itemTextField()->setText(million);
        click("SpeedButton6");
        click("SpeedButton9");
        QCOMPARE(clip().items().texts, QStringList{million});
        QCOMPARE(fileBytes(programFile("ClipBook/Long.cpb")).size(), qsizetype(4 + 1'000'000 + 2));
    }

    // A name typed in the box is completed to the first listed name it begins, in that name's
    // letter case, and its items shown at once; Backspace does not complete again.
    void typingANameCompletesItToTheListedOne()
    {
        QVERIFY(startClipBook());
        trigger("ClipBook1");
        nameThrough("SpeedButton1", QStringLiteral("Abstract"));
        clip().itemNameField()->setText(QStringLiteral("in Abstract"));
        click("SpeedButton6");
        nameThrough("SpeedButton1", QStringLiteral("Absent"));
        typeInto(clip().templateBox(), QStringLiteral("ab"));
        QCoreApplication::processEvents();
        QCOMPARE(clip().templateBoxText(), QStringLiteral("Abstract"));
        QCOMPARE(clip().templateBox()->lineEdit()->selectedText(), QStringLiteral("stract"));
        QCOMPARE(clip().items().names, QStringList{QStringLiteral("in Abstract")});
        // As the keyboard sends it: to the box, which hands it on to its line edit.
        QTest::keyClick(clip().templateBox(), Qt::Key_Backspace);
        QCoreApplication::processEvents();
        QCOMPARE(clip().templateBoxText(), QStringLiteral("Ab"));
        QTest::keyClicks(clip().templateBox()->lineEdit(), QStringLiteral("se"));
        QCoreApplication::processEvents();
        QCOMPARE(clip().templateBoxText(), QStringLiteral("Absent"));
        QVERIFY(clip().items().names.isEmpty());
    }

    // What a button does is said on the ClipBook's own status bar while the mouse is on it.
    void longHintsShowOnTheStatusBar()
    {
        QVERIFY(startClipBook());
        trigger("ClipBook1");
        nameThrough("SpeedButton1", QStringLiteral("Hints"));
        clip().itemNameField()->setText(QStringLiteral("Sig"));
        click("SpeedButton6");
        auto* paste = clip().findChild<QAbstractButton*>(QStringLiteral("SpeedButton4"));
        QStatusTipEvent over(paste->statusTip());
        QApplication::sendEvent(paste, &over);
        QCOMPARE(clip().statusText(ClipBookWindow::Panel::Information),
                 QStringLiteral("Paste Selected item into current Document"));
        QStatusTipEvent away{QString()};
        QApplication::sendEvent(paste, &away);
        QCOMPARE(clip().statusText(ClipBookWindow::Panel::Information), QStringLiteral("Sig. 1 Items."));
    }

    // A new template with the name of an unlisted file that is there (left by a delete or a
    // rename) asks before emptying it; No lists it with what it holds.
    void aNewTemplateAsksBeforeEmptyingAFileLeftBehind()
    {
        QVERIFY(startClipBook());
        QDir().mkpath(programFile("ClipBook"));
        for (const char* name : {"Kept", "Emptied"}) {
            QFile old(programFile(QStringLiteral("ClipBook/%1.cpb").arg(QLatin1String(name))));
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("k,v\r\n");
        }
        trigger("ClipBook1");
        prompts().answers = {Answer::No, Answer::Yes};
        nameThrough("SpeedButton1", QStringLiteral("Kept"));
        QCOMPARE(prompts().questionDefaults.value(0), Answer::No);
        QCOMPARE(clip().items().names, QStringList{QStringLiteral("k")});
        QCOMPARE(fileBytes(programFile("ClipBook/Kept.cpb")), QByteArray("k,v\r\n"));
        nameThrough("SpeedButton1", QStringLiteral("Emptied"));
        QCOMPARE(fileBytes(programFile("ClipBook/Emptied.cpb")), QByteArray());
        QCOMPARE(clip().templateNames(), (QStringList{QStringLiteral("Kept"), QStringLiteral("Emptied")}));
    }

    // However long the name, the error box says why in sight: the path is shortened in the middle.
    void aLongNameKeepsTheReasonInSight()
    {
        QVERIFY(startClipBook());
        trigger("ClipBook1");
        QTimer::singleShot(0, m_naming.get(), [this] {
            m_naming->nameField()->setText(QString(300, u'n'));
            QTest::keyClick(m_naming->nameField(), Qt::Key_Return);
            m_naming->close();
        });
        click("SpeedButton1");
        QCOMPARE(prompts().errors.size(), 1);
        const QString message = prompts().errors.first();
        QVERIFY2(message.size() < 200, qPrintable(message));
        QVERIFY2(message.endsWith(qt_error_string(ENAMETOOLONG)), qPrintable(message));
    }

    // A File Template's files open as a list of files named on the command line does: in order,
    // the last one current, the progress on the status bar.
    void openAllOpensTheListInOrder()
    {
        QVERIFY(startClipBook());
        QStringList paths;
        for (int i = 0; i < 5; ++i)
            paths << makeFile(QStringLiteral("all%1.txt").arg(i), QByteArray::number(i));
        trigger("ClipBookFiles1");
        nameThrough("SpeedButton25", QStringLiteral("All"));
        prompts().openPaths = paths;
        click("SpeedButton14");
        const int before = docs().count();
        QStringList progress;
        QObject::connect(status(), &StatusBar::messageChanged, status(),
                         [&progress](const QString& message) { progress << message; });
        click("SpeedButton13");
        QCOMPARE(docs().count(), before + 5);
        QCOMPARE(docs().current().path, paths.last());
        QVERIFY2(progress.contains(QStringLiteral("Opening 3 of 5")), qPrintable(progress.join(" | ")));
    }

    // The program ends with the focus in a template box, a listed name typed there: the window
    // goes without loading it into members already gone (which asks the host for the folder).
    void theWindowGoesWithTheFocusInABox()
    {
        struct WatchingHost : ClipBookHost
        {
            int asked = 0;
            QString programDirectory() override { return ++asked, QString(); }
            platform::TextEncoding legacyEncoding() override { return ++asked, platform::TextEncoding::Utf8; }
            QString selectedDocumentText() override { return {}; }
            void replaceDocumentSelection(const QString&) override {}
            void insertBeforeDocumentSelection(const QString&) override {}
            void openDocument(const QString&) override {}
            void openDocuments(const QStringList&) override {}
            QStringList chooseFilesToAdd() override { return {}; }
            TemplateNameDialog* namingDialog() override { return nullptr; }
        } host;
        QVERIFY(startClipBook());
        trigger("ClipBookFiles1");
        nameThrough("SpeedButton25", QStringLiteral("Many"));
        nameThrough("SpeedButton25", QStringLiteral("Other"));
        clip().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&clip()));
        typeInto(clip().fileBox(), QStringLiteral("Many"));
        QCOMPARE(QApplication::focusWidget(), clip().fileBox());
        clip().setHost(&host);
        const int asked = host.asked;
        m_fixture->windows.clipBook = nullptr;
        m_clip.reset();
        QCOMPARE(host.asked, asked);
    }

    void aTypedNameIsSavedUnderThatName()
    {
        QVERIFY(startClipBook());
        trigger("ClipBook1");
        nameThrough("SpeedButton1", QStringLiteral("Chosen"));
        // A name typed but not chosen from the list: saving creates it, never a nameless file.
        typeInto(clip().templateBox(), QStringLiteral("Typed"));
        clip().itemNameField()->setText(QStringLiteral("n%2"));
        clip().itemTextField()->setText(QStringLiteral("t"));
        click("SpeedButton6");
        QCOMPARE(fileBytes(programFile("ClipBook/Typed.cpb")), QByteArray("n%2,t\r\n"));
        QCOMPARE(clip().statusText(ClipBookWindow::Panel::Information), QStringLiteral("n%2. 1 Items."));
        QCOMPARE(fileBytes(programFile("ClipBook/Chosen.cpb")), QByteArray());
        QVERIFY(!QFile::exists(programFile("ClipBook/.cpb")));
        QCOMPARE(clip().templateNames(), (QStringList{QStringLiteral("Chosen"), QStringLiteral("Typed")}));
        QCOMPARE(clip().templateBox()->currentIndex(), 1);

        // The same for a File Template.
        trigger("ClipBookFiles1");
        QCOMPARE(clip().windowTitle(), QStringLiteral("ClipBook Files"));
        typeInto(clip().fileBox(), QStringLiteral("Work"));
        clip().filePathField()->setText(QStringLiteral("/tmp/a.txt"));
        click("SpeedButton21");
        QCOMPARE(fileBytes(programFile("ClipFiles/Work.fff")), QByteArray("/tmp/a.txt\r\n"));
        QVERIFY(!QFile::exists(programFile("ClipFiles/.fff")));
        QCOMPARE(clip().fileTemplateNames(), QStringList{QStringLiteral("Work")});
    }

    void aFailedWriteIsReportedAndKeepsTheOldFile()
    {
        QVERIFY(startClipBook());
        trigger("ClipBook1");
        nameThrough("SpeedButton1", QStringLiteral("Kept"));
        clip().itemNameField()->setText(QStringLiteral("a"));
        click("SpeedButton6");
        const QString file = programFile("ClipBook/Kept.cpb");
        QVERIFY(QFile::setPermissions(file, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        clip().itemNameField()->setText(QStringLiteral("b"));
        click("SpeedButton6");
        QCOMPARE(prompts().errors.size(), 1);
        QVERIFY2(prompts().errors.first().contains(file), qPrintable(prompts().errors.first()));
        QCOMPARE(fileBytes(file), QByteArray("a,\r\n"));
    }

    void namesAreCheckedRenamedAndDeletedAsTheUserExpects()
    {
        QVERIFY(startClipBook());
        trigger("ClipBook1");
        nameThrough("SpeedButton1", QStringLiteral("A"));
        clip().itemNameField()->setText(QStringLiteral("x"));
        click("SpeedButton6");
        nameThrough("SpeedButton1", QStringLiteral("B"));
        // A refused name leaves no file anywhere and nothing listed; so does one already listed.
        QTimer::singleShot(0, m_naming.get(), [this] {
            for (const char* bad : {"../evil", "A"}) {
                m_naming->nameField()->setText(QLatin1String(bad));
                QTest::keyClick(m_naming->nameField(), Qt::Key_Return);
                QVERIFY(m_naming->isVisible());
            }
            m_naming->close();
        });
        click("SpeedButton1");
        QCOMPARE(prompts().errors.size(), 2);
        QVERIFY(!QFile::exists(programFile("evil.cpb")));
        QCOMPARE(clip().templateNames(), (QStringList{QStringLiteral("A"), QStringLiteral("B")}));

        // Rename moves the name to the end and keeps the old file; delete unlists it.
        clip().templateBox()->setCurrentIndex(0);
        QCOMPARE(clip().items().names, QStringList{QStringLiteral("x")});
        nameThrough("SpeedButton2", QStringLiteral("C"));
        QCOMPARE(clip().templateNames(), (QStringList{QStringLiteral("B"), QStringLiteral("C")}));
        QCOMPARE(fileBytes(programFile("ClipBook/C.cpb")), QByteArray("x,\r\n"));
        QCOMPARE(fileBytes(programFile("ClipBook/A.cpb")), QByteArray("x,\r\n"));
        click("SpeedButton3");
        QCOMPARE(clip().templateNames(), QStringList{QStringLiteral("B")});
        QCOMPARE(clip().templateBoxText(), QStringLiteral("Untitled"));
        QCOMPARE(clip().statusText(ClipBookWindow::Panel::Name), QStringLiteral("Untitled"));
        QVERIFY(clip().items().names.isEmpty());
        QCOMPARE(fileBytes(programFile("ClipBook/C.cpb")), QByteArray("x,\r\n"));
    }

    void importsCopyAFileUnderItsNameAndShowIt()
    {
        QVERIFY(startClipBook());
        const QString letters = makeFile(QStringLiteral("elsewhere/Letters.old.cpb"), "Dear,Sir, or Madam\r\n");
        prompts().openPaths = {letters};
        trigger("OpenClipBookTemplate1");
        QCOMPARE(prompts().openDialogs.last().title, QStringLiteral("Open ClipBook Template"));
        QCOMPARE(prompts().openDialogs.last().filter, QStringLiteral("ClipBook Templates|*.cpb"));
        QCOMPARE(fileBytes(programFile("ClipBook/Letters.cpb")), QByteArray("Dear,Sir, or Madam\r\n"));
        QCOMPARE(clip().templateNames(), QStringList{QStringLiteral("Letters")}); // no "Untitled" on the way
        QCOMPARE(clip().items().texts, QStringList{QStringLiteral("Sir, or Madam")});
        // Imported again: selected, not listed twice.
        const int listed = int(clip().templateNames().size());
        trigger("OpenClipBookTemplate1");
        QCOMPARE(clip().templateNames().size(), listed);

        // A file whose name before its first dot is empty is refused: nothing listed or written.
        prompts().openPaths = {makeFile(QStringLiteral("..fff"), "/x\r\n")};
        trigger("OpenClipBookFileTemplate1");
        QCOMPARE(prompts().openDialogs.last().title, QStringLiteral("Open ClipBook File Template"));
        QVERIFY(clip().fileTemplateNames().isEmpty());
        QCOMPARE(QDir(programFile("ClipFiles")).entryList(QDir::Files | QDir::Hidden), QStringList());
        QVERIFY(prompts().errors.isEmpty()); // a failed import only beeps
    }

    void theFilePageOpensItsFilesOneAfterAnother()
    {
        QVERIFY(startClipBook());
        const QString one = makeFile(QStringLiteral("one.txt"), "1");
        const QString two = makeFile(QStringLiteral("two.txt"), "2");
        // The current document, never saved, goes in as "Untitled"; chosen files follow.
        trigger("ClipBookFiles2");
        nameThrough("SpeedButton25", QStringLiteral("Work"));
        trigger("AddToClipBookFiles1");
        prompts().openPaths = {one, two};
        click("SpeedButton14");
        QCOMPARE(clip().filePaths(), (QStringList{QStringLiteral("Untitled"), one, two}));

        // Files dropped on the list are added in the order given, the last one selected.
        QMimeData dropped;
        dropped.setUrls({QUrl::fromLocalFile(two), QUrl::fromLocalFile(one)});
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &dropped, Qt::LeftButton, {});
        QApplication::sendEvent(clip().fileList()->viewport(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &dropped, Qt::LeftButton, {});
        QApplication::sendEvent(clip().fileList()->viewport(), &drop);
        QCOMPARE(clip().filePaths(), (QStringList{QStringLiteral("Untitled"), one, two, two, one}));
        QCOMPARE(clip().currentFile(), 4);
        clip().selectFile(4);
        click("SpeedButton15");
        clip().selectFile(3);
        click("SpeedButton15");
        QCOMPARE(fileBytes(programFile("ClipFiles/Work.fff")), ("Untitled\r\n" + one + "\r\n" + two + "\r\n").toUtf8());

        clip().hide();
        const int before = docs().count();
        trigger("Last1");
        QCOMPARE(docs().count(), before + 1);
        QCOMPARE(docs().current().path, two);
        // Next on the last entry opens nothing and leaves no entry selected; Current then beeps.
        trigger("Next1");
        QCOMPARE(docs().count(), before + 1);
        QCOMPARE(clip().currentFile(), -1);
        trigger("Current1");
        QCOMPARE(docs().count(), before + 1);
        trigger("First1");
        trigger("Next1");
        QCOMPARE(docs().current().path, one);
        trigger("Previous1");
        trigger("Previous1"); // Previous on the first entry
        QCOMPARE(clip().currentFile(), -1);
        QVERIFY(!clip().isVisible()); // walking never shows the window
        // A double-click opens the entry.
        const QRect third = clip().fileList()->visualRect(clip().fileList()->model()->index(2, 0));
        clip().show();
        QTest::mouseClick(clip().fileList()->viewport(), Qt::LeftButton, {}, third.center());
        QTest::mouseDClick(clip().fileList()->viewport(), Qt::LeftButton, {}, third.center());
        QCOMPARE(docs().current().path, two);
    }
};

QTEST_MAIN(TestClipBook)
#include "tst_clipbook.moc"
