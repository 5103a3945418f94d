#include "SoundFilePlayer.h"

#include <QAudioOutput>
#include <QFileInfo>
#include <QMediaPlayer>
#include <QUrl>

SoundFilePlayer::SoundFilePlayer(QObject* parent) : QObject(parent) {}

void SoundFilePlayer::play(const QString& file)
{
    if (!QFileInfo(file).isReadable()) {
        Q_EMIT failed(QStringLiteral("Sounddatei %1 nicht gefunden").arg(file));
        return;
    }
    if (!m_player) {
        m_player = new QMediaPlayer(this);
        m_output = new QAudioOutput(this);
        m_player->setAudioOutput(m_output);
        connect(m_player, &QMediaPlayer::errorOccurred, this,
                [this](QMediaPlayer::Error, const QString& text) { Q_EMIT failed(text); });
    }
    m_player->stop();
    m_player->setSource(QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath()));
    m_player->play();
}
