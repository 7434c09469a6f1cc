// The Player's media controls on a private session bus: a client on a connection of its own
// drives the real Player (File output, real component) as the desktop would.
#include "platform/xaudio/XA_Codes.h"
#include "player/forms/CViewPlayer.h"
#include "resources/ResourceIds.h"
#include "shell/CDirList.h"
#include "support/FileBytes.h"
#include "support/HeldStream.h"
#include "support/ModuleFormTest.h"
#include "support/TagBytes.h"
#include "support/ToneMp3.h"
#include "support/WindowTestApp.h"

#include <gtest/gtest.h>

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <QDBusVariant>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QTimer>
#include <QUrl>

#include <algorithm>

namespace {

const QString kService = QStringLiteral("org.mpris.MediaPlayer2.quarvel");
const QString kPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kPlayer = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");

// Records the PlaybackStatus values that PropertiesChanged announced, in order.
class ChangeRecorder : public QObject {
    Q_OBJECT
public:
    QStringList statuses;
    QList<QVariantMap> changes;

public slots:
    void changed(const QString& interface, const QVariantMap& values, const QStringList&) {
        if (interface != kPlayer) return;
        changes.append(values);
        if (values.contains(QStringLiteral("PlaybackStatus")))
            statuses.append(values.value(QStringLiteral("PlaybackStatus")).toString());
    }
};

// The desktop's side: calls without blocking the GUI thread, which serves them.
class MprisClient {
public:
    MprisClient() : bus_(QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("mpris-client"))) {
        bus_.connect(kService, kPath, kProperties, QStringLiteral("PropertiesChanged"), &recorder,
                     SLOT(changed(QString, QVariantMap, QStringList)));
    }
    ~MprisClient() { QDBusConnection::disconnectFromBus(QStringLiteral("mpris-client")); }

    bool connected() const { return bus_.isConnected(); }

    QDBusMessage call(const QString& interface, const QString& method, const QVariantList& arguments = {}) {
        QDBusMessage message = QDBusMessage::createMethodCall(kService, kPath, interface, method);
        message.setArguments(arguments);
        QDBusPendingCall pending = bus_.asyncCall(message, 10000);
        WindowTestApp::waitUntil([&] { return pending.isFinished(); }, 15000);
        return pending.reply();
    }
    bool command(const QString& method, const QVariantList& arguments = {}) {
        return call(kPlayer, method, arguments).type() == QDBusMessage::ReplyMessage;
    }
    QVariant property(const QString& name) {
        const QDBusMessage reply = call(kProperties, QStringLiteral("Get"), {kPlayer, name});
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) return {};
        return reply.arguments().first().value<QDBusVariant>().variant();
    }
    bool setProperty(const QString& name, const QVariant& value) {
        return call(kProperties, QStringLiteral("Set"), {kPlayer, name, QVariant::fromValue(QDBusVariant(value))}).type() ==
               QDBusMessage::ReplyMessage;
    }
    QString status() { return property(QStringLiteral("PlaybackStatus")).toString(); }
    QVariantMap metadata() { return qdbus_cast<QVariantMap>(property(QStringLiteral("Metadata")).value<QDBusArgument>()); }
    bool waitForStatus(const QString& wanted) {
        return WindowTestApp::waitUntil([&] { return status() == wanted; }, 20000);
    }

    ChangeRecorder recorder;

private:
    QDBusConnection bus_;
};

// Appends an ID3v1 tag with the three texts to an MP3 file.
class MprisTest : public ModuleFormTest {
protected:
    void SetUp() override {
        ModuleFormTest::SetUp();
        songs_ = makeFolder("songs");
        const std::string out = makeFolder("out");
        player_ = open<CViewPlayer>(ModuleId::Player);
        ASSERT_NE(player_, nullptr);
        control<QRadioButton>(1020)->click();
        control<QLineEdit>(1028)->setText(QString::fromStdString(out));
        client_ = std::make_unique<MprisClient>();
        ASSERT_TRUE(client_->connected());
    }
    void TearDown() override {
        client_.reset();
        ModuleFormTest::TearDown();
    }

    std::string song(const std::string& name, double seconds) {
        ToneSpec tone;
        tone.seconds = seconds;
        return ToneMp3::make(songs_, name, tone);
    }

    std::string songs_;
    CViewPlayer* player_ = nullptr;
    std::unique_ptr<MprisClient> client_;
};

