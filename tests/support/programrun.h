#pragma once

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

#include <functional>

namespace tamcal::test {

// How one run of a program ended and what it wrote.
struct ProgramRun
{
    int exitCode = -1;
    bool isFinished = false;
    QByteArray out;
    QByteArray err;
};

// Runs the program with nothing on its standard input (so it has no terminal
// to ask on) and waits for it, at most a minute. `beforeStart` runs in the
// child just before the program starts.
inline ProgramRun
runProgram(const QString &program, const QStringList &arguments,
           const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment(),
           const std::function<void()> &beforeStart = {})
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setStandardInputFile(QProcess::nullDevice());
    if (beforeStart)
        process.setChildProcessModifier(beforeStart);
    process.start(program, arguments);
    ProgramRun run;
    run.isFinished = process.waitForFinished(60000);
    if (!run.isFinished)
        process.kill();
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

} // namespace tamcal::test
