// Stand-ins for the player's window and devices: each records what it was asked to
// do as one line in a shared log, with paths shown relative to a root folder.
#pragma once

#include <functional>
#include <vector>

#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include "devices.h"
#include "player_host.h"

namespace quom_test {

class EventLog {
  public:
    explicit EventLog(QString root) : root_(std::move(root)) {}
    void Add(const QString& line) { lines_ << line; }
    // path relative to the root, "/"-separated; paths outside it stay absolute.
    QString Shown(const QString& path) const {
        const QString relative = QDir(root_).relativeFilePath(path);
        return relative.startsWith(QStringLiteral("..")) ? path : relative;
    }
    const QStringList& lines() const { return lines_; }
    void Clear() { lines_.clear(); }

  private:
    QString root_;
    QStringList lines_;
};

class StandInHost final : public quom::PlayerHost {
  public:
    StandInHost(EventLog& log, QString page_folder)
        : log_(log), page_folder_(std::move(page_folder)) {}

    // When set, boxes stay open until CloseBox is called.
    bool hold_boxes = false;
    void CloseBox() {
        auto closed = std::move(open_boxes_.front());
        open_boxes_.erase(open_boxes_.begin());
        closed();
    }
    std::size_t open_boxes() const { return open_boxes_.size(); }
    const QStringList& failures() const { return failures_; }

    QString PageFolder() const override { return page_folder_; }
    QString ShowPage(const QString& file) override {
        log_.Add(QStringLiteral("page ") + log_.Shown(file));
        if (!QFileInfo(file).isFile()) return QStringLiteral("no page there");
        page_folder_ = QFileInfo(file).absolutePath();
        return {};
    }
    void ShowMessage(const QString& text, std::function<void()> closed) override {
        log_.Add(QStringLiteral("message ") + text);
        Box(std::move(closed));
    }
    void ShowFailure(const QString& text, std::function<void()> closed) override {
        log_.Add(QStringLiteral("failure box"));
        failures_ << text;
        Box(std::move(closed));
    }
    void Minimize() override { log_.Add(QStringLiteral("minimize")); }
    void Beep() override { log_.Add(QStringLiteral("beep")); }
    void Exit() override { log_.Add(QStringLiteral("exit")); }
    QString StartProgram(const QString& program, const QStringList& arguments,
                         const QString& folder) override {
        log_.Add(QStringLiteral("start %1 [%2] in %3")
                     .arg(log_.Shown(program), arguments.join(u'|'), log_.Shown(folder)));
        return {};
    }
    QString OpenDocument(const QString& file) override {
        log_.Add(QStringLiteral("open ") + log_.Shown(file));
        return {};
    }

  private:
    void Box(std::function<void()> closed) {
        if (hold_boxes) {
            open_boxes_.push_back(std::move(closed));
        } else {
            closed();
        }
    }

    EventLog& log_;
    QString page_folder_;
    QStringList failures_;
    std::vector<std::function<void()>> open_boxes_;
};

// A sound output whose sounds play until the test ends them.
class StandInSound final : public quom::SoundOutput {
  public:
    explicit StandInSound(EventLog& log) : log_(log) {}
    bool available = true;

    quom::DeviceResult Play(const QString& file, std::function<void(QString)> ended) override {
        if (!available) return quom::DeviceResult::NotHere(QStringLiteral("no sound output"));
        EndSound({});
        log_.Add(QStringLiteral("sound ") + log_.Shown(file));
        ended_ = std::move(ended);
        return quom::DeviceResult::Ok();
    }
    bool playing() const { return static_cast<bool>(ended_); }
    void EndSound(const QString& failure) {
        if (!ended_) return;
        auto ended = std::move(ended_);
        ended_ = nullptr;
        ended(failure);
    }

  private:
    EventLog& log_;
    std::function<void(QString)> ended_;
};

class StandInMidi final : public quom::MidiOutput {
  public:
    explicit StandInMidi(EventLog& log) : log_(log) {}
    quom::DeviceResult Play(const QString& file) override {
        log_.Add(QStringLiteral("midi ") + log_.Shown(file));
        return quom::DeviceResult::Ok();
    }
    quom::DeviceResult Pause() override {
        log_.Add(QStringLiteral("midi pause"));
        return quom::DeviceResult::Ok();
    }
    quom::DeviceResult Stop() override {
        log_.Add(QStringLiteral("midi stop"));
        return quom::DeviceResult::Ok();
    }

  private:
    EventLog& log_;
};

// A CD drive, or none when present is false.
class StandInCd final : public quom::CdDrive {
  public:
    explicit StandInCd(EventLog& log) : log_(log) {}
    bool present = true;
    quom::DeviceResult Eject() override { return Did(QStringLiteral("eject")); }
    quom::DeviceResult Play() override { return Did(QStringLiteral("play")); }
    quom::DeviceResult Stop() override { return Did(QStringLiteral("stop")); }
    quom::DeviceResult Next() override { return Did(QStringLiteral("next")); }
    quom::DeviceResult Previous() override { return Did(QStringLiteral("previous")); }

  private:
    quom::DeviceResult Did(const QString& what) {
        if (!present) return quom::DeviceResult::NotHere(QStringLiteral("no CD drive"));
        log_.Add(QStringLiteral("cd ") + what);
        return quom::DeviceResult::Ok();
    }
    EventLog& log_;
};

}  // namespace quom_test
