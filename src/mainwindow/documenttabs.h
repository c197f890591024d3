#pragma once
// The document tab strip: owner-drawn tabs, each with one of two pictures (unmodified,
// modified) 6 pixels from its left edge and its caption centred; the selected tab draws its
// caption in its own font. The editor sits below the tabs.

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
    int picture(int index) const;
    static QPixmap pictureImage(int picture);

signals:
    // The user chose another tab (click, wheel or keys); the document set performs the switch.
    void tabChosen(int index);
    void mouseMoved();

protected:
    void paintEvent(QPaintEvent* event) override;
    QSize tabSizeHint(int index) const override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    QFont m_selectedFont;
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
    int tabIndex() const { return m_tabs->currentIndex(); }
    void setCaption(int index, const QString& caption);
    void removeTab(int index);

private:
    DocumentTabBar* m_tabs;
    QVBoxLayout* m_layout;
    bool m_moving = false;
};
