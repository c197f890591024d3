#pragma once
// About Quillet: created at start, hidden until asked for. Three panels in one place, one shown at
// a time: the logo, name and version (Panel1); the live memory figures with the links to the
// web site, the tips, the acknowledgements and the FAQ (Panel2); the scrolling credits, read from
// "Data/Credits.dat" at every activation (Panel4). The links reach the main window through the
// window's signals.

#include "windows/windowbase.h"

class QFrame;
class QLabel;
class QPushButton;
class QTimer;
class CreditsBanner;

class AboutWindow : public WindowBase
{
    Q_OBJECT

public:
    // The pause per pixel of the "&More..." slide; tests make it 0.
    static inline int SlideStepMs = 5;

    explicit AboutWindow(QWidget* parent = nullptr);

    // Where the credits and the memory figures are read; by default the shipped credits file
    // below the program directory and /proc/meminfo.
    void setCreditsPath(const QString& path) { m_creditsPath = path; }
    void setMemoryInfoPath(const QString& path) { m_memoryInfoPath = path; }

    // Reads the memory status again and shows it.
    void refreshMemoryFigures();
    QString freeMemoryText() const;
    QString loadText() const;
    // "262,144 KB" for 262144 KiB available: grouped as the user's locale groups digits.
    static QString formatFreeMemory(qint64 availableBytes);

    // The panel shown: 1 (main), 2 (information) or 4 (acknowledgements).
    int shownPanel() const;
    QStringList creditLines() const;
    bool creditsScrolling() const;
    int creditsOffset() const;
    void scrollCreditsOnce();
    bool memoryTimerActive() const;

    QPushButton* moreButton() const { return m_moreButton; }
    QPushButton* backButton() const { return m_backButton; }
    QPushButton* tipsButton() const { return m_tipsButton; }
    QPushButton* acknowledgementsButton() const { return m_acknowledgementsButton; }
    QPushButton* faqButton() const { return m_faqButton; }
    QPushButton* creditsCloseButton() const { return m_creditsCloseButton; }
    QPushButton* closeButton() const { return m_closeButton; }
    QLabel* webSiteLink() const { return m_webSiteLink; }

signals:
    void tipOfTheDayRequested();
    void faqRequested();
    void webSiteRequested();
    // "&Close": the main window comes to the front.
    void closedToMainWindow();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void activated();
    void loadLogo();
    void loadCredits();
    void slideIn(QFrame* arriving, QFrame* leaving);
    void showOnly(QFrame* panel);

    QFrame* m_mainPanel = nullptr;
    QFrame* m_infoPanel = nullptr;
    QFrame* m_creditsPanel = nullptr;
    QLabel* m_logo = nullptr;
    QLabel* m_webSiteLink = nullptr;
    QLabel* m_freeMemory = nullptr;
    QLabel* m_load = nullptr;
    CreditsBanner* m_banner = nullptr;
    QPushButton* m_moreButton = nullptr;
    QPushButton* m_backButton = nullptr;
    QPushButton* m_tipsButton = nullptr;
    QPushButton* m_acknowledgementsButton = nullptr;
    QPushButton* m_faqButton = nullptr;
    QPushButton* m_creditsCloseButton = nullptr;
    QPushButton* m_closeButton = nullptr;
    QTimer* m_memoryTimer = nullptr;
    QString m_creditsPath;
    QString m_memoryInfoPath;
    bool m_creditsFailed = false;
};
