// Wave sounds with QSoundEffect, which reads WAV files itself and needs no media
// back end.
#include <QAudioDevice>
#include <QMediaDevices>
#include <QPointer>
#include <QSoundEffect>
#include <QUrl>

#include "system_devices.h"

namespace quom {

namespace {

class QtSound final : public SoundOutput {
  public:
    ~QtSound() override { delete effect_; }

    DeviceResult Play(const QString& file, std::function<void(QString)> ended) override {
        if (QMediaDevices::audioOutputs().isEmpty()) {
            return DeviceResult::NotHere(QStringLiteral("no sound output"));
        }
        End({});
        // A fresh effect for each sound, so signals of the last one cannot end this one.
        delete effect_;
        effect_ = new QSoundEffect;
        ended_ = std::move(ended);
        QSoundEffect* effect = effect_;
        QObject::connect(effect, &QSoundEffect::statusChanged, effect, [this, effect, file] {
            if (effect->status() == QSoundEffect::Error) {
                End(QStringLiteral("cannot play %1 (not a PCM wave file?)").arg(file));
            }
        });
        QObject::connect(effect, &QSoundEffect::playingChanged, effect, [this, effect] {
            if (effect->isPlaying()) {
                started_ = true;
            } else if (started_) {
                End({});
            }
        });
        started_ = false;
        effect->setSource(QUrl::fromLocalFile(file));
        effect->play();
        return DeviceResult::Ok();
    }

  private:
    void End(const QString& failure) {
        if (!ended_) return;
        std::function<void(QString)> ended = std::move(ended_);
        ended_ = nullptr;
        if (effect_ != nullptr) effect_->stop();
        ended(failure);
    }

    QSoundEffect* effect_ = nullptr;
    std::function<void(QString)> ended_;
    bool started_ = false;
};

}  // namespace

std::unique_ptr<SoundOutput> MakeSystemSound() {
    return std::make_unique<QtSound>();
}

}  // namespace quom
