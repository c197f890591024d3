#include "windows/aboutwindow.h"

#include "core/colourcontrast.h"
#include "core/pictures.h"
#include "core/prompts.h"
#include "platform/launcher.h"
#include "platform/memorystatus.h"
#include "platform/platform.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

#include <functional>

// The logo is among the library's resources, which a static library must load by name.
static void loadOwnPictures()
{
    Q_INIT_RESOURCE(icons);
}

// The acknowledgements: lines of navy Courier New rising from the bottom, one pixel every 100 ms,
// starting again from the bottom once the last line has gone over the top.
class CreditsBanner : public QWidget
{
public:
    explicit CreditsBanner(QWidget* parent) : QWidget(parent)
    {
        setObjectName(QStringLiteral("Banner2"));
        QFont font(QStringLiteral("Courier New"));
        font.setStyleHint(QFont::Monospace);
        setFont(font);
        setAutoFillBackground(true);
        QPalette colours = palette();
        colours.setColor(QPalette::Window, Qt::white);
        colours.setColor(QPalette::WindowText, QColor(0, 0, 128));
        setPalette(colours);
        m_timer.setInterval(100);
        QObject::connect(&m_timer, &QTimer::timeout, this, [this] { step(); });
    }

    void setLines(const QStringList& lines)
    {
        m_lines = lines;
        m_offset = 0;
        setAccessibleDescription(lines.join(QLatin1Char('\n')));
        update();
    }
    const QStringList& lines() const { return m_lines; }
    void setScrolling(bool on)
    {
        m_scrolling = on;
        on ? m_timer.start() : m_timer.stop();
    }
    bool scrolling() const { return m_scrolling; }
    int offset() const { return m_offset; }
    void step()
    {
        const int travel = height() + int(m_lines.size()) * fontMetrics().height();
        m_offset = m_offset + 1 > travel ? 0 : m_offset + 1;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setPen(palette().color(QPalette::WindowText));
        const int lineHeight = fontMetrics().height();
        int y = height() - m_offset;
        for (const QString& line : m_lines) {
            if (y + lineHeight > 0 && y < height())
                painter.drawText(QRect(4, y, width() - 8, lineHeight), Qt::AlignLeft | Qt::AlignVCenter, line);
            y += lineHeight;
        }
    }

private:
    QStringList m_lines;
    QTimer m_timer;
    int m_offset = 0;
    bool m_scrolling = false;
};

namespace {

// A text that opens something: navy, red under the mouse, purple once used; Enter or Space work
// as a click when it has the focus.
class LinkLabel : public QLabel
{
public:
    LinkLabel(const QString& text, QWidget* parent, std::function<void()> open)
        : QLabel(text, parent), m_open(std::move(open))
    {
        setCursor(Qt::PointingHandCursor);
        setFocusPolicy(Qt::StrongFocus);
        QFont underlined = font();
        underlined.setUnderline(true);
        setFont(underlined);
        paint(QColor(0, 0, 128));
    }

protected:
    void enterEvent(QEnterEvent* event) override
    {
        paint(Qt::red);
        QLabel::enterEvent(event);
    }
    void leaveEvent(QEvent* event) override
    {
        paint(m_used ? QColor(128, 0, 128) : QColor(0, 0, 128));
        QLabel::leaveEvent(event);
    }
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        if (rect().contains(event->position().toPoint()))
            activate();
        QLabel::mouseReleaseEvent(event);
    }
    void keyPressEvent(QKeyEvent* event) override
    {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Space)
            activate();
        else
            QLabel::keyPressEvent(event);
    }

private:
    void activate()
    {
        m_used = true;
        paint(QColor(128, 0, 128));
        m_open();
    }
    void changeEvent(QEvent* event) override
    {
        if (event->type() == QEvent::PaletteChange)
            paint(m_colour);
        QLabel::changeEvent(event);
    }
    // The designed colour, lighter where the desktop's background is dark.
    void paint(const QColor& colour)
    {
        m_colour = colour;
        const QColor readable = colourcontrast::readableOn(colour, palette().color(QPalette::Window));
        if (palette().color(QPalette::WindowText) == readable)
            return;
        QPalette colours = palette();
        colours.setColor(QPalette::WindowText, readable);
        setPalette(colours);
    }

    std::function<void()> m_open;
    QColor m_colour;
    bool m_used = false;
};

// The three panels share one place; each fills it unless it is sliding in.
class PanelStack : public QWidget
{
public:
    using QWidget::QWidget;
    bool sliding = false;

protected:
    void resizeEvent(QResizeEvent* event) override
    {
        QWidget::resizeEvent(event);
        if (sliding)
            return;
        for (QWidget* panel : findChildren<QFrame*>(QString(), Qt::FindDirectChildrenOnly))
            panel->setGeometry(rect());
    }
};

