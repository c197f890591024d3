#include "settings/tipstore.h"

#include <QRandomGenerator>

const QString TipStore::UpdateTip =
    QStringLiteral("A Tip Update is included in the Misc Directory, simply execute 'Tips.reg' and be greeted with "
                   "over 60 Tips when you start Quillet. Enjoy!");

QStringList TipStore::builtInTips()
{
    return {
        QStringLiteral("Every open document has a tab of its own. F7 goes to the next document; a click on a tab "
                       "goes straight to it."),
        QStringLiteral("Ctrl+D shows the Document Selector: every open document in one list, to switch to, "
                       "close or start new ones from."),
        QStringLiteral("The ClipBook (Ctrl+B) keeps named templates of text you type again and again. A "
                       "double-click puts an item into your document."),
        QStringLiteral("Select \"Name<!>text\" and choose Tools, Add To ClipBook: the ClipBook gets an item called "
                       "Name holding the text."),
        QStringLiteral("ClipBook Files (Ctrl+F) keeps lists of favourite files. Open a whole list at once to get "
                       "back to a piece of work."),
        QStringLiteral("F5 inserts the date and time in the format you chose in the options; a click on the "
                       "clock of the status bar does the same."),
        QStringLiteral("Write .LOG as the first line of a document, and every time you open it the date and time "
                       "are added at its end, ready for a new entry."),
        QStringLiteral("Save All (Ctrl+Shift+A) saves every modified document that has a file name."),
        QStringLiteral("With backups on, every save also copies the file to the Backup folder below the program "
                       "directory as <name>.BAK."),
        QStringLiteral("Quillet keeps a copy of every unsaved document while you work. If the program or the "
                       "machine goes down, the next start opens them again."),
        QStringLiteral("When another program changes a file you have open, the tab says so and Quillet asks "
                       "whether to load the new version."),
        QStringLiteral("Ctrl+W turns word wrap on and off; the last panel of the status bar shows W-W while it is "
                       "on, and a click on it toggles it too."),
        QStringLiteral("Ctrl+G goes to a line by its number, as the status bar counts lines."),
        QStringLiteral("The Selection menu changes the selected text: upper or lower case, reversed, tabs to "
                       "spaces, line breaks made even, or OEM and ANSI characters converted."),
        QStringLiteral("File, Export saves the document with UNIX (LF) or MAC (CR) line ends; an ordinary save "
                       "always writes CR LF."),
        QStringLiteral("Ctrl+Shift+C counts the words of the current document."),
        QStringLiteral("Select a web address, a mail address or a file name and press Ctrl+L: Quillet opens it "
                       "with the desktop's own program."),
        QStringLiteral("Without a printer, Ctrl+P writes the document as a PDF file named after it, and the status "
                       "bar tells you where."),
        QStringLiteral("Close the window while the tray icon is on and Quillet only hides; the tray icon brings it "
                       "back. Start it with /MiniTray to begin there."),
        QStringLiteral("Options, Configure makes Quillet the program for text documents, puts it in the "
                       "applications menu, on the desktop or in the file manager's Open With, and can start it "
                       "when you log in."),
        QStringLiteral("Quillet opens any file byte for byte: other encodings, NUL bytes and very long lines are "
                       "saved back unchanged; only the line ends become CR LF."),
        QStringLiteral("Drop files from the file manager onto the editor to open each of them in a tab of its "
                       "own."),
        QStringLiteral("Add your own tips: click Add Tip, type one, and press Enter. Remove Tip takes out the one "
                       "you selected."),
    };
}

TipStore::TipStore() : m_tips(builtInTips()), m_random([] { return QRandomGenerator::global()->generate(); })
{}

void TipStore::ensureNotEmpty()
{
    if (m_tips.isEmpty())
        m_tips.append(UpdateTip);
}

bool TipStore::pick(QString& tip)
{
    const qsizetype n = m_tips.size();
    m_current = n > 0 ? quint16(m_random() % quint32(n)) : 0;
    tip.clear();
    if (m_current >= n)
        return false;
    tip = m_tips.at(m_current);
    return true;
}

bool TipStore::remove(qsizetype index)
{
    if (index < 0 || index >= m_tips.size())
        return false;
    m_tips.removeAt(index);
    return true;
}
