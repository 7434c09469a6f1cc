#include "converter/forms/EncoderRun.h"

#include <QCoreApplication>
#include <QRegularExpression>

namespace {

// Enough of the output for its last line; lame rewrites its progress line many times.
constexpr qsizetype kTailBytes = 4096;

}  // namespace

EncoderRun::EncoderRun(const QString& name) : QObject(QCoreApplication::instance()), name_(name) {
    connect(&process_, &QProcess::readyReadStandardOutput, this, &EncoderRun::keepOutput);
    connect(&process_, &QProcess::finished, this, &EncoderRun::onFinished);
    connect(&process_, &QProcess::errorOccurred, this, &EncoderRun::onError);
}

EncoderRun::~EncoderRun() {
    if (process_.state() == QProcess::NotRunning) return;
    // The program is ending: stop the encoder and reap it.
    disconnect(&process_, nullptr, this, nullptr);
    process_.kill();
    process_.waitForFinished(5000);
}

void EncoderRun::start(const QString& program, const QStringList& arguments, const QString& workingFolder) {
    process_.setProgram(program);
    process_.setArguments(arguments);
    process_.setWorkingDirectory(workingFolder);
    process_.setProcessChannelMode(QProcess::MergedChannels);
    process_.setStandardInputFile(QProcess::nullDevice());
    process_.start(QIODevice::ReadOnly);
}

QString EncoderRun::lastLine() const {
    const QString text = QString::fromLocal8Bit(outputTail_);
    const QStringList lines = text.split(QRegularExpression(QStringLiteral("[\r\n]")), Qt::SkipEmptyParts);
    // Progress lines carry backspaces and padding for a terminal; the box gets the words.
    static const QRegularExpression controls(QStringLiteral("[\\x00-\\x1f\\x7f]"));
    for (auto line = lines.crbegin(); line != lines.crend(); ++line) {
        const QString plain = QString(*line).remove(controls).simplified();
        if (!plain.isEmpty()) return plain;
    }
    return {};
}

void EncoderRun::keepOutput() {
    outputTail_ += process_.readAllStandardOutput();
    if (outputTail_.size() > kTailBytes) outputTail_.remove(0, outputTail_.size() - kTailBytes);
}

void EncoderRun::onFinished(int exitCode, QProcess::ExitStatus status) {
    keepOutput();
    const QString last = lastLine();
    if (status == QProcess::CrashExit) {
        finish(tr("%1: the encoder was ended by a signal. %2").arg(name_, last), -1);
        return;
    }
    finish(tr("%1: exit status %2. %3").arg(name_).arg(exitCode).arg(last), exitCode);
}

void EncoderRun::onError(QProcess::ProcessError error) {
    // A crash or a failed read ends in finished(); only a start that failed ends here.
    if (error != QProcess::FailedToStart) return;
    finish(tr("%1: the encoder could not be started: %2").arg(name_, process_.errorString()), -1);
}

void EncoderRun::finish(const QString& report, int exitCode) {
    if (finished_) return;
    finished_ = true;
    emit ended(report.trimmed(), exitCode);
    deleteLater();
}
