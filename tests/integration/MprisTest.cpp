// The desktop's media controls (MPRIS) against the scripted engine, driven from a second
// connection to a session bus of the test's own (ctest runs this under dbus-run-session), as the
// desktop's panel or playerctl would.
#include "common/FakeProbe.h"
#include "common/Owners.h"
#include "common/TestMain.h"
#include "common/WindowWithEngine.h"

#include "desktop/MediaControls.h"

#include <QApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <QDBusVariant>
#include <QDialog>
#include <QSet>
#include <QTimer>
#include <QUrl>

#include <cmath>
#include <limits>
#include <optional>

namespace {

const QString kService = QString::fromLatin1(MediaControls::kBusName);
const QString kPath = QString::fromLatin1(MediaControls::kObjectPath);
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");
const QString kCurrentTrack = QStringLiteral("@track");
const QString kMedia = QStringLiteral("@media/");
constexpr qlonglong kSecond = 1000000;

QString Interface(const QString &side)
{
    return side == QLatin1String("Root") ? QStringLiteral("org.mpris.MediaPlayer2")
                                         : QStringLiteral("org.mpris.MediaPlayer2.Player");
}

// What came over the bus, as plain Qt values: maps, string lists, object paths as text.
QVariant Plain(const QVariant &value)
{
    if (value.userType() == qMetaTypeId<QDBusVariant>()) {
        return Plain(value.value<QDBusVariant>().variant());
    }
    if (value.userType() == qMetaTypeId<QDBusObjectPath>()) {
        return value.value<QDBusObjectPath>().path();
    }
    if (value.userType() == qMetaTypeId<QDBusArgument>()) {
        const auto argument = value.value<QDBusArgument>();
        if (argument.currentSignature() == QLatin1String("as")) {
            return qdbus_cast<QStringList>(argument);
        }
        QVariantMap map = qdbus_cast<QVariantMap>(argument);
        for (QVariant &entry : map) {
            entry = Plain(entry);
        }
        return map;
    }
    if (value.userType() == QMetaType::QVariantMap) {
        QVariantMap map = value.toMap();
        for (QVariant &entry : map) {
            entry = Plain(entry);
        }
        return map;
    }
    return value;
}

} // namespace

class MprisTest : public QObject, protected WindowWithEngine
{
    Q_OBJECT

public slots:
    void OnPropertiesChanged(const QString &interface, const QVariantMap &changed,
                             const QStringList &invalidated)
    {
        Q_UNUSED(invalidated);
        if (interface == Interface(QStringLiteral("Player"))) {
            m_announced.append(changed);
        }
    }
    void OnSeeked(qlonglong position) { m_seeked.append(position); }

private:
    FakeProbe m_probe;
    // The desktop's side: a connection of its own, so every call crosses the bus.
    std::optional<QDBusConnection> m_desktop;
    QList<QVariantMap> m_announced;
    QList<qlonglong> m_seeked;
    QStringList m_files;
    int m_dialogs = 0;
    std::unique_ptr<QTimer> m_dialogCloser;