QFrame* makePanel(const char* name, QWidget* parent)
{
    auto* panel = new QFrame(parent);
    panel->setObjectName(QLatin1String(name));
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setAutoFillBackground(true);
    return panel;
}

QPushButton* makeButton(const char* name, const char* caption, QWidget* parent)
{
    auto* button = new QPushButton(QLatin1String(caption), parent);
    button->setObjectName(QLatin1String(name));
    return button;
}

} // namespace

AboutWindow::AboutWindow(QWidget* parent)
    : WindowBase(QStringLiteral("AboutQuillet"), QStringLiteral("About Quillet"), QSize(377, 180), true, parent)
{
    auto* stack = new PanelStack(this);
    stack->setObjectName(QStringLiteral("PanelStack"));

    // Panel1: logo, name and version.
    m_mainPanel = makePanel("Panel1", stack);
    auto* logoPanel = new QFrame(m_mainPanel);
    logoPanel->setObjectName(QStringLiteral("Panel5"));
    m_logo = new QLabel(logoPanel);
    m_logo->setObjectName(QStringLiteral("Image2"));
    m_logo->setAlignment(Qt::AlignCenter);
    (new QVBoxLayout(logoPanel))->addWidget(m_logo);
    auto* textPanel = new QFrame(m_mainPanel);
    textPanel->setObjectName(QStringLiteral("Panel3"));
    auto* name = new QLabel(QStringLiteral("Quillet Std"), textPanel);
    name->setObjectName(QStringLiteral("Label1"));
    QFont big = name->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    name->setFont(big);
    auto* version = new QLabel(QStringLiteral("Version 4.6"), textPanel);
    version->setObjectName(QStringLiteral("Label2"));
    auto* line = new QLabel(QStringLiteral("Many plain-text documents, one editor."), textPanel);
    line->setObjectName(QStringLiteral("Label3"));
    line->setWordWrap(true);
    auto* textLayout = new QVBoxLayout(textPanel);
    textLayout->addWidget(name);
    textLayout->addWidget(version);
    textLayout->addWidget(line);
    textLayout->addStretch();
    m_moreButton = makeButton("BitBtn6", "&More...", m_mainPanel);
    auto* mainLayout = new QGridLayout(m_mainPanel);
    mainLayout->addWidget(logoPanel, 0, 0, 2, 1);
    mainLayout->addWidget(textPanel, 0, 1);
    mainLayout->addWidget(m_moreButton, 1, 1, Qt::AlignRight | Qt::AlignBottom);
    mainLayout->setColumnStretch(1, 1);

    // Panel2: the figures and the links.
    m_infoPanel = makePanel("Panel2", stack);
    m_webSiteLink =
        new LinkLabel(QStringLiteral("Quillet's WebSite"), m_infoPanel, [this] { emit webSiteRequested(); });
    m_webSiteLink->setObjectName(QStringLiteral("Label4"));
    auto* freeLabel = new QLabel(QStringLiteral("Free memory:"), m_infoPanel);
    freeLabel->setObjectName(QStringLiteral("Label5"));
    m_freeMemory = new QLabel(m_infoPanel);
    m_freeMemory->setObjectName(QStringLiteral("Label6"));
    auto* loadLabel = new QLabel(QStringLiteral("System Resources:"), m_infoPanel);
    loadLabel->setObjectName(QStringLiteral("Label7"));
    m_load = new QLabel(m_infoPanel);
    m_load->setObjectName(QStringLiteral("Label8"));
    // Room for the largest figures, so the window is sized for them before they are known.
    m_freeMemory->setMinimumWidth(m_freeMemory->fontMetrics().horizontalAdvance(QStringLiteral("999,999,999,999 KB")));
    m_load->setMinimumWidth(m_load->fontMetrics().horizontalAdvance(QStringLiteral("100 %")));
    m_backButton = makeButton("BitBtn7", "&More...", m_infoPanel);
    m_tipsButton = makeButton("BitBtn2", "Tip of the Day...", m_infoPanel);
    m_acknowledgementsButton = makeButton("BitBtn3", "Acknowledgments", m_infoPanel);
    m_faqButton = makeButton("BitBtn4", "FAQ's   ", m_infoPanel);
    auto* figures = new QGridLayout;
    figures->addWidget(m_webSiteLink, 0, 0, 1, 2);
    figures->addWidget(freeLabel, 1, 0);
    figures->addWidget(m_freeMemory, 1, 1);
    figures->addWidget(loadLabel, 2, 0);
    figures->addWidget(m_load, 2, 1);
    figures->setRowStretch(3, 1);
    auto* infoButtons = new QVBoxLayout;
    for (QPushButton* button : {m_tipsButton, m_acknowledgementsButton, m_faqButton, m_backButton})
        infoButtons->addWidget(button);
    auto* infoLayout = new QHBoxLayout(m_infoPanel);
    infoLayout->addLayout(figures, 1);
    infoLayout->addLayout(infoButtons);

    // Panel4: the acknowledgements.
    m_creditsPanel = makePanel("Panel4", stack);
    auto* thanks = new QLabel(QStringLiteral("The author of Quillet would like to thank:"), m_creditsPanel);
    thanks->setObjectName(QStringLiteral("Label9"));
    m_banner = new CreditsBanner(m_creditsPanel);
    m_creditsCloseButton = makeButton("BitBtn5", "Close", m_creditsPanel);
    auto* creditsLayout = new QGridLayout(m_creditsPanel);
    creditsLayout->addWidget(thanks, 0, 0);
    creditsLayout->addWidget(m_banner, 1, 0);
    creditsLayout->addWidget(m_creditsCloseButton, 1, 1, Qt::AlignBottom);
    creditsLayout->setRowStretch(1, 1);
    creditsLayout->setColumnStretch(0, 1);

    // Outside the panels: the window's icon and the close button.
    auto* iconPanel = new QFrame(this);
    iconPanel->setObjectName(QStringLiteral("IconPanel1"));
    auto* icon = new QLabel(iconPanel);
    icon->setObjectName(QStringLiteral("Image1"));
    icon->setAlignment(Qt::AlignCenter);
    icon->installEventFilter(this);
    m_closeButton = makeButton("BitBtn1", "&Close", iconPanel);
    auto* iconLayout = new QVBoxLayout(iconPanel);
    iconLayout->addWidget(icon, 1);
    iconLayout->addWidget(m_closeButton);
    iconLayout->setContentsMargins(0, 0, 0, 0);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(iconPanel);
    layout->addWidget(stack, 1);
    stack->setMinimumSize(m_infoPanel->sizeHint().expandedTo(m_mainPanel->sizeHint()));
    showOnly(m_mainPanel);

    m_memoryTimer = new QTimer(this);
    m_memoryTimer->setObjectName(QStringLiteral("Timer1"));
    m_memoryTimer->setInterval(10);
    connect(m_memoryTimer, &QTimer::timeout, this, &AboutWindow::refreshMemoryFigures);

    connect(m_moreButton, &QPushButton::clicked, this, [this] { slideIn(m_infoPanel, m_mainPanel); });
    connect(m_backButton, &QPushButton::clicked, this, [this] { slideIn(m_mainPanel, m_infoPanel); });
    connect(m_acknowledgementsButton, &QPushButton::clicked, this, [this] {
        showOnly(m_creditsPanel);
        m_creditsCloseButton->setFocus();
    });
    connect(m_creditsCloseButton, &QPushButton::clicked, this, [this] {
        showOnly(m_mainPanel);
        m_moreButton->setFocus();
    });
    connect(m_tipsButton, &QPushButton::clicked, this, &AboutWindow::tipOfTheDayRequested);
    connect(m_faqButton, &QPushButton::clicked, this, &AboutWindow::faqRequested);
    connect(m_closeButton, &QPushButton::clicked, this, [this] {
        close();
        emit closedToMainWindow();
    });

    m_creditsPath = platform::shippedFile(platform::programDirectory(), QStringLiteral("Data/Credits.dat"));
    m_memoryInfoPath = QStringLiteral("/proc/meminfo");
    refreshMemoryFigures();
}

