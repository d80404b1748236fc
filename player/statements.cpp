#include "statements.h"

#include <algorithm>
#include <array>
#include <limits>

#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QProcess>
#include <QStandardPaths>

#include "action_paths.h"
#include "file_operations.h"

namespace quom {

namespace {

// The file an argument names, or nothing when the statement is skipped or failed.
std::optional<QString> NamedPath(ActionRunner& run, const QString& argument) {
    if (argument.isEmpty()) {
        run.Skip(QStringLiteral("no file named"));
        return std::nullopt;
    }
    const ActionPath path = ResolveActionPath(argument, run.host().PageFolder());
    if (!path.error.isEmpty()) {
        run.Fail(path.error);
        return std::nullopt;
    }
    return path.path;
}

std::optional<QString> ExistingFile(ActionRunner& run, const QString& argument) {
    std::optional<QString> path = NamedPath(run, argument);
    if (path && !QFileInfo(*path).isFile()) {
        run.Fail(QStringLiteral("%1 does not exist").arg(QDir::toNativeSeparators(*path)));
        return std::nullopt;
    }
    return path;
}

// Skipped when the device is missing, failed when it refused.
Flow Report(ActionRunner& run, const DeviceResult& result) {
    switch (result.status) {
        case DeviceResult::Status::Done:
            break;
        case DeviceResult::Status::Unavailable:
            run.Skip(result.detail);
            break;
        case DeviceResult::Status::Failed:
            run.Fail(result.detail);
            break;
    }
    return Flow::Next;
}

Flow None(ActionRunner&, const QString&) {
    return Flow::Next;
}

Flow StartPage(ActionRunner& run, const QString& argument) {
    const std::optional<QString> file = NamedPath(run, argument);
    if (!file) return Flow::Next;
    const QString failure = run.host().ShowPage(*file);
    if (!failure.isEmpty()) run.Fail(failure);
    return Flow::Next;
}

Flow Wav(ActionRunner& run, const QString& argument) {
    const std::optional<QString> file = ExistingFile(run, argument);
    if (!file) return Flow::Next;
    // The action goes on while the sound plays; a sound that cannot be played is
    // only noted, as its action may be long over.
    QPointer<ActionRunner> runner(&run);
    const QString statement = QStringLiteral("Wav(%1)").arg(argument);
    return Report(run, run.devices().sound.Play(*file, [runner, statement](QString failure) {
        if (runner != nullptr && !failure.isEmpty()) {
            runner->Note(QStringLiteral("%1: %2").arg(statement, failure));
        }
    }));
}

Flow WaitWav(ActionRunner& run, const QString& argument) {
    const std::optional<QString> file = ExistingFile(run, argument);
    if (!file) return Flow::Next;
    QPointer<ActionRunner> runner(&run);
    std::function<void()> resume = run.Resumer();
    const DeviceResult result = run.devices().sound.Play(*file, [runner, resume](QString failure) {
        if (runner != nullptr && !failure.isEmpty()) runner->Fail(failure);
        resume();
    });
    if (result.status != DeviceResult::Status::Done) return Report(run, result);
    return Flow::Wait;
}

Flow Midi(ActionRunner& run, const QString& argument) {
    const std::optional<QString> file = ExistingFile(run, argument);
    if (!file) return Flow::Next;
    return Report(run, run.devices().midi.Play(*file));
}

Flow PauseMidi(ActionRunner& run, const QString&) {
    return Report(run, run.devices().midi.Pause());
}

Flow StopMidi(ActionRunner& run, const QString&) {
    return Report(run, run.devices().midi.Stop());
}

// A program is started; any other file is opened with the system's application for
// it. When the whole argument names no file, it is read as a command line: a program
// (from the page's folder or the search path) and its arguments.
Flow Shell(ActionRunner& run, const QString& argument) {
    if (argument.trimmed().isEmpty()) {
        run.Skip(QStringLiteral("no program named"));
        return Flow::Next;
    }
    PlayerHost& host = run.host();
    const QString folder = host.PageFolder();
    const ActionPath whole = ResolveActionPath(argument, folder);
    if (whole.error.isEmpty() && QFileInfo::exists(whole.path)) {
        const QFileInfo file(whole.path);
        const QString failure = file.isFile() && file.isExecutable()
                                    ? host.StartProgram(whole.path, {}, folder)
                                    : host.OpenDocument(whole.path);
        if (!failure.isEmpty()) run.Fail(failure);
        return Flow::Next;
    }
    QStringList words = QProcess::splitCommand(argument);
    if (words.isEmpty()) {
        run.Skip(QStringLiteral("no program named"));
        return Flow::Next;
    }
    const QString name = words.takeFirst();
    const ActionPath local = ResolveActionPath(name, folder);
    if (!local.error.isEmpty()) {
        run.Fail(local.error);
        return Flow::Next;
    }
    const QFileInfo beside(local.path);
    const QString program = beside.isFile() && beside.isExecutable()
                                ? local.path
                                : QStandardPaths::findExecutable(name);
    if (program.isEmpty()) {
        run.Fail(
            QStringLiteral("no program %1 in the page's folder or on the search path").arg(name));
        return Flow::Next;
    }
    const QString failure = host.StartProgram(program, words, folder);
    if (!failure.isEmpty()) run.Fail(failure);
    return Flow::Next;
}

Flow CDEject(ActionRunner& run, const QString&) {
    return Report(run, run.devices().cd.Eject());
}

Flow PlayCD(ActionRunner& run, const QString&) {
    return Report(run, run.devices().cd.Play());
}

Flow StopCD(ActionRunner& run, const QString&) {
    return Report(run, run.devices().cd.Stop());
}

Flow NextCD(ActionRunner& run, const QString&) {
    return Report(run, run.devices().cd.Next());
}

Flow PrevCD(ActionRunner& run, const QString&) {
    return Report(run, run.devices().cd.Previous());
}

Flow Minimize(ActionRunner& run, const QString&) {
    run.host().Minimize();
    return Flow::Next;
}

Flow Beep(ActionRunner& run, const QString&) {
    run.host().Beep();
    return Flow::Next;
}

Flow Message(ActionRunner& run, const QString& argument) {
    if (argument.isEmpty()) {
        run.Skip(QStringLiteral("no text"));
        return Flow::Next;
    }
    run.host().ShowMessage(argument, run.Resumer());
    return Flow::Wait;
}

Flow Copy1(ActionRunner& run, const QString& argument) {
    run.copy_from = NamedPath(run, argument);
    return Flow::Next;
}

Flow Copy2(ActionRunner& run, const QString& argument) {
    run.copy_to = NamedPath(run, argument);
    return Flow::Next;
}

// CopyDone and RenameDone: the operation on the Copy1 and Copy2 files.
Flow OnCopyOperands(ActionRunner& run, QString (*operation)(const QString&, const QString&)) {
    if (!run.copy_from || !run.copy_to) {
        run.Fail(QStringLiteral("needs a Copy1 and a Copy2 file before it"));
        return Flow::Next;
    }
    const QString failure = operation(*run.copy_from, *run.copy_to);
    if (!failure.isEmpty()) run.Fail(failure);
    return Flow::Next;
}

Flow CopyDone(ActionRunner& run, const QString&) {
    return OnCopyOperands(run, CopyFileOver);
}

Flow RenameDone(ActionRunner& run, const QString&) {
    return OnCopyOperands(run, RenamePath);
}

Flow Delete(ActionRunner& run, const QString& argument) {
    const std::optional<QString> path = NamedPath(run, argument);
    if (!path) return Flow::Next;
    const QString failure = DeleteFile(*path);
    if (!failure.isEmpty()) run.Fail(failure);
    return Flow::Next;
}

Flow Mkdir(ActionRunner& run, const QString& argument) {
    if (argument.isEmpty()) {
        run.Skip(QStringLiteral("no folder named"));
        return Flow::Next;
    }
    const std::optional<QString> path = NamedPath(run, argument);
    if (!path) return Flow::Next;
    const QString failure = MakeFolder(*path);
    if (!failure.isEmpty()) run.Fail(failure);
    return Flow::Next;
}

Flow Wait(ActionRunner& run, const QString& argument) {
    const QString digits = argument.trimmed();
    if (digits.isEmpty()) {
        run.Skip(QStringLiteral("no time given"));
        return Flow::Next;
    }
    bool ok = false;
    const qlonglong ms = digits.toLongLong(&ok);
    if (!ok || ms < 0) {
        run.Fail(QStringLiteral("\"%1\" is not a number of milliseconds").arg(argument));
        return Flow::Next;
    }
    // Longer waits are cut to the longest a timer takes, about 24 days.
    return run.WaitFor(static_cast<int>(std::min<qlonglong>(ms, std::numeric_limits<int>::max())));
}

Flow Exit(ActionRunner& run, const QString&) {
    run.host().Exit();
    return Flow::Stop;
}

constexpr std::array<StatementRow, 24> kStatements{{
    {"NONE", None},         {"StartPage", StartPage},
    {"Wav", Wav},           {"WaitWav", WaitWav},
    {"Midi", Midi},         {"PauseMidi", PauseMidi},
    {"StopMidi", StopMidi}, {"Shell", Shell},
    {"CDEject", CDEject},   {"PlayCD", PlayCD},
    {"StopCD", StopCD},     {"NextCD", NextCD},
    {"PrevCD", PrevCD},     {"Minimize", Minimize},
    {"Beep", Beep},         {"Message", Message},
    {"Copy1", Copy1},       {"Copy2", Copy2},
    {"CopyDone", CopyDone}, {"RenameDone", RenameDone},
    {"Delete", Delete},     {"Mkdir", Mkdir},
    {"Wait", Wait},         {"Exit", Exit},
}};

}  // namespace

std::span<const StatementRow> StatementTable() {
    return kStatements;
}

const StatementRow* FindStatement(std::string_view name) {
    const auto* row = std::find_if(kStatements.begin(), kStatements.end(),
                                   [name](const StatementRow& r) { return r.name == name; });
    return row == kStatements.end() ? nullptr : row;
}

}  // namespace quom
