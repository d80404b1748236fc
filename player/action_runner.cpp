#include "action_runner.h"

#include <algorithm>
#include <cstdio>

#include <QPointer>
#include <QTimer>

#include "model_text.h"
#include "statements.h"

namespace quom {

namespace {

// A box lists this many failures or problems; the rest are counted.
constexpr qsizetype kListedLines = 12;
// A problem is shown with this much of the text from where it starts.
constexpr std::size_t kShownCharacters = 32;

QString Listed(const QStringList& lines) {
    QStringList shown = lines.mid(0, kListedLines);
    if (lines.size() > kListedLines) {
        shown << QStringLiteral("... and %1 more").arg(lines.size() - kListedLines);
    }
    return shown.join(u'\n');
}

void WriteToStandardError(const QString& line) {
    std::fprintf(stderr, "run.exe: %s\n", line.toLocal8Bit().constData());
    std::fflush(stderr);
}

}  // namespace

ActionRunner::ActionRunner(PlayerHost& host, Devices devices, QObject* parent)
    : QObject(parent), host_(host), devices_(devices), note_sink_(WriteToStandardError) {}

void ActionRunner::Run(const QString& source, const std::string& text) {
    if (stopped_) return;
    jobs_.push_back({source, text});
    if (running_) return;
    running_ = true;
    // Never from inside the click that queued it: a statement may replace the page
    // whose widget is still handling the click.
    QTimer::singleShot(0, this, &ActionRunner::StartNextJob);
}

void ActionRunner::StartNextJob() {
    if (stopped_) return;
    if (jobs_.empty()) {
        running_ = false;
        emit Idle();
        return;
    }
    const Job job = std::move(jobs_.front());
    jobs_.pop_front();
    source_ = job.source;
    copy_from.reset();
    copy_to.reset();
    failures_.clear();

    const ParsedAction parsed = ParseAction(job.text);
    const QString problems = Problems(parsed, job.text);
    if (!problems.isEmpty()) {
        // A broken statement can change what the ones around it mean (a Copy2 lost
        // before its CopyDone), so an action that does not read cleanly runs not at all.
        note_sink_(QStringLiteral("the action of %1 was not carried out").arg(source_));
        host_.ShowFailure(
            QStringLiteral("The action of %1 was not carried out:\n%2").arg(source_, problems),
            ResumerFor(&ActionRunner::StartNextJob));
        statements_.clear();
        return;
    }
    statements_.assign(parsed.statements.begin(), parsed.statements.end());
    Step();
}

QString ActionRunner::Problems(const ParsedAction& parsed, const std::string& text) const {
    struct Found {
        std::size_t position;
        QString what;
    };
    std::vector<Found> found;
    for (const ActionProblem& p : parsed.problems) {
        found.push_back({p.position, QString::fromLatin1(DescribeActionProblem(p.kind))});
    }
    for (const ActionStatement& s : parsed.statements) {
        if (FindStatement(s.name) == nullptr) {
            found.push_back(
                {s.position,
                 QStringLiteral("unknown statement \"%1\"").arg(FromModelText(s.name))});
        }
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const Found& a, const Found& b) { return a.position < b.position; });
    QStringList lines;
    for (const Found& f : found) {
        // The statement's first characters show the author where to look.
        const std::string_view rest = std::string_view(text).substr(f.position);
        QString at = FromModelText(rest.substr(0, kShownCharacters));
        if (rest.size() > kShownCharacters) at += QStringLiteral("...");
        lines << QStringLiteral("%1 at character %2: %3").arg(f.what).arg(f.position + 1).arg(at);
    }
    return Listed(lines);
}

void ActionRunner::Step() {
    while (!statements_.empty() && !stopped_) {
        current_ = std::move(statements_.front());
        statements_.pop_front();
        const StatementRow* row = FindStatement(current_.name);
        const Flow flow = row->handler(*this, FromModelText(current_.argument));
        if (flow == Flow::Wait) return;
        if (flow == Flow::Stop) {
            stopped_ = true;
            statements_.clear();
            jobs_.clear();
            running_ = false;
            emit Idle();
            return;
        }
    }
    if (!stopped_) FinishJob();
}

void ActionRunner::FinishJob() {
    statements_.clear();
    if (failures_.isEmpty()) {
        StartNextJob();
        return;
    }
    const QString text =
        QStringLiteral("Some of the action of %1 failed:\n%2").arg(source_, Listed(failures_));
    failures_.clear();
    host_.ShowFailure(text, ResumerFor(&ActionRunner::StartNextJob));
}

QString ActionRunner::CurrentStatement() const {
    return QStringLiteral("%1(%2)").arg(FromModelText(current_.name),
                                        FromModelText(current_.argument));
}

void ActionRunner::Fail(const QString& why) {
    const QString line = QStringLiteral("%1: %2").arg(CurrentStatement(), why);
    failures_ << line;
    note_sink_(line);
}

void ActionRunner::Skip(const QString& why) {
    note_sink_(QStringLiteral("%1: %2; skipped").arg(CurrentStatement(), why));
}

void ActionRunner::Note(const QString& line) {
    note_sink_(line);
}

std::function<void()> ActionRunner::Resumer() {
    return ResumerFor(&ActionRunner::Step);
}

std::function<void()> ActionRunner::ResumerFor(void (ActionRunner::*next)()) {
    const unsigned serial = ++wait_serial_;
    QPointer<ActionRunner> self(this);
    return [self, serial, next] {
        if (self == nullptr || self->wait_serial_ != serial) return;
        ++self->wait_serial_;  // a second call finds another serial
        // Resumed from the event loop, never from inside whatever called back.
        QTimer::singleShot(0, self.data(), [runner = self.data(), next] { (runner->*next)(); });
    };
}

Flow ActionRunner::WaitFor(int ms) {
    QTimer::singleShot(ms, this, Resumer());
    return Flow::Wait;
}

}  // namespace quom
