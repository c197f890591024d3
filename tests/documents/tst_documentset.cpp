// The document set's lists and operations, against a recording host with no widgets.

#include "core/commanderror.h"
#include "documents/documentset.h"
#include "support/documentcolumns.h"

#include <QHash>
#include <QTest>

namespace {

class FakeHost : public DocumentHost
{
public:
    // The editor: the shown text, its changed flag and caret.
    QByteArray editorText;
    bool editorFlag = false;
    qint64 caret = 0;
    QHash<QString, QByteArray> stores;
    int storeCounter = 0;

    QStringList tabs;
    QList<int> pictures;
    int tabIndex = -1;
    bool statusModified = false;
    QString tabHint, editorHint, title, saveName;
    QStringList docList;
    int docListSelected = -2;

    bool failStoreFiles = false;
    QString createStoreFile() override
    {
        if (failStoreFiles)
            throw CommandError(QStringLiteral("no temporary folder"));
        const QString name = QStringLiteral("txt%1").arg(++storeCounter);
        stores.insert(name, QByteArray());
        return name;
    }
    qint64 editorSelStart() const override { return caret; }
    void editorStash(const QString& storeFile) override
    {
        stores[storeFile] = editorText;
        editorText.clear();
        caret = 0;
    }
    void editorShow(const QString& storeFile) override { editorText = stores.value(storeFile); }
    bool editorModifiedFlag() const override { return editorFlag; }
    void editorClearModifiedFlag() override { editorFlag = false; }
    void editorSetCaret(qint64 pos) override { caret = pos; }
    void editorClear() override
    {
        editorText.clear();
        caret = 0;
    }
    QStringList dropped;
    void storeFileDropped(const QString& storeFile) override { dropped.append(storeFile); }
    void tabRemoved(int index) override
    {
        tabs.removeAt(index);
        pictures.removeAt(index);
    }
    void tabAppended(const QString& caption) override
    {
        tabs.append(caption);
        pictures.append(0);
    }
    void tabIndexChanged(int index) override { tabIndex = index; }
    void tabModifiedChanged(int index, bool modified) override { pictures[index] = modified ? 1 : 0; }
    void tabCaptionChanged(int index, const QString& caption) override { tabs[index] = caption; }
    void statusModifiedChanged(bool modified) override { statusModified = modified; }
    void tabHintChanged(const QString& hint) override { tabHint = hint; }
    void editorHintChanged(const QString& hint) override { editorHint = hint; }
    void titleDocumentTextChanged(const QString& text) override { title = text; }
    void saveDialogFileNameChanged(const QString& name) override { saveName = name; }
    void documentListChanged(const QStringList& captions, int selected) override
    {
        docList = captions;
        docListSelected = selected;
    }

    // A person typing: the key goes down (seen by the set), then changes the text.
    void type(DocumentSet& set, const QByteArray& text)
    {
        for (char c : text) {
            set.editorKeyDown();
            editorText.insert(caret, c);
            ++caret;
            editorFlag = true;
        }
    }
};

// A set holding its first document, as the main window creates it.
void startSet(DocumentSet& set, FakeHost& host)
{
    set.beginDocument(UntitledName, QString());
    set.completeDocument();
    Q_UNUSED(host);
}

void checkInvariants(const DocumentSet& set, const FakeHost& host)
{
    const int n = set.count();
    QVERIFY(n >= 1);
    QCOMPARE(displayPathsOf(set).size(), n);
    QCOMPARE(storeFilesOf(set).size(), n);
    QCOMPARE(caretsOf(set).size(), n);
    QCOMPARE(modifiedWordsOf(set).size(), n);
    QCOMPARE(host.tabs, captionsOf(set));
    QCOMPARE(host.tabIndex, set.currentIndex());
    QVERIFY(set.currentIndex() >= 0 && set.currentIndex() < n);
    for (int i = 0; i < n; ++i) {
        QVERIFY(storeFilesOf(set)[i] != QString());
        QVERIFY(set.storeFilesMade().contains(storeFilesOf(set)[i]));
    }
}

} // namespace