bool AboutWindow::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate)
        activated();
    return WindowBase::event(event);
}

bool AboutWindow::eventFilter(QObject* watched, QEvent* event)
{
    // A click on the window's icon brings the main panel back.
    if (event->type() == QEvent::MouseButtonRelease && watched->objectName() == QLatin1String("Image1"))
        showOnly(m_mainPanel);
    return WindowBase::eventFilter(watched, event);
}

void AboutWindow::activated()
{
    m_memoryTimer->start();
    refreshMemoryFigures();
    loadLogo();
    // The window's icon, or the logo's while the program has none of its own.
    if (auto* icon = findChild<QLabel*>(QStringLiteral("Image1"))) {
        const QIcon own = windowIcon().isNull() ? ownPicture(QStringLiteral("QuilLogo")) : windowIcon();
        icon->setPixmap(own.pixmap(QSize(32, 32), devicePixelRatioF()));
    }
    loadCredits();
}

void AboutWindow::hideEvent(QHideEvent* event)
{
    m_memoryTimer->stop();
    WindowBase::hideEvent(event);
}

void AboutWindow::keyPressEvent(QKeyEvent* event)
{
    // Esc is the "&Close" button's, as the window's cancel button.
    if (!handleDialogKey(
            event, [] {}, [this] { m_closeButton->click(); }))
        WindowBase::keyPressEvent(event);
}