TEST_F(MprisTest, PlayPauseAndStopDriveTheTransportAndAreAnnounced) {
    ASSERT_EQ(client_->status(), QStringLiteral("Stopped"));
    EXPECT_FALSE(client_->property(QStringLiteral("CanGoNext")).toBool());
    HeldStream held(FileBytes::read(song("held", 20.0)));
    player_->addLocation(held.url() + QStringLiteral(" | Held Tone.mp3"), false);
    EXPECT_TRUE(client_->property(QStringLiteral("CanGoNext")).toBool());

    ASSERT_TRUE(client_->command(QStringLiteral("PlayPause")));
    ASSERT_TRUE(client_->waitForStatus(QStringLiteral("Playing"))) << client_->status().toStdString();
    const QVariantMap playing = client_->metadata();
    EXPECT_EQ(playing.value(QStringLiteral("xesam:title")).toString(), QStringLiteral("Held Tone.mp3"));
    EXPECT_EQ(playing.value(QStringLiteral("xesam:url")).toString(), held.url());

    ASSERT_TRUE(client_->command(QStringLiteral("PlayPause")));
    ASSERT_TRUE(client_->waitForStatus(QStringLiteral("Paused"))) << client_->status().toStdString();
    EXPECT_EQ(player_->lastState(), XA::Paused);

    held.finish();
    ASSERT_TRUE(client_->command(QStringLiteral("Stop")));
    ASSERT_TRUE(client_->waitForStatus(QStringLiteral("Stopped"))) << client_->status().toStdString();
    EXPECT_TRUE(client_->metadata().value(QStringLiteral("xesam:title")).isNull());
    EXPECT_FALSE(client_->property(QStringLiteral("CanGoNext")).toBool());

    ASSERT_TRUE(WindowTestApp::waitUntil([&] { return client_->recorder.statuses.size() >= 3; }, 10000));
    EXPECT_EQ(client_->recorder.statuses, (QStringList{"Playing", "Paused", "Stopped"}));
}

TEST_F(MprisTest, MetadataComesFromTheAnalyserAndTheVolumeIsTheMasterLevel) {
    const std::string tagged = song("tagged", 20.0);
    std::vector<std::uint8_t> song = FileBytes::read(tagged);
    const std::vector<std::uint8_t> tag = TagBytes::v1("Evening Tone", "The Testers", "Tones", "", "", 0, 255);
    song.insert(song.end(), tag.begin(), tag.end());
    FileBytes::write(tagged, song);
    selectFolder(songs_);
    player_->fileList()->RefreshList();
    // Paused as soon as it plays, so that the song is neither stopped nor over while we look.
    bool paused = false;
    std::vector<XA_Command> seeks;
    player_->setCommandObserver([&](const XA_Command& command) {
        if (command.code == XA::Seek) seeks.push_back(command);
        if (command.code == XA::Play && !paused) {
            paused = true;
            QTimer::singleShot(0, player_, [this] { player_->Pause(); });
        }
    });
    clickRow(*player_->fileList(), QStringLiteral("tagged.mp3"), true);
    ASSERT_TRUE(client_->waitForStatus(QStringLiteral("Paused"))) << client_->status().toStdString();
    ASSERT_TRUE(WindowTestApp::waitUntil(
        [&] { return client_->metadata().value(QStringLiteral("xesam:title")).toString() == QStringLiteral("Evening Tone"); },
        20000));
    const QVariantMap facts = client_->metadata();
    EXPECT_EQ(facts.value(QStringLiteral("xesam:artist")).toStringList(), QStringList{"The Testers"});
    EXPECT_EQ(facts.value(QStringLiteral("xesam:album")).toString(), QStringLiteral("Tones"));
    EXPECT_EQ(facts.value(QStringLiteral("xesam:url")).toString(),
              QUrl::fromLocalFile(QString::fromStdString(tagged)).toString());
    EXPECT_NEAR(facts.value(QStringLiteral("mpris:length")).toLongLong(), 20'000'000, 100'000);
    EXPECT_TRUE(facts.value(QStringLiteral("mpris:trackid")).value<QDBusObjectPath>().path().startsWith(
        QStringLiteral("/io/github/quarvel/Quarvel/track/")));
    // The metadata was announced as well as read.
    EXPECT_TRUE(std::any_of(client_->recorder.changes.cbegin(), client_->recorder.changes.cend(), [](const QVariantMap& change) {
        const QVariant metadata = change.value(QStringLiteral("Metadata"));
        return metadata.isValid() && qdbus_cast<QVariantMap>(metadata.value<QDBusArgument>()).value(QStringLiteral("xesam:title")) ==
                                         QStringLiteral("Evening Tone");
    }));

    // A position within the song is asked of the component to the millisecond; one past its end is not.
    const QVariant track = facts.value(QStringLiteral("mpris:trackid"));
    ASSERT_TRUE(client_->command(QStringLiteral("SetPosition"), {track, qlonglong(7'500'000)}));
    ASSERT_TRUE(client_->command(QStringLiteral("SetPosition"), {track, qlonglong(25'000'000)}));
    ASSERT_EQ(seeks.size(), 1u);
    EXPECT_EQ(seeks[0].numberAt(0), 7500);
    EXPECT_EQ(seeks[0].numberAt(1), facts.value(QStringLiteral("mpris:length")).toLongLong() / 1000);

    ASSERT_TRUE(client_->setProperty(QStringLiteral("Volume"), 0.25));
    EXPECT_EQ(control<QSlider>(1083)->value(), 25);
    EXPECT_DOUBLE_EQ(client_->property(QStringLiteral("Volume")).toDouble(), 0.25);

    ASSERT_TRUE(client_->command(QStringLiteral("Stop")));
    ASSERT_TRUE(client_->waitForStatus(QStringLiteral("Stopped"))) << client_->status().toStdString();
    EXPECT_TRUE(client_->metadata().isEmpty());
}

}  // namespace

#include "MprisTest.moc"