class TestDocumentSet : public QObject
{
    Q_OBJECT

private slots:
    void firstDocumentIsUntitledAndUnmodified()
    {
        FakeHost host;
        DocumentSet set(host);
        startSet(set, host);
        checkInvariants(set, host);
        QCOMPARE(set.count(), 1);
        QCOMPARE(set.currentDisplayPath(), QStringLiteral("Untitled"));
        QCOMPARE(caretsOf(set), QList<qint64>{0});
        QCOMPARE(modifiedWordsOf(set), QStringList{QStringLiteral("Not Modified")});
        QCOMPARE(set.currentTabHint(), QStringLiteral("Untitled - Not Modified"));
    }

    void newTwiceGivesTwoUntitledDocumentsWithOwnStoreFiles()
    {
        FakeHost host;
        DocumentSet set(host);
        startSet(set, host);
        host.type(set, "first");
        set.newDocument();
        checkInvariants(set, host);
        QCOMPARE(host.stores.value(storeFilesOf(set)[0]), QByteArray("first"));
        QVERIFY(host.editorText.isEmpty());
        // The selector's list selects the new document, which is current.
        QCOMPARE(host.docListSelected, 1);
        set.newDocument();
        checkInvariants(set, host);
        QCOMPARE(set.count(), 3);
        QCOMPARE(captionsOf(set), (QStringList{UntitledName, UntitledName, UntitledName}));
        QCOMPARE(set.currentIndex(), 2);
        const QStringList stores = storeFilesOf(set);
        QCOMPARE(stores.size(), QSet<QString>(stores.begin(), stores.end()).size());
        QCOMPARE(host.title, QStringLiteral(" - Untitled"));
        QVERIFY(!host.statusModified);
    }

    void nextAndPreviousStopAtTheEnds()
    {
        FakeHost host;
        DocumentSet set(host);
        startSet(set, host);
        set.newDocument();
        set.newDocument();
        const auto stashesBefore = host.stores;
        set.nextDocument(); // already last
        QCOMPARE(set.currentIndex(), 2);
        set.previousDocument();
        set.previousDocument();
        QCOMPARE(set.currentIndex(), 0);
        set.previousDocument(); // already first
        QCOMPARE(set.currentIndex(), 0);
        checkInvariants(set, host);
        set.nextDocument();
        QCOMPARE(set.currentIndex(), 1);
        checkInvariants(set, host);
        Q_UNUSED(stashesBefore);
    }

    void switchingKeepsTextAndCaretPerDocument()
    {
        FakeHost host;
        DocumentSet set(host);
        startSet(set, host);
        host.type(set, "hello world");
        host.caret = 5;
        set.newDocument();
        host.type(set, "second");
        set.switchTo(0);
        QCOMPARE(host.editorText, QByteArray("hello world"));
        QCOMPARE(host.caret, 5);
        QCOMPARE(caretsOf(set)[1], 6);
        set.switchTo(1);
        QCOMPARE(host.editorText, QByteArray("second"));
        QCOMPARE(host.caret, 6);
        QCOMPARE(host.title, QStringLiteral(" - Untitled"));
        QCOMPARE(host.saveName, QStringLiteral("Untitled"));
        QCOMPARE(host.docList, captionsOf(set));
        QCOMPARE(host.docListSelected, 1);
    }

