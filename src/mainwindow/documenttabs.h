#pragma once
// The document tab strip: owner-drawn tabs, each with one of two pictures (unmodified,
// modified) 6 pixels from its left edge and its caption centred; the selected tab draws its
// caption in its own font. The editor sits below the tabs.

#include <QHash>
#include <QList>
#include <QPixmap>
#include <QTabBar>
#include <QWidget>

class EditorView;
class QVBoxLayout;

class DocumentTabBar : public QTabBar
{
    Q_OBJECT

public:
    enum Picture { UnmodifiedPicture, ModifiedPicture };

    explicit DocumentTabBar(QWidget* parent = nullptr);

    void setPicture(int index, int picture);
    // Changes a tab's caption (the only way captions change once a tab is added).
    void setCaption(int index, const QString& caption);
    int picture(int index) const;
    static QPixmap pictureImage(int picture);

signals:
    // The user chose another tab (click, wheel or keys); the document set performs the switch.
    void tabChosen(int index);
    void mouseMoved();

protected:
    void paintEvent(QPaintEvent* event) override;
    QSize tabSizeHint(int index) const override;
    // Captions are never elided: the smallest size of a tab is its size.
    QSize minimumTabSizeHint(int index) const override { return tabSizeHint(index); }
    void tabInserted(int index) override;
    void tabRemoved(int index) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    int captionWidth(const QString& caption, bool selected) const;

    QFont m_selectedFont;
    // The strip asks every tab's size each time a tab is added or chosen, and the document set
    // sets every tab's picture after each open; measuring every caption again (or reading every
    // tab's data) each time made opening many files cost the square of their number. Each tab's
    // picture and caption width (-1: not measured yet) are kept in step with the tabs, the
    // selected tab's width by caption, the height once, until the font or style changes.
    struct TabState
    {
        int picture = UnmodifiedPicture;
        int captionWidth = -1;
    };
    mutable QList<TabState> m_states;
    mutable QHash<QString, int> m_selectedWidths;
    mutable int m_tabHeight = -1;
    QPixmap m_pictures[2]; // drawn at the first paint
};

class DocumentTabs : public QWidget
{
    Q_OBJECT

public:
    explicit DocumentTabs(QWidget* parent = nullptr);

    DocumentTabBar* tabs() const { return m_tabs; }
    void setEditor(QWidget* editor);

    // Programmatic moves never report tabChosen.
    void appendTab(const QString& caption);
    void setTabIndex(int index);
    int tabIndex() const { return m_heldIndex >= 0 ? m_heldIndex : m_tabs->currentIndex(); }
    // While held, a new tab index is only remembered and the strip chooses it when the hold ends:
    // each choice lays out every tab again, which many files opened at once need only once.
    void holdTabIndex(bool hold);
    void setCaption(int index, const QString& caption);
    void removeTab(int index);

private:
    void chooseHeldIndex();

    DocumentTabBar* m_tabs;
    QVBoxLayout* m_layout;
    bool m_moving = false;
    bool m_holding = false;
    int m_heldIndex = -1;
};
