#include "platform/mediaplayer.h"

#ifdef LEXILARK_HAVE_MULTIMEDIA
#include <QSoundEffect>
#include <QUrl>
#endif

namespace {

#ifdef LEXILARK_HAVE_MULTIMEDIA
// Wave files only, which is all the recordings folder holds; QSoundEffect
// decodes them itself and plays asynchronously on the audio thread.
class SoundEffectPlayer final : public MediaPlayer {
public:
    void SetFileName(const QString& path) override { fileName_ = path; }
    QString FileName() const override { return fileName_; }
    void Open() override {
        if (fileName_.isEmpty()) return;
        if (!effect_) effect_ = std::make_unique<QSoundEffect>();
        effect_->setSource(QUrl::fromLocalFile(fileName_));
    }
    void Close() override {
        if (effect_) {
            effect_->stop();
            effect_->setSource(QUrl());
        }
    }
    void Play() override {
        if (effect_ && !fileName_.isEmpty()) effect_->play();
    }
    void Stop() override {
        if (effect_) effect_->stop();
    }
    bool IsPlaying() const override { return effect_ && effect_->isPlaying(); }

private:
    QString fileName_;
    std::unique_ptr<QSoundEffect> effect_;
};
#else
class SilentPlayer final : public MediaPlayer {
public:
    void SetFileName(const QString& path) override { fileName_ = path; }
    QString FileName() const override { return fileName_; }
    void Open() override {}
    void Close() override {}
    void Play() override {}
    void Stop() override {}
    bool IsPlaying() const override { return false; }

private:
    QString fileName_;
};
#endif

}  // namespace

std::unique_ptr<MediaPlayer> CreateSystemMediaPlayer() {
#ifdef LEXILARK_HAVE_MULTIMEDIA
    return std::make_unique<SoundEffectPlayer>();
#else
    return std::make_unique<SilentPlayer>();
#endif
}