    void keyPressesMarkModifiedOnlyAfterAChange()
    {
        FakeHost host;
        DocumentSet set(host);
        startSet(set, host);
        set.newDocument();

        // The first key is seen before it changes anything.
        host.type(set, "a");
        QCOMPARE(modifiedWordsOf(set)[1], NotModifiedWord);
        QVERIFY(!host.statusModified);
        // The second sees the changed flag.
        host.type(set, "b");
        QCOMPARE(modifiedWordsOf(set)[1], ModifiedWord);
        QVERIFY(host.statusModified);
        QCOMPARE(host.pictures, (QList<int>{0, 1}));

        // Away and back: still modified, text kept.
        set.switchTo(0);
        QVERIFY(!host.statusModified);
        set.switchTo(1);
        QVERIFY(host.statusModified);
        QCOMPARE(host.editorText, QByteArray("ab"));
        QCOMPARE(set.currentTabHint(), QStringLiteral("Untitled - Modified"));
    }

    void aChangeTheKeysDidNotReportIsKeptWhenTheDocumentIsLeftOrClosed()
    {
        FakeHost host;
        DocumentSet set(host);
        startSet(set, host);
        // One key: seen before it changes anything, so only the editor knows.
        host.type(set, "x");
        QCOMPARE(modifiedWordsOf(set)[0], NotModifiedWord);
        set.newDocument();
        QCOMPARE(modifiedWordsOf(set), (QStringList{ModifiedWord, NotModifiedWord}));
        QCOMPARE(host.pictures, (QList<int>{1, 0}));

        // Text pasted with the mouse, dropped or put in by a command: no key at all.
        host.editorText = "pasted";
        host.editorFlag = true;
        set.switchTo(0);
        QCOMPARE(modifiedWordsOf(set), (QStringList{ModifiedWord, ModifiedWord}));
        QVERIFY(host.statusModified);

        // Closing asks about such a change too.
        set.switchTo(1);
        set.setCurrentModified(false); // as after a save
        host.editorText += " more";
        host.editorFlag = true;
        QStringList asked;
        QVERIFY_THROWS_EXCEPTION(QuietEnd, set.closeDocument([&asked](const QString& text) {
            asked.append(text);
            return Answer::Cancel;
        }));
        QCOMPARE(asked, QStringList{CloseModifiedQuestion});
        QCOMPARE(set.count(), 2);
    }

    void markCurrentModifiedRefreshesPictures()
    {
        FakeHost host;
        DocumentSet set(host);
        startSet(set, host);
        set.newDocument();
        set.markCurrentModified();
        QCOMPARE(host.pictures, (QList<int>{0, 1}));
        QVERIFY(host.statusModified);
        set.switchTo(0);
        set.markCurrentModified();
        QCOMPARE(host.pictures, (QList<int>{1, 1}));
    }

    void registerGrowsWithEveryStoreFile()
    {
        FakeHost host;
        DocumentSet set(host);
        startSet(set, host);
        set.newDocument();
        set.newDocument();
        QCOMPARE(set.storeFilesMade().size(), 3);
        QCOMPARE(set.storeFilesMade(), storeFilesOf(set));
        set.beginDocument(QStringLiteral("a.txt"), QStringLiteral("/x/a.txt"));
        set.completeDocument();
        QCOMPARE(set.storeFilesMade().size(), 4);
        checkInvariants(set, host);
        QCOMPARE(set.currentTabHint(), QStringLiteral("/x/a.txt - Not Modified"));
    }

    void aDocumentWithoutAStoreFileIsNotAdded()
    {
        FakeHost host;
        DocumentSet set(host);
        startSet(set, host);
        host.type(set, "kept");
        host.failStoreFiles = true;
        QVERIFY_THROWS_EXCEPTION(CommandError, set.newDocument());
        checkInvariants(set, host);
        QCOMPARE(set.count(), 1);
        // The current document was stashed for the new one and is shown again.
        QCOMPARE(host.editorText, QByteArray("kept"));
        QCOMPARE(host.stores.value(storeFilesOf(set)[0]), QByteArray("kept"));
    }

    void switchToTheCurrentOrAMissingTabDoesNothing()
    {
        FakeHost host;
        DocumentSet set(host);
        startSet(set, host);
        host.type(set, "keep");
        set.switchTo(0);
        set.switchTo(5);
        set.switchTo(-1);
        QCOMPARE(host.editorText, QByteArray("keep"));
        QCOMPARE(host.stores.value(storeFilesOf(set)[0]), QByteArray());
    }
};

