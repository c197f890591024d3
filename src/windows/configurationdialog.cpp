#include "windows/configurationdialog.h"

#include "core/commandguard.h"
#include "settings/storedprops.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QEventLoop>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

ConfigurationDialog::ConfigurationDialog(QWidget* parent)
    : WindowBase(QStringLiteral("Config1"), QStringLiteral("Quillet Configuration"), QSize(329, 143), true, parent,
                 {QStringLiteral("Config"),
                  WindowSettings::ShowState | WindowSettings::Position | WindowSettings::FocusedControl})
{
    setWindowFlag(Qt::WindowStaysOnTopHint);
    m_programDirectoryLabel = new QLabel(this);
    m_programDirectoryLabel->setObjectName(QStringLiteral("DirectoryListBox1"));
    m_programDirectoryLabel->hide();

    auto box = [this](const char* name, const char* caption, const char* meaning) {
        auto* check = new QCheckBox(QLatin1String(caption), this);
        check->setObjectName(QLatin1String(name));
        // What the box does on this desktop, which its Windows-era caption does not say.
        check->setToolTip(QLatin1String(meaning));
        return check;
    };
    m_defaultForText = box("CheckBox1", "Default Program for Text Documents",
                           "Text documents open in Quillet (the default application for text/plain)");
    m_sendTo = box("CheckBox2", "Place Icon in Send To Menu", "Offer Quillet in the file manager's \"Open With\"");
    m_loadAtStart = box("CheckBox5", "Load Quillet with Windows",
                        "Start Quillet in the notification area when you log in (autostart)");
    m_startMenu = box("CheckBox3", "Place Icon in Start Menu", "Show Quillet in the applications menu");
    m_desktop = box("CheckBox4", "Place Icon on Desktop", "Put a Quillet icon on the desktop");
    m_okButton = new QPushButton(QStringLiteral("OK"), this);
    m_okButton->setObjectName(QStringLiteral("BitBtn1"));
    m_okButton->setDefault(true);
    m_okButton->setAutoDefault(true);
    m_cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    m_cancelButton->setObjectName(QStringLiteral("BitBtn2"));

    auto* boxes = new QVBoxLayout;
    for (QCheckBox* check : {m_defaultForText, m_sendTo, m_loadAtStart, m_startMenu, m_desktop})
        boxes->addWidget(check);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_okButton);
    buttons->addWidget(m_cancelButton);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(boxes, 1);
    layout->addLayout(buttons);

    connect(m_okButton, &QPushButton::clicked, this, &ConfigurationDialog::pressOk);
    connect(m_cancelButton, &QPushButton::clicked, this, &QWidget::close);

    m_applier = [](const DesktopChoices& choices) {
        return applyDesktopChoices(choices, QCoreApplication::applicationFilePath());
    };

    using namespace storedprops;
    WindowSettings& s = *storage();
    const std::pair<const char*, QCheckBox*> stored[] = {{"CheckBox1.Checked", m_defaultForText},
                                                         {"CheckBox2.Checked", m_sendTo},
                                                         {"CheckBox3.Checked", m_startMenu},
                                                         {"CheckBox4.Checked", m_desktop},
                                                         {"CheckBox5.Checked", m_loadAtStart}};
    for (const auto& [item, check] : stored) {
        QCheckBox* target = check;
        addBool(
            s, QLatin1String(item), [target] { return target->isChecked(); },
            [target](bool on) { target->setChecked(on); });
    }
}

QString ConfigurationDialog::programDirectory() const
{
    return m_programDirectoryLabel->text();
}

void ConfigurationDialog::setProgramDirectory(const QString& dir)
{
    m_programDirectoryLabel->setText(dir);
}

DesktopChoices ConfigurationDialog::choices() const
{
    DesktopChoices choices;
    choices.defaultForText = m_defaultForText->isChecked();
    choices.sendTo = m_sendTo->isChecked();
    choices.startMenu = m_startMenu->isChecked();
    choices.desktop = m_desktop->isChecked();
    choices.loadAtStart = m_loadAtStart->isChecked();
    return choices;
}

void ConfigurationDialog::setChoices(const DesktopChoices& choices)
{
    m_defaultForText->setChecked(choices.defaultForText);
    m_sendTo->setChecked(choices.sendTo);
    m_startMenu->setChecked(choices.startMenu);
    m_desktop->setChecked(choices.desktop);
    m_loadAtStart->setChecked(choices.loadAtStart);
}

void ConfigurationDialog::pressOk()
{
    // An error no part expected is shown in the error box and leaves the window open.
    const bool done = runCommand([this] {
        const QList<DesktopFailure> failures = m_applier(choices());
        for (const DesktopFailure& failure : failures)
            qWarning("Quillet Configuration: %s", qPrintable(failure.message));
        m_failureNote = desktopFailureNote(failures);
    });
    if (done)
        close();
}

void ConfigurationDialog::keyPressEvent(QKeyEvent* event)
{
    if (!handleDialogKey(
            event, [this] { pressOk(); }, [this] { close(); }))
        WindowBase::keyPressEvent(event);
}

QString ConfigurationDialog::execute()
{
    m_failureNote.clear();
    setWindowModality(Qt::ApplicationModal);
    show();
    raise();
    activateWindow();
    m_defaultForText->setFocus();
    QEventLoop loop;
    m_loop = &loop;
    loop.exec();
    m_loop = nullptr;
    return m_failureNote;
}

void ConfigurationDialog::hideEvent(QHideEvent* event)
{
    WindowBase::hideEvent(event);
    if (m_loop)
        m_loop->quit();
}
