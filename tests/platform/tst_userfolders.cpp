// Where the program keeps its files below the XDG base folders. A relative XDG_CONFIG_HOME,
// XDG_DATA_HOME or XDG_STATE_HOME is ignored for the default below the home folder, as the XDG
// Base Directory rules say; Qt's own lookup would take it relative to the working folder.

#include "platform/freedesktop.h"
#include "platform/userfolders.h"
#include "settings/inisettingsstore.h"
#include "support/scopedenvironment.h"

#include <QTest>

namespace {

const char* const Home = "/home/ann";

QString placeNamed(const QString& place)
{
    if (place == QLatin1String("settings file"))
        return IniSettingsStore::defaultLocation();
    if (place == QLatin1String("default applications"))
        return platform::freedesktop::userFolders().mimeAppsList();
    if (place == QLatin1String("desktop entries"))
        return platform::freedesktop::userFolders().applications();
    if (place == QLatin1String("program's data folder"))
        return platform::dataHome();
    if (place == QLatin1String("second recovery folder"))
        return platform::secondRecoveryFolder();
    if (place == QLatin1String("recovery folder"))
        return platform::recoveryFolder();
    return QStringLiteral("<unknown place %1>").arg(place);
}

} // namespace

class TestUserFolders : public QObject
{
    Q_OBJECT

private slots:
    void relativeBaseFoldersAreIgnored_data()
    {
        QTest::addColumn<QByteArray>("variable");
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<QString>("place");
        QTest::addColumn<QString>("expected");
        struct Place
        {
            const char* name;
            const char* variable;
            const char* fallback; // below the home folder
            const char* below;    // below the base folder
        };
        for (const Place& p : {Place{"settings file", "XDG_CONFIG_HOME", ".config", "/Quillet/Quillet.ini"},
                               Place{"default applications", "XDG_CONFIG_HOME", ".config", "/mimeapps.list"},
                               Place{"desktop entries", "XDG_DATA_HOME", ".local/share", "/applications"},
                               Place{"program's data folder", "XDG_DATA_HOME", ".local/share", ""},
                               Place{"second recovery folder", "XDG_DATA_HOME", ".local/share", "/Quillet/recovery"},
                               Place{"recovery folder", "XDG_STATE_HOME", ".local/state", "/Quillet/recovery"}}) {
            const QString byDefault = QStringLiteral("%1/%2%3").arg(Home, p.fallback, p.below);
            const auto row = [&](const char* value, const QString& expected) {
                QTest::addRow("%s, %s=%s", p.name, p.variable, value)
                    << QByteArray(p.variable) << QByteArray(value) << p.name << expected;
            };
            row("/srv/ann", QStringLiteral("/srv/ann") + p.below);
            row("ann/xdg", byDefault);
            row("./xdg", byDefault);
            row("", byDefault);
        }
    }

    void relativeBaseFoldersAreIgnored()
    {
        QFETCH(QByteArray, variable);
        QFETCH(QByteArray, value);
        QFETCH(QString, place);
        QFETCH(QString, expected);
        const ScopedEnvironment environment{{"HOME", Home},
                                            {"QUILLET_SETTINGS", QByteArray()},
                                            {"XDG_CONFIG_HOME", QByteArray()},
                                            {"XDG_DATA_HOME", QByteArray()},
                                            {"XDG_STATE_HOME", QByteArray()},
                                            {variable.constData(), value}};
        QCOMPARE(placeNamed(place), expected);
    }
};

QTEST_GUILESS_MAIN(TestUserFolders)
#include "tst_userfolders.moc"