// Answers questions from a script and records them.
struct ScriptedAnswers
{
    QList<Answer> answers;
    QStringList asked;
    AskQuestion ask()
    {
        return [this](const QString& text) {
            asked.append(text);
            return answers.isEmpty() ? Answer::Cancel : answers.takeFirst();
        };
    }
};

// Documents "A", "B", "C" (captions and paths), C current; `modified` names the modified ones.
void threeDocuments(DocumentSet& set, FakeHost& host, const QString& modified)
{
    set.beginDocument(QStringLiteral("A"), QStringLiteral("/d/A"));
    set.completeDocument();
    host.editorText = "text A";
    for (const QString& name : {QStringLiteral("B"), QStringLiteral("C")}) {
        set.stashCurrentDocument();
        set.beginDocument(name, QStringLiteral("/d/") + name);
        set.completeDocument();
        host.editorText = "text " + name.toLatin1();
    }
    for (int i = 0; i < 3; ++i)
        if (modified.contains(captionsOf(set)[i])) {
            set.switchTo(i);
            set.markCurrentModified();
        }
}

class TestClosing : public QObject
{
    Q_OBJECT

private slots:
    void closingTheOnlyModifiedDocumentAnsweredNoKeepsIt()
    {
        FakeHost host;
        DocumentSet set(host);
        startSet(set, host);
        host.editorText = "keep me";
        set.markCurrentModified();
        ScriptedAnswers script{{Answer::No}, {}};
        set.closeDocument(script.ask());
        QCOMPARE(script.asked, QStringList{CloseModifiedQuestion});
        QCOMPARE(set.count(), 1);
        QCOMPARE(host.editorText, QByteArray("keep me"));
        QVERIFY(set.isModified(0));
        QVERIFY(host.statusModified);
    }

    void closingTheOnlyModifiedDocumentAnsweredYesLeavesABlankOne()
    {
        FakeHost host;
        DocumentSet set(host);
        set.beginDocument(QStringLiteral("a.txt"), QStringLiteral("/d/a.txt"));
        set.completeDocument();
        host.editorText = "gone";
        set.markCurrentModified();
        const QString oldStore = storeFilesOf(set)[0];
        ScriptedAnswers script{{Answer::Yes}, {}};
        set.closeDocument(script.ask());
        checkInvariants(set, host);
        QCOMPARE(set.count(), 1);
        QCOMPARE(set.currentDisplayPath(), UntitledName);
        QCOMPARE(set.currentCaption(), UntitledName);
        QVERIFY(!set.isModified(0));
        QVERIFY(host.editorText.isEmpty());
        QVERIFY(storeFilesOf(set)[0] != oldStore);
        // The closed document's store file stays registered until the program ends.
        QVERIFY(set.storeFilesMade().contains(oldStore));
        QCOMPARE(host.title, QStringLiteral(" - Untitled"));
    }

    void closingTheOnlyUnmodifiedDocumentChangesNothing()
    {
        FakeHost host;
        DocumentSet set(host);
        set.beginDocument(QStringLiteral("a.txt"), QStringLiteral("/d/a.txt"));
        set.completeDocument();
        host.editorText = "text";
        ScriptedAnswers script;
        set.closeDocument(script.ask());
        QVERIFY(script.asked.isEmpty());
        QCOMPARE(set.currentDisplayPath(), QStringLiteral("/d/a.txt"));
        QCOMPARE(host.editorText, QByteArray("text"));
    }

