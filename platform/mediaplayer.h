#pragma once
// The recording player of the study window: open a wave file, play it in
// the background, stop, close, ask whether it is still playing. The program
// uses the platform's audio output; tests put in a fake that records calls.

#include <QString>
#include <memory>

class MediaPlayer {
public:
    virtual ~MediaPlayer() = default;
    // The file the next Open() loads; empty plays nothing.
    virtual void SetFileName(const QString& path) = 0;
    virtual QString FileName() const = 0;
    virtual void Open() = 0;
    virtual void Close() = 0;
    // Starts playback and returns at once.
    virtual void Play() = 0;
    virtual void Stop() = 0;
    virtual bool IsPlaying() const = 0;
};

// Plays through Qt Multimedia where the program was built with it; without
// it, a player that accepts every call and stays silent.
std::unique_ptr<MediaPlayer> CreateSystemMediaPlayer();
