// The desktop's media controls (MPRIS) against the scripted engine, driven as a desktop panel
// would from a connection of its own to a session bus of the test's own (dbus-run-session).
#include "common/FakeProbe.h"
#include "common/TestMain.h"
#include "common/WindowWithEngine.h"

#include "desktop/MediaControls.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCall>
#include <QDBusVariant>
#include <QUrl>

#include <limits>
#include <optional>

namespace {

const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");
const QString kRoot = QStringLiteral("org.mpris.MediaPlayer2");
const QString kPlayer = QStringLiteral("org.mpris.MediaPlayer2.Player");
constexpr qlonglong kSecond = 1000000;

// What came over the bus as plain values: maps, and object paths as text.
QVariant Plain(const QVariant &value)
{
    if (value.userType() == qMetaTypeId<QDBusVariant>()) {
        return Plain(value.value<QDBusVariant>().variant());
    }
    if (value.userType() == qMetaTypeId<QDBusObjectPath>()) {
        return value.value<QDBusObjectPath>().path();
    }
    if (value.userType() != qMetaTypeId<QDBusArgument>()) {
        return value;
    }
    QVariantMap map = qdbus_cast<QVariantMap>(value.value<QDBusArgument>());
    for (QVariant &entry : map) {
        entry = Plain(entry);
    }
    return map;
}

} // namespace

class MprisTest : public QObject, protected WindowWithEngine
{
    Q_OBJECT

public slots:
    void OnPropertiesChanged(const QString &, const QVariantMap &changed, const QStringList &)
    {
        m_told.insert(changed);
    }
    void OnSeeked(qlonglong position) { m_seeked.append(position); }

private:
    FakeProbe m_probe;
    std::optional<QDBusConnection> m_desktop;
    QVariantMap m_told; // every property told of, with the last value told
    QList<qlonglong> m_seeked;

    QVariant Call(const QString &interface, const QString &method, const QVariantList &arguments)
    {
        QDBusMessage call = QDBusMessage::createMethodCall(
            MediaControls::kBusName, MediaControls::kObjectPath, interface, method);
        call.setArguments(arguments);
        // Not blocking: the player answers on this thread.
        QDBusPendingCall pending = m_desktop->asyncCall(call, 5000);
        if (!QTest::qWaitFor([&pending] { return pending.isFinished(); }, 6000)) {
            qWarning("no answer to %s", qPrintable(method));
        }
        // Signals sent before the answer wait in events posted before it came.
        QCoreApplication::sendPostedEvents();
        const QVariantList answer = pending.reply().arguments();
        return answer.isEmpty() ? QVariant() : Plain(answer[0]);
    }

    // A property of the player, all of them (""), the root's ("Root") or the window's state.
    QVariant Read(const QString &name)
    {
        if (name == QLatin1String("Minimised")) {
            return Window().isMinimized();
        }
        if (name.isEmpty() || name == QLatin1String("Root")) {
            return Call(kProperties, "GetAll", {name.isEmpty() ? kPlayer : kRoot});
        }
        return Call(kProperties, "Get", {kPlayer, name});
    }