    void closingAnUnmodifiedMiddleDocumentMakesTheLastCurrent()
    {
        FakeHost host;
        DocumentSet set(host);
        threeDocuments(set, host, QString());
        set.switchTo(1);
        ScriptedAnswers script;
        set.closeDocument(script.ask());
        QVERIFY(script.asked.isEmpty());
        checkInvariants(set, host);
        QCOMPARE(captionsOf(set), (QStringList{"A", "C"}));
        QCOMPARE(set.currentIndex(), 1);
        QCOMPARE(host.editorText, QByteArray("text C"));
        QCOMPARE(host.title, QStringLiteral(" - C"));
        QCOMPARE(host.docList, captionsOf(set));
    }

    void closingAModifiedFirstDocumentWithYesEndsQuietlyOnTheLast()
    {
        FakeHost host;
        DocumentSet set(host);
        threeDocuments(set, host, QStringLiteral("A"));
        set.switchTo(0);
        ScriptedAnswers script{{Answer::Yes}, {}};
        QVERIFY_THROWS_EXCEPTION(QuietEnd, set.closeDocument(script.ask()));
        checkInvariants(set, host);
        QCOMPARE(captionsOf(set), (QStringList{"B", "C"}));
        QCOMPARE(set.currentCaption(), QStringLiteral("C"));
        QCOMPARE(host.editorText, QByteArray("text C"));
    }

    void closingAModifiedDocumentAnsweredCancelOrNoKeepsEverything()
    {
        FakeHost host;
        DocumentSet set(host);
        threeDocuments(set, host, QStringLiteral("B"));
        set.switchTo(1);
        ScriptedAnswers script{{Answer::Cancel, Answer::No}, {}};
        QVERIFY_THROWS_EXCEPTION(QuietEnd, set.closeDocument(script.ask()));
        set.closeDocument(script.ask()); // No: not quiet
        QCOMPARE(script.asked.size(), 2);
        QCOMPARE(captionsOf(set), (QStringList{"A", "B", "C"}));
        QCOMPARE(set.currentCaption(), QStringLiteral("B"));
        QCOMPARE(host.editorText, QByteArray("text B"));
        QVERIFY(set.isModified(1));
    }

    void closeAllAnsweredYesLeavesOneBlankDocumentAndAsksOnce()
    {
        FakeHost host;
        DocumentSet set(host);
        threeDocuments(set, host, QStringLiteral("AC"));
        set.newDocument();
        set.newDocument();
        set.markCurrentModified();
        QCOMPARE(set.count(), 5);
        const QStringList registerBefore = set.storeFilesMade();
        ScriptedAnswers script{{Answer::Yes}, {}};
        set.closeAll(script.ask());
        QCOMPARE(script.asked, QStringList{CloseAllQuestion});
        checkInvariants(set, host);
        QCOMPARE(set.count(), 1);
        QCOMPARE(set.currentDisplayPath(), UntitledName);
        QVERIFY(!set.isModified(0));
        QVERIFY(host.editorText.isEmpty());
        QCOMPARE(host.editorHint, UntitledName);
        QCOMPARE(host.title, QStringLiteral(" - Untitled"));
        // Every closed document's kept text is released; their store files stay registered.
        QCOMPARE(host.dropped.size(), 5);
        for (const QString& file : registerBefore)
            QVERIFY(set.storeFilesMade().contains(file));
    }

    void closeAllAnsweredNoOrCancel()
    {
        FakeHost host;
        DocumentSet set(host);
        threeDocuments(set, host, QStringLiteral("B"));
        ScriptedAnswers script{{Answer::No, Answer::Cancel}, {}};
        set.closeAll(script.ask());
        QCOMPARE(set.count(), 3);
        QVERIFY_THROWS_EXCEPTION(QuietEnd, set.closeAll(script.ask()));
        QCOMPARE(set.count(), 3);
        QCOMPARE(host.editorText, QByteArray("text B"));
    }
};

int main(int argc, char** argv)
{
    TestDocumentSet documents;
    TestClosing closing;
    return QTest::qExec(&documents, argc, argv) | QTest::qExec(&closing, argc, argv);
}

#include "tst_documentset.moc"