    QDBusMessage Call(const QString &interface, const QString &method, const QVariantList &arguments)
    {
        QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, interface, method);
        call.setArguments(arguments);
        // Asynchronous: the player answers on this same thread.
        QDBusPendingCall pending = m_desktop->asyncCall(call, 5000);
        if (!QTest::qWaitFor([&pending] { return pending.isFinished(); }, 6000)) {
            qWarning("no answer to %s", qPrintable(method));
        }
        // The signals the player sent before its answer are delivered by events posted before
        // the answer came.
        QCoreApplication::sendPostedEvents();
        return pending.reply();
    }

    // "Player.Volume", "Root.Identity", "Player.Metadata/xesam:url", "Window.Minimised".
    QVariant Read(const QString &what)
    {
        if (what == QLatin1String("Window.Minimised")) {
            return Window().isMinimized();
        }
        const QString side = what.section(QLatin1Char('.'), 0, 0);
        const QString property = what.section(QLatin1Char('.'), 1).section(QLatin1Char('/'), 0, 0);
        const QString key = what.section(QLatin1Char('/'), 1);
        const QDBusMessage reply = Call(kProperties, QStringLiteral("Get"), {Interface(side), property});
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
            return QStringLiteral("error: ") + reply.errorMessage();
        }
        const QVariant value = Plain(reply.arguments().first());
        return key.isEmpty() ? value : value.toMap().value(key);
    }

    QString CurrentTrack() { return Read(QStringLiteral("Player.Metadata/mpris:trackid")).toString(); }

    QVariant Resolve(const QVariant &value)
    {
        if (value.userType() != QMetaType::QString) {
            return value;
        }
        QString text = value.toString();
        if (text == kCurrentTrack) {
            return QVariant::fromValue(QDBusObjectPath(CurrentTrack()));
        }
        const QString folder = QFileInfo(m_files.first()).absolutePath() + QLatin1Char('/');
        return text.replace(kMedia, QString::fromUtf8(QUrl::fromLocalFile(folder).toEncoded()));
    }

    void Given(const QString &given)
    {
        m_files = QStringList{m_engine->MakeMedia(QStringLiteral("my clip #1.mkv")),
                              m_engine->MakeMedia(QStringLiteral("two.mkv"))};
        if (given == QLatin1String("minimised")) {
            Window().showMinimized();
            QTRY_VERIFY(Window().isMinimized());
        } else if (given.endsWith(QLatin1String("of two"))) {
            Owners::OpenFiles(Window(), m_files);
            const QString playing = m_files[given.startsWith(QLatin1String("second")) ? 1 : 0];
            if (playing != m_files.first()) {
                Owners::OpenFiles(Window(), {playing});
            }
            QTRY_VERIFY_WITH_TIMEOUT(LastArgs().endsWith(QLatin1Char(' ') + playing), 5000);
        } else if (given != QLatin1String("nothing")) {
            Play(m_files.first(), kSourceFile, 600);
            if (given == QLatin1String("chosen")) {
                // At once: no place to resume from is kept.
                Owners::Player(Window()).Stop();
            } else {
                WaitForCommand(QStringLiteral("volume 50 2"));
            }
            if (given == QLatin1String("paused")) {
                Owners::Player(Window()).Pause();
            }
        }
        if (Owners::Player(Window()).IsLive()) {
            Sync();
        }
        // Whatever the player said before it answers this has come by then.
        Read(QStringLiteral("Player.PlaybackStatus"));
        m_announced.clear();
        m_seeked.clear();
    }

    QSet<QString> AnnouncedNames() const
    {
        QSet<QString> names;
        for (const QVariantMap &changed : m_announced) {
            for (auto name = changed.keyBegin(); name != changed.keyEnd(); ++name) {
                names.insert(*name);
            }
        }
        return names;
    }

    QVariant LastAnnounced(const QString &name) const
    {
        for (auto changed = m_announced.crbegin(); changed != m_announced.crend(); ++changed) {
            if (changed->contains(name)) {
                return Plain(changed->value(name));
            }
        }
        return {};
    }

    static bool Matches(const QString &what, const QVariant &read, const QVariant &expected)
    {
        if (what == QLatin1String("Player.Position")) {
            // The clock moves on while the test reads it.
            return std::abs(read.toLongLong() - expected.toLongLong()) <= kSecond * 3 / 2;
        }
        if (expected.userType() == QMetaType::Double) {
            return read.userType() == QMetaType::Double &&
                   std::abs(read.toDouble() - expected.toDouble()) < 1e-9;
        }
        return read == expected;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_probe.Install());
        QVERIFY2(QDBusConnection::sessionBus().isConnected(),
                 "needs a session bus of its own: run under dbus-run-session");
        m_desktop = QDBusConnection::connectToBus(QDBusConnection::SessionBus,
                                                  QStringLiteral("desktop"));
        QVERIFY(m_desktop->isConnected());
        QVERIFY(m_desktop->connect(kService, kPath, kProperties, QStringLiteral("PropertiesChanged"),
                                   this, SLOT(OnPropertiesChanged(QString, QVariantMap, QStringList))));
        QVERIFY(m_desktop->connect(kService, kPath, Interface(QStringLiteral("Player")),
                                   QStringLiteral("Seeked"), this, SLOT(OnSeeked(qlonglong))));
    }

    void init()
    {
        // Long enough that no seek here reaches the end of the media.
        MakeEngineAndWindow(36000);
        Window().PublishMediaControls();
        QVERIFY(m_desktop->interface()->isServiceRegistered(kService));
        // Nothing from the bus may bring up a dialog: one that comes is counted and closed.
        m_dialogs = 0;
        m_dialogCloser = std::make_unique<QTimer>();
        connect(m_dialogCloser.get(), &QTimer::timeout, this, [this] {
            if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget())) {
                ++m_dialogs;
                dialog->reject();
            }
        });
        m_dialogCloser->start(20);
    }

    void cleanup()
    {
        m_dialogCloser.reset();
        DropWindowAndEngine();
        // The name goes with the window, so that the next one can take it.
        QVERIFY(!m_desktop->interface()->isServiceRegistered(kService));
    }

    void desktopSeesAndSteersThePlayer_data()
    {
        QTest::addColumn<QString>("given");
        QTest::addColumn<QString>("member");        // "Player.Seek", "Set.Volume", or none
        QTest::addColumn<QVariantList>("arguments");
        QTest::addColumn<QString>("command");       // an engine command, as a pattern
        QTest::addColumn<bool>("sent");             // whether such a command follows the call
        QTest::addColumn<QString>("read");          // what is read afterwards
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QStringList>("announced"); // the properties PropertiesChanged names
        QTest::addColumn<qlonglong>("seeked");      // the Seeked position; -1: no Seeked

        const QString none;
        const QString status = QStringLiteral("Player.PlaybackStatus");
        const QString volume = QStringLiteral("Player.Volume");
        const QString seekCommand = QStringLiteral("^seek ");
        const QString volumeCommand = QStringLiteral("volume");
        const QString startCommand = QStringLiteral("^ARGS ");
        const QStringList nothing;
        const QStringList playStarts{QStringLiteral("PlaybackStatus"), QStringLiteral("Metadata"),
                                     QStringLiteral("CanPause"), QStringLiteral("CanSeek")};
        const QStringList statusOnly{QStringLiteral("PlaybackStatus")};
        const QStringList stepped{QStringLiteral("Metadata"), QStringLiteral("CanGoNext"),
                                  QStringLiteral("CanGoPrevious")};
        const double notANumber = std::numeric_limits<double>::quiet_NaN();
        const qlonglong noSeek = -1;
        const QVariantList noArguments;

        // The root interface.
        QTest::newRow("identity") << "nothing" << none << noArguments << none << false
                                  << "Root.Identity" << QVariant("Tavrix BluRay Player") << nothing
                                  << noSeek;
        QTest::newRow("desktop entry") << "nothing" << none << noArguments << none << false
                                       << "Root.DesktopEntry"
                                       << QVariant("org.tavrix.BluRayPlayer") << nothing << noSeek;
        QTest::newRow("no track list") << "nothing" << none << noArguments << none << false
                                       << "Root.HasTrackList" << QVariant(false) << nothing
                                       << noSeek;
        QTest::newRow("can quit") << "nothing" << none << noArguments << none << false
                                  << "Root.CanQuit" << QVariant(true) << nothing << noSeek;
        QTest::newRow("can raise") << "nothing" << none << noArguments << none << false
                                   << "Root.CanRaise" << QVariant(true) << nothing << noSeek;
        QTest::newRow("opens files") << "nothing" << none << noArguments << none << false
                                     << "Root.SupportedUriSchemes"
                                     << QVariant(QStringList{"file"}) << nothing << noSeek;
        QTest::newRow("opens matroska")
            << "nothing" << none << noArguments << none << false << "Root.SupportedMimeTypes"
            << QVariant(QStringList{"video/mpeg", "video/mp4", "video/quicktime",
                                    "video/x-msvideo", "video/x-ms-wmv", "video/x-flv",
                                    "video/3gpp", "video/3gpp2", "video/dv", "video/x-matroska",
                                    "video/mp2t", "video/x-ogm+ogg"})
            << nothing << noSeek;
        QTest::newRow("raise shows a minimised window")
            << "minimised" << "Root.Raise" << noArguments << none << false << "Window.Minimised"
            << QVariant(false) << nothing << noSeek;
        QTest::newRow("quit ends the engine")
            << "playing" << "Root.Quit" << noArguments << "^q$" << true << status
            << QVariant("Stopped") << QStringList{"PlaybackStatus", "Metadata", "CanPause", "CanSeek"}
            << noSeek;

        // What plays.
        QTest::newRow("nothing plays") << "nothing" << none << noArguments << none << false
                                       << "Player.Metadata" << QVariant(QVariantMap()) << nothing
                                       << noSeek;
        QTest::newRow("track id") << "playing" << none << noArguments << none << false
                                  << "Player.Metadata/mpris:trackid"
                                  << QVariant("/org/tavrix/track/1") << nothing << noSeek;
        QTest::newRow("length in microseconds")
            << "playing" << none << noArguments << none << false << "Player.Metadata/mpris:length"
            << QVariant(qlonglong(600) * kSecond) << nothing << noSeek;
        QTest::newRow("title") << "playing" << none << noArguments << none << false
                               << "Player.Metadata/xesam:title" << QVariant("my clip #1.mkv")
                               << nothing << noSeek;
        QTest::newRow("url encoded") << "playing" << none << noArguments << none << false
                                     << "Player.Metadata/xesam:url"
                                     << QVariant("@media/my%20clip%20%231.mkv") << nothing << noSeek;
        QTest::newRow("rate") << "playing" << none << noArguments << none << false << "Player.Rate"
                              << QVariant(1.0) << nothing << noSeek;
        QTest::newRow("minimum rate") << "playing" << none << noArguments << none << false
                                      << "Player.MinimumRate" << QVariant(1.0) << nothing << noSeek;
        QTest::newRow("maximum rate") << "playing" << none << noArguments << none << false
                                      << "Player.MaximumRate" << QVariant(1.0) << nothing << noSeek;
        QTest::newRow("can control") << "nothing" << none << noArguments << none << false
                                     << "Player.CanControl" << QVariant(true) << nothing << noSeek;
        QTest::newRow("nothing to play") << "nothing" << none << noArguments << none << false
                                         << "Player.CanPlay" << QVariant(false) << nothing << noSeek;
        QTest::newRow("stopped: no pause") << "chosen" << none << noArguments << none << false
                                           << "Player.CanPause" << QVariant(false) << nothing
                                           << noSeek;
        QTest::newRow("stopped: no seek") << "chosen" << none << noArguments << none << false
                                          << "Player.CanSeek" << QVariant(false) << nothing
                                          << noSeek;
        QTest::newRow("first of two: next") << "first of two" << none << noArguments << none
                                            << false << "Player.CanGoNext" << QVariant(true)
                                            << nothing << noSeek;
        QTest::newRow("first of two: no previous")
            << "first of two" << none << noArguments << none << false << "Player.CanGoPrevious"
            << QVariant(false) << nothing << noSeek;
        QTest::newRow("second of two: previous")
            << "second of two" << none << noArguments << none << false << "Player.CanGoPrevious"
            << QVariant(true) << nothing << noSeek;

        // Play and pause.
        QTest::newRow("play starts the chosen file")
            << "chosen" << "Player.Play" << noArguments << startCommand << true << status
            << QVariant("Playing") << playStarts << noSeek;
        QTest::newRow("play-pause starts the chosen file")
            << "chosen" << "Player.PlayPause" << noArguments << startCommand << true << status
            << QVariant("Playing") << playStarts << noSeek;
        QTest::newRow("play-pause with nothing chosen asks for nothing")
            << "nothing" << "Player.PlayPause" << noArguments << startCommand << false << status
            << QVariant("Stopped") << nothing << noSeek;
        QTest::newRow("play-pause pauses") << "playing" << "Player.PlayPause" << noArguments
                                           << "^pause$" << true << status << QVariant("Paused")
                                           << QStringList{"PlaybackStatus"} << noSeek;
        QTest::newRow("play-pause goes on") << "paused" << "Player.PlayPause" << noArguments
                                            << "^pause$" << false << status << QVariant("Playing")
                                            << statusOnly << noSeek;
        QTest::newRow("pause") << "playing" << "Player.Pause" << noArguments << "^pause$" << true
                               << status << QVariant("Paused") << statusOnly << noSeek;
        QTest::newRow("pause when paused") << "paused" << "Player.Pause" << noArguments
                                           << "^pause$" << false << status << QVariant("Paused")
                                           << nothing << noSeek;
        QTest::newRow("play when paused goes on") << "paused" << "Player.Play" << noArguments
                                                  << none << false << status << QVariant("Playing")
                                                  << statusOnly << noSeek;
        QTest::newRow("play when playing pauses not")
            << "playing" << "Player.Play" << noArguments << "^pause$" << false << status
            << QVariant("Playing") << nothing << noSeek;
        QTest::newRow("stop") << "playing" << "Player.Stop" << noArguments << "^q$" << true
                              << status << QVariant("Stopped")
                              << QStringList{"PlaybackStatus", "Metadata", "CanPause", "CanSeek"}
                              << noSeek;

        // Next and previous: the window's own.
        QTest::newRow("next") << "first of two" << "Player.Next" << noArguments
                              << "^ARGS .* \\S*/two\\.mkv$" << true
                              << "Player.Metadata/mpris:trackid" << QVariant("/org/tavrix/track/2")
                              << stepped << noSeek;
        QTest::newRow("next after the last") << "second of two" << "Player.Next" << noArguments
                                             << "^q$" << false << "Player.CanGoNext"
                                             << QVariant(false) << nothing << noSeek;
        QTest::newRow("previous") << "second of two" << "Player.Previous" << noArguments
                                  << "^ARGS .*my clip #1\\.mkv$" << true << "Player.CanGoPrevious"
                                  << QVariant(false) << stepped << noSeek;
        QTest::newRow("previous before the first") << "first of two" << "Player.Previous"
                                                   << noArguments << "^q$" << false << status
                                                   << QVariant("Playing") << nothing << noSeek;

        // Seeking.
        QTest::newRow("seek forward") << "playing" << "Player.Seek" << QVariantList{30 * kSecond}
                                      << "^seek 30 2$" << true << "Player.Position"
                                      << QVariant(30 * kSecond) << nothing << 30 * kSecond;
        QTest::newRow("seek rounds to whole seconds")
            << "playing" << "Player.Seek" << QVariantList{qlonglong(7600000)} << "^seek 8 2$"
            << true << "Player.Position" << QVariant(8 * kSecond) << nothing << 8 * kSecond;
        QTest::newRow("seek before the start")
            << "playing" << "Player.Seek" << QVariantList{std::numeric_limits<qlonglong>::min()}
            << "^seek 0 2$" << true << "Player.Position" << QVariant(qlonglong(0)) << nothing
            << qlonglong(0);
        QTest::newRow("seek past the end")
            << "playing" << "Player.Seek" << QVariantList{std::numeric_limits<qlonglong>::max()}
            << "^seek 600 2$" << true << status << QVariant("Playing") << nothing << 600 * kSecond;
        QTest::newRow("seek while paused goes on")
            << "paused" << "Player.Seek" << QVariantList{10 * kSecond} << "^seek 10 2$" << true
            << status << QVariant("Playing") << statusOnly << 10 * kSecond;
        QTest::newRow("seek while stopped") << "chosen" << "Player.Seek"
                                            << QVariantList{10 * kSecond} << seekCommand << false
                                            << status << QVariant("Stopped") << nothing << noSeek;
        QTest::newRow("seek by a text") << "playing" << "Player.Seek" << QVariantList{"ten"}
                                        << seekCommand << false << status << QVariant("Playing")
                                        << nothing << noSeek;
        QTest::newRow("set position")
            << "playing" << "Player.SetPosition" << QVariantList{kCurrentTrack, 42 * kSecond}
            << "^seek 42 2$" << true << "Player.Position" << QVariant(42 * kSecond) << nothing
            << 42 * kSecond;
        QTest::newRow("set position of a stale track")
            << "playing" << "Player.SetPosition"
            << QVariantList{QVariant::fromValue(QDBusObjectPath("/org/tavrix/track/9")), 42 * kSecond}
            << seekCommand << false << status << QVariant("Playing") << nothing << noSeek;
        QTest::newRow("set position past the end")
            << "playing" << "Player.SetPosition" << QVariantList{kCurrentTrack, 601 * kSecond}
            << seekCommand << false << status << QVariant("Playing") << nothing << noSeek;
        QTest::newRow("set position before the start")
            << "playing" << "Player.SetPosition" << QVariantList{kCurrentTrack, qlonglong(-1)}
            << seekCommand << false << status << QVariant("Playing") << nothing << noSeek;

        // Volume: 0..1 on the bus, the player's 0..100 beneath.
        QTest::newRow("volume") << "playing" << none << noArguments << none << false << volume
                                << QVariant(0.5) << nothing << noSeek;
        QTest::newRow("set volume") << "playing" << "Set.Volume" << QVariantList{0.3}
                                    << "^pausing_keep_force set_property volume 30$" << true
                                    << volume << QVariant(0.3) << QStringList{"Volume"} << noSeek;
        QTest::newRow("set volume too loud")
            << "playing" << "Set.Volume" << QVariantList{7.0}
            << "^pausing_keep_force set_property volume 100$" << true << volume << QVariant(1.0)
            << QStringList{"Volume"} << noSeek;
        QTest::newRow("set volume not a number")
            << "playing" << "Set.Volume" << QVariantList{notANumber} << volumeCommand << false
            << volume << QVariant(0.5) << nothing << noSeek;
        QTest::newRow("set volume as text")
            << "playing" << "Set.Volume" << QVariantList{"loud"} << volumeCommand << false
            << volume << QVariant(0.5) << nothing << noSeek;

        // Opening.
        QTest::newRow("open a file uri")
            << "nothing" << "Player.OpenUri" << QVariantList{"@media/two.mkv"}
            << "^ARGS .* \\S*/two\\.mkv$" << true << "Player.Metadata/xesam:title"
            << QVariant("two.mkv") << QStringList{"PlaybackStatus", "Metadata", "CanPlay",
                                                  "CanPause", "CanSeek"}
            << noSeek;
        QTest::newRow("open a missing file") << "nothing" << "Player.OpenUri"
                                             << QVariantList{"@media/none.mkv"} << startCommand
                                             << false << status << QVariant("Stopped") << nothing
                                             << noSeek;
        QTest::newRow("open a web address")
            << "nothing" << "Player.OpenUri" << QVariantList{"http://example.org/two.mkv"}
            << startCommand << false << status << QVariant("Stopped") << nothing << noSeek;
    }

    void desktopSeesAndSteersThePlayer()
    {
        QFETCH(QString, given);
        QFETCH(QString, member);
        QFETCH(QVariantList, arguments);
        QFETCH(QString, command);
        QFETCH(bool, sent);
        QFETCH(QString, read);
        QFETCH(QVariant, value);
        QFETCH(QStringList, announced);
        QFETCH(qlonglong, seeked);

        Given(given);
        const int commandsBefore = m_engine->Lines().size();
        if (!member.isEmpty()) {
            QVariantList resolved;
            for (const QVariant &argument : arguments) {
                resolved.append(Resolve(argument));
            }
            const QString side = member.section(QLatin1Char('.'), 0, 0);
            const QString name = member.section(QLatin1Char('.'), 1);
            if (side == QLatin1String("Set")) {
                Call(kProperties, QStringLiteral("Set"),
                     {Interface(QStringLiteral("Player")), name,
                      QVariant::fromValue(QDBusVariant(resolved.first()))});
            } else {
                Call(Interface(side), name, resolved);
            }
        }
        const QRegularExpression pattern(command);
        const auto newCommands = [this, commandsBefore] {
            return m_engine->Lines().mid(commandsBefore);
        };
        if (sent) {
            QTRY_VERIFY_WITH_TIMEOUT(!newCommands().filter(pattern).isEmpty(), 5000);
        } else if (!command.isEmpty() && Owners::Player(Window()).IsLive()) {
            Sync();
        }
        if (!sent && !command.isEmpty()) {
            QTest::qWait(200);
            QCOMPARE(newCommands().filter(pattern), QStringList());
        }

        const QVariant expected = Resolve(value);
        QTRY_VERIFY2_WITH_TIMEOUT(Matches(read, Read(read), expected),
                                  qPrintable(Read(read).toString()), 5000);

        const QSet<QString> names(announced.begin(), announced.end());
        QTRY_VERIFY_WITH_TIMEOUT(AnnouncedNames().contains(names), 5000);
        // What comes late would come by now; a change is told once, with its new value.
        QTest::qWait(300);
        QCOMPARE(AnnouncedNames(), names);
        for (const QString &name : announced) {
            QCOMPARE(LastAnnounced(name), Read(QStringLiteral("Player.") + name));
        }
        QCOMPARE(m_seeked, seeked < 0 ? QList<qlonglong>() : QList<qlonglong>{seeked});
        QCOMPARE(m_dialogs, 0);
    }
};

TAVRIX_WIDGET_TEST_MAIN(MprisTest)
#include "MprisTest.moc"