    void Given(const QStringList &files, const QString &given)
    {
        if (given == QLatin1String("minimised")) {
            Window().showMinimized();
        } else if (given.startsWith(QLatin1String("first")) ||
                   given.startsWith(QLatin1String("second"))) {
            Owners::OpenFiles(Window(), files);
            if (given.startsWith(QLatin1String("second"))) {
                Owners::OpenFiles(Window(), {files[1]});
            }
        } else if (given != QLatin1String("none")) {
            Play(files[0], kSourceFile, 600);
            WaitForCommand(QStringLiteral("volume 50 2"));
        }
        if (given == QLatin1String("chosen")) {
            Owners::Player(Window()).Stop();
        } else if (given.endsWith(QLatin1String("paused"))) {
            Owners::Player(Window()).Pause();
        }
        if (Owners::Player(Window()).IsLive()) {
            Sync();
        }
        // What the player told before it answers this has come by then.
        Read(QStringLiteral("PlaybackStatus"));
        m_told.clear();
        m_seeked.clear();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_probe.Install());
        QVERIFY2(QDBusConnection::sessionBus().isConnected(), "run under dbus-run-session");
        m_desktop = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "desktop");
        QVERIFY(m_desktop->connect({}, MediaControls::kObjectPath, kProperties, "PropertiesChanged",
                                   this,
                                   SLOT(OnPropertiesChanged(QString, QVariantMap, QStringList))));
        QVERIFY(m_desktop->connect({}, MediaControls::kObjectPath, kPlayer, "Seeked", this,
                                   SLOT(OnSeeked(qlonglong))));
    }

    // Long enough that no seek here reaches the end of the media.
    void init() { MakeEngineAndWindow(36000); }
    void cleanup() { DropWindowAndEngine(); }

    void desktopSeesAndSteersThePlayer_data()
    {
        QTest::addColumn<QString>("given");
        QTest::addColumn<QString>("member"); // a Player method, "Root.Raise", "Set.Volume"
        QTest::addColumn<QVariantList>("arguments");
        QTest::addColumn<QString>("command");  // pattern of an engine command; "!": none such
        QTest::addColumn<QString>("read");     // where the value is read afterwards
        QTest::addColumn<QVariant>("value");   // a map: entries among others
        QTest::addColumn<QStringList>("told"); // what PropertiesChanged tells of
        QTest::addColumn<qlonglong>("seeked");
        const auto row = [](const char *name, const char *given, const char *member,
                            const QVariantList &arguments, const char *command, const char *read,
                            const QVariant &value, const QStringList &told = {},
                            qlonglong seeked = -1) {
            QTest::newRow(name) << given << member << arguments << command << read << value << told
                                << seeked;
        };
        const char *status = "PlaybackStatus";
        const QStringList started{"PlaybackStatus", "Metadata", "CanPause", "CanSeek"};
        const QStringList paused{"PlaybackStatus"};
        const QStringList stepped{"Metadata", "CanGoNext", "CanGoPrevious"};
        const qlonglong most = std::numeric_limits<qlonglong>::max();
        const QVariant playing("Playing");
        const QVariant stopped("Stopped");
        const QVariant track = QVariant::fromValue(QDBusObjectPath("/org/tavrix/track/1"));
        const QVariant stale = QVariant::fromValue(QDBusObjectPath("/org/tavrix/track/9"));
        const QVariant nan = std::numeric_limits<double>::quiet_NaN();
        // clang-format off
        row("the player", "none", "", {}, "", "Root", QVariantMap{{"Identity", "Tavrix BluRay Player"},
            {"DesktopEntry", "org.tavrix.BluRayPlayer"}, {"CanQuit", true}, {"CanRaise", true},
            {"HasTrackList", false}, {"SupportedUriSchemes", QStringList{"file"}}});
        row("nothing chosen", "none", "", {}, "", "", QVariantMap{{"PlaybackStatus", stopped},
            {"Metadata", QVariantMap()}, {"CanPlay", false}, {"CanPause", false},
            {"CanSeek", false}, {"CanControl", true}, {"Rate", 1.0}, {"MinimumRate", 1.0},
            {"MaximumRate", 1.0}});
        row("playing", "playing", "", {}, "", "", QVariantMap{{"PlaybackStatus", playing},
            {"Volume", 0.5}, {"CanPlay", true}, {"CanPause", true}, {"CanSeek", true},
            {"Metadata", QVariantMap{{"mpris:trackid", "/org/tavrix/track/1"},
                {"mpris:length", 600 * kSecond}, {"xesam:title", "my clip #1.mkv"},
                {"xesam:url", "@media/my%20clip%20%231.mkv"}}}});
        row("first of two", "first", "", {}, "", "", QVariantMap{{"CanGoNext", true},
            {"CanGoPrevious", false}});
        row("raise", "minimised", "Root.Raise", {}, "", "Minimised", false);
        row("quit", "playing", "Root.Quit", {}, "^q$", status, stopped, started);
        row("play", "chosen", "Play", {}, "^ARGS ", status, playing, started);
        row("play-pause, nothing chosen", "none", "PlayPause", {}, "!^ARGS ", status, stopped);
        row("play-pause pauses", "playing", "PlayPause", {}, "^pause$", status, "Paused", paused);
        row("play-pause goes on", "paused", "PlayPause", {}, "!^pause$", status, playing, paused);
        row("pause", "playing", "Pause", {}, "^pause$", status, "Paused", paused);
        row("play while playing", "playing", "Play", {}, "!^pause$", status, playing);
        row("stop", "playing", "Stop", {}, "^q$", status, stopped, started);
        row("next", "first", "Next", {}, "^ARGS .*/two\\.mkv$", "Metadata",
            QVariantMap{{"mpris:trackid", "/org/tavrix/track/2"}}, stepped);
        row("next after the last", "second paused", "Next", {}, "!^q$", status, "Paused");
        row("previous", "second", "Previous", {}, "^ARGS .*/my clip #1\\.mkv$", "CanGoPrevious",
            false, stepped);
        row("previous before the first", "first paused", "Previous", {}, "!^q$", status, "Paused");
        row("seek", "playing", "Seek", {30 * kSecond}, "^seek 30 2$", "Position", 30 * kSecond, {},
            30 * kSecond);
        row("seek rounds", "playing", "Seek", {7600000LL}, "^seek 8 2$", "Position", 8 * kSecond,
            {}, 8 * kSecond);
        row("seek before the start", "playing", "Seek", {-most - 1}, "^seek 0 2$", "Position", 0LL,
            {}, 0);
        row("seek past the end", "playing", "Seek", {most}, "^seek 600 2$", status, playing, {},
            600 * kSecond);
        row("seek while paused", "paused", "Seek", {10 * kSecond}, "^seek 10 2$", status, playing,
            paused, 10 * kSecond);
        row("seek while stopped", "chosen", "Seek", {kSecond}, "!^seek ", status, stopped);
        row("set position", "playing", "SetPosition", {track, 42 * kSecond}, "^seek 42 2$",
            "Position", 42 * kSecond, {}, 42 * kSecond);
        row("stale track", "playing", "SetPosition", {stale, kSecond}, "!^seek ", status, playing);
        row("position past the end", "playing", "SetPosition", {track, 601 * kSecond}, "!^seek ",
            status, playing);
        row("position before the start", "playing", "SetPosition", {track, -1LL}, "!^seek ",
            status, playing);
        row("set volume", "playing", "Set.Volume", {0.3}, "set_property volume 30$", "Volume", 0.3,
            {"Volume"});
        row("volume too loud", "playing", "Set.Volume", {1e300}, "set_property volume 100$",
            "Volume", 1.0, {"Volume"});
        row("volume not a number", "playing", "Set.Volume", {nan}, "!volume", "Volume", 0.5);
        row("open a file", "none", "OpenUri", {"@media/two.mkv"}, "^ARGS .*/two\\.mkv$", status,
            playing, started + QStringList{"CanPlay"});
        row("open a missing file", "none", "OpenUri", {"@media/none.mkv"}, "!^ARGS ", status,
            stopped);
        row("open a folder that is no disc", "playing", "OpenUri", {"@media/"}, "!^q$", status,
            playing);
        // clang-format on
    }

    void desktopSeesAndSteersThePlayer()
    {
        QFETCH(QString, given);
        QFETCH(QString, member);
        QFETCH(QVariantList, arguments);
        QFETCH(QString, command);
        QFETCH(QString, read);
        QFETCH(QVariant, value);
        QFETCH(QStringList, told);
        QFETCH(qlonglong, seeked);
        Window().PublishMediaControls();
        const QStringList files{m_engine->MakeMedia("my clip #1.mkv"),
                                m_engine->MakeMedia("two.mkv")};
        const QString media = QUrl::fromLocalFile(QFileInfo(files[0]).path() + '/').toEncoded();
        const auto local = [&media](QVariant &text) {
            if (text.userType() == QMetaType::QString) {
                text = text.toString().replace("@media/", media);
            }
        };
        std::for_each(arguments.begin(), arguments.end(), local);
        Given(files, given);
        const int linesBefore = m_engine->Lines().size();
        if (member == QLatin1String("Set.Volume")) {
            const QVariant volume = QVariant::fromValue(QDBusVariant(arguments[0]));
            Call(kProperties, "Set", {kPlayer, "Volume", volume});
        } else if (!member.isEmpty()) {
            Call(member.startsWith("Root.") ? kRoot : kPlayer, member.section('.', -1), arguments);
        }
        const QRegularExpression pattern(command.mid(command.startsWith('!') ? 1 : 0));
        const auto sent = [&] { return m_engine->Lines().mid(linesBefore).filter(pattern); };
        if (command.startsWith('!')) {
            if (Owners::Player(Window()).IsLive()) {
                Sync();
            }
            QCOMPARE(sent(), QStringList());
        } else if (!command.isEmpty()) {
            QTRY_VERIFY_WITH_TIMEOUT(!sent().isEmpty(), 5000);
        }

        // A position within a second and a half; a map's entries among others.
        QVariantMap expected = value.toMap();
        if (expected.value("Metadata").toMap().contains("xesam:url")) {
            QVariantMap metadata = expected["Metadata"].toMap();
            local(metadata["xesam:url"]);
            expected.insert("Metadata", metadata);
        }
        const auto matches = [&](const QVariant &now) {
            if (read == QLatin1String("Position")) {
                return std::abs(now.toLongLong() - value.toLongLong()) <= kSecond * 3 / 2;
            }
            const QVariantMap all = now.toMap();
            return value.userType() != QMetaType::QVariantMap
                       ? now == value
                       : std::all_of(expected.keyBegin(), expected.keyEnd(),
                                     [&](const QString &key) { return all[key] == expected[key]; });
        };
        QTRY_VERIFY2_WITH_TIMEOUT(matches(Read(read)), qPrintable(read), 5000);

        // A change is told once it happened, with its new value; Position never is.
        QTRY_VERIFY_WITH_TIMEOUT(m_told.size() >= told.size(), 5000);
        QTest::qWait(300);
        told.sort();
        QCOMPARE(m_told.keys(), told);
        for (const QString &name : told) {
            QCOMPARE(Plain(m_told[name]), Read(name));
        }
        QCOMPARE(m_seeked, seeked < 0 ? QList<qlonglong>() : QList<qlonglong>{seeked});
    }
};

TAVRIX_WIDGET_TEST_MAIN(MprisTest)
#include "MprisTest.moc"
