// Carries out action texts, one statement after the other. Clicks queue their
// action; the runner takes the statements from a queue and hands each to its
// handler from the statement table. A statement that waits (a pause, a sound played
// to its end, a message box) returns Flow::Wait and calls its resumer when it is
// over, so the event loop is never blocked and the window stays responsive.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <QObject>
#include <QString>
#include <QStringList>

#include "action_parser.h"
#include "devices.h"
#include "player_host.h"

namespace quom {

// What a statement's handler tells the runner.
enum class Flow {
    Next,  // done: go on with the next statement
    Wait,  // the handler calls the resumer it took once it is over
    Stop,  // the player ends: nothing more is run
};

class ActionRunner final : public QObject {
    Q_OBJECT
  public:
    ActionRunner(PlayerHost& host, Devices devices, QObject* parent = nullptr);

    // Queues the action text of the item named source. It runs from the event loop,
    // after every action queued before it.
    void Run(const QString& source, const std::string& text);
    bool Busy() const { return running_; }

    // Where the notes of skipped statements go: one line each. Standard error unless
    // set.
    void SetNoteSink(std::function<void(const QString&)> sink) { note_sink_ = std::move(sink); }

    // For the statement handlers.
    PlayerHost& host() { return host_; }
    Devices& devices() { return devices_; }
    // The statement failed: why is shown with the action's other failures in one box
    // once the action is over, and the action goes on.
    void Fail(const QString& why);
    // The statement is skipped (no device, nothing to act on): one line on standard
    // error, and the action goes on.
    void Skip(const QString& why);
    // A note that does not belong to the running statement (a sound that failed after
    // its action went on).
    void Note(const QString& line);
    // For a handler returning Flow::Wait: call the result once when the statement is
    // over. Calls after the first, or after the runner is gone, do nothing.
    std::function<void()> Resumer();
    // Flow::Wait for ms milliseconds.
    Flow WaitFor(int ms);

    // The Copy1 and Copy2 files of the running action; each action starts without.
    std::optional<QString> copy_from;
    std::optional<QString> copy_to;

  signals:
    // Every queued action has run, or Exit ended them.
    void Idle();

  private:
    struct Job {
        QString source;
        std::string text;
    };

    void StartNextJob();
    // Runs statements until one waits, the player stops or the action is over.
    void Step();
    void FinishJob();
    // A resumer that goes on with next: the statements, or the next action.
    std::function<void()> ResumerFor(void (ActionRunner::*next)());
    QString Problems(const ParsedAction& parsed, const std::string& text) const;
    QString CurrentStatement() const;

    PlayerHost& host_;
    Devices devices_;
    std::function<void(const QString&)> note_sink_;
    std::deque<Job> jobs_;
    QString source_;
    std::deque<ActionStatement> statements_;
    ActionStatement current_{};
    QStringList failures_;
    bool running_ = false;
    bool stopped_ = false;
    unsigned wait_serial_ = 0;
};

}  // namespace quom
