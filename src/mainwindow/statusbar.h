#pragma once
// The main window's status bar: six painted panels (clock, line:column, modified, INS/OVR,
// messages and hints, word wrap), then the document's encoding, an optional size grip, and the
// save progress bar over the message panel. The panels' widths are the stored ones; a bar too
// narrow for them all gives up the message panel's room first, then leaves out whole panels, so
// no panel is ever drawn over another or past the bar's end.

#include <QList>
#include <QStatusBar>
#include <QString>

class QProgressBar;

// The panel under x, or -1 on a border or beyond the last panel. Panel 0 starts at 0, each later
// panel 2 pixels after the running sum of the widths before it; a panel covers the positions
// strictly between its start and the running sum including its own width.
int statusPanelAt(const QList<int>& widths, int x);

class StatusBar : public QStatusBar
{
    Q_OBJECT

public:
    // The panels, left to right: the six designed ones (the ones stored), then the encoding.
    enum Panel { Clock, CaretPosition, ModifiedState, InsertMode, Message, WordWrap, Encoding, PanelCount };
    static constexpr int DesignedPanelCount = Encoding;

    // Pause after each progress step of a save, in milliseconds (tests and benchmarks set 0).
    static inline int StepPauseMs = 20;

    explicit StatusBar(QWidget* parent = nullptr);

    QString panelText(int panel) const { return m_texts.value(panel); }
    void setPanelText(int panel, const QString& text);
    int panelWidth(int panel) const { return m_widths.value(panel); }
    void setPanelWidth(int panel, int width);
    const QList<int>& panelWidths() const { return m_widths; }
    // Left edge of a panel, by the same arithmetic as statusPanelAt.
    int panelLeft(int panel) const;
    // Where a panel is drawn (its stored place while every panel fits); empty when left out.
    QRect panelRect(int panel) const;

    bool sizeGrip() const { return isSizeGripEnabled(); }
    void setSizeGrip(bool on);

    // The message panel: hints, welcome and completion messages.
    void setMessage(const QString& text) { setPanelText(Message, text); }

    QProgressBar* progressBar() const { return m_progress; }
    void createProgressBar();
    void showProgress();
    void hideProgress();
    // Shows `position` (0..100) and keeps it on screen a moment, so every save is seen to happen.
    void progressStep(int position);

    QSize sizeHint() const override;

signals:
    // The message panel says something else (progress, a note, a hint).
    void messageChanged(const QString& text);
    void panelHovered(int panel);
    void panelReleased(int panel);
    void resized();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // The widths as drawn: the stored ones fitted into the bar, the last reaching its end; the
    // mouse finds panels by them too.
    void fitPanels();
    // A panel's width before fitting: its stored one, or more where its text needs it.
    int shownWidth(int panel) const;

    QList<int> m_widths;
    QList<int> m_shownWidths;
    QList<Qt::Alignment> m_alignments;
    QStringList m_texts;
    QProgressBar* m_progress = nullptr;
};
