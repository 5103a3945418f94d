#pragma once

#include <QObject>
#include <QString>

class QAudioOutput;
class QMediaPlayer;

// Plays the sound file of a caller's speed dial. The media player is made on the first call, so
// that a run without sounds never opens the audio system; a file that cannot be played only
// reports why.
class SoundFilePlayer : public QObject
{
    Q_OBJECT

public:
    explicit SoundFilePlayer(QObject* parent = nullptr);

    void play(const QString& file);

Q_SIGNALS:
    void failed(const QString& message);

private:
    QMediaPlayer* m_player = nullptr;
    QAudioOutput* m_output = nullptr;
};