void AboutWindow::loadLogo()
{
    loadOwnPictures();
    // Drawn at the density of the screen, so it stays sharp where a point is several pixels.
    const QPixmap logo = ownPicture(QStringLiteral("QuilLogo")).pixmap(QSize(64, 64), devicePixelRatioF());
    if (logo.isNull()) {
        platform::beep();
        m_logo->hide();
        return;
    }
    m_logo->setPixmap(logo);
    m_logo->show();
}

void AboutWindow::loadCredits()
{
    QFile file(m_creditsPath);
    if (!file.open(QIODevice::ReadOnly)) {
        m_banner->setScrolling(false);
        // Once a load has failed the acknowledgements stay off for the run.
        m_creditsFailed = true;
        m_acknowledgementsButton->setEnabled(false);
        Prompts::current().warning(QStringLiteral("Unable to open Credits."),
                                   QStringLiteral("Quillet could not locate the Quillet Credits File.\nMake sure a "
                                                  "file called Credits.dat is in the \"Data\" directory."));
        return;
    }
    QString text = QString::fromUtf8(file.readAll());
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QStringList lines = text.split(QLatin1Char('\n'));
    if (text.endsWith(QLatin1Char('\n')))
        lines.removeLast();
    if (text.isEmpty())
        lines.clear();
    m_banner->setLines(lines);
    m_banner->setScrolling(true);
}

void AboutWindow::refreshMemoryFigures()
{
    const platform::MemoryStatus status = platform::readMemoryStatus(m_memoryInfoPath);
    const QString free = status.valid ? formatFreeMemory(status.availableBytes) : QString();
    const QString load = status.valid ? QStringLiteral("%1 %").arg(status.loadPercent) : QString();
    // Set only when changed: the timer runs a hundred times a second.
    if (m_freeMemory->text() != free)
        m_freeMemory->setText(free);
    if (m_load->text() != load)
        m_load->setText(load);
}

QString AboutWindow::formatFreeMemory(qint64 availableBytes)
{
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() & ~QLocale::OmitGroupSeparator);
    return locale.toString(availableBytes / 1024) + QStringLiteral(" KB");
}

QString AboutWindow::freeMemoryText() const
{
    return m_freeMemory->text();
}

QString AboutWindow::loadText() const
{
    return m_load->text();
}

int AboutWindow::shownPanel() const
{
    if (m_infoPanel->isVisibleTo(this))
        return 2;
    if (m_creditsPanel->isVisibleTo(this))
        return 4;
    return 1;
}

QStringList AboutWindow::creditLines() const
{
    return m_banner->lines();
}

bool AboutWindow::creditsScrolling() const
{
    return m_banner->scrolling();
}

int AboutWindow::creditsOffset() const
{
    return m_banner->offset();
}

void AboutWindow::scrollCreditsOnce()
{
    m_banner->step();
}

bool AboutWindow::memoryTimerActive() const
{
    return m_memoryTimer->isActive();
}

void AboutWindow::showOnly(QFrame* panel)
{
    for (QFrame* each : {m_mainPanel, m_infoPanel, m_creditsPanel}) {
        each->setGeometry(each->parentWidget()->rect());
        each->setVisible(each == panel);
    }
    // The acknowledgements have a Close of their own, back to the main panel; two side by side
    // would be one too many.
    m_closeButton->setVisible(panel != m_creditsPanel);
}

void AboutWindow::slideIn(QFrame* arriving, QFrame* leaving)
{
    auto* stack = static_cast<PanelStack*>(arriving->parentWidget());
    stack->sliding = true;
    const QRect place = stack->rect();
    leaving->setGeometry(place);
    arriving->setGeometry(place.translated(0, -place.height()));
    arriving->show();
    arriving->raise();
    // From above the window down into place, one pixel at a time, the window kept answering.
    for (int y = -place.height(); y <= 0; ++y) {
        arriving->move(place.left(), place.top() + y);
        if (SlideStepMs > 0)
            QThread::msleep(SlideStepMs);
        QCoreApplication::processEvents();
        repaint();
    }
    leaving->hide();
    stack->sliding = false;
    showOnly(arriving);
    (arriving == m_infoPanel ? m_backButton : m_moreButton)->setFocus();
}
