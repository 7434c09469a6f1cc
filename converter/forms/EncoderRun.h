#pragma once

#include <QByteArray>
#include <QObject>
#include <QProcess>
#include <QString>
#include <QStringList>

// One encoder process, started with an argument list and never through a shell. A run belongs
// to the application, not to the form that started it: it goes on when the form closes, reaps
// its process when it ends and then deletes itself. Runs still going when the program ends are
// stopped there.
class EncoderRun : public QObject {
    Q_OBJECT
public:
    // A run for the file called name, owned by the application.
    explicit EncoderRun(const QString& name);
    ~EncoderRun() override;

    // Starts the program in the working folder; the run reports through ended(), which may come
    // before start returns when the program cannot be started.
    void start(const QString& program, const QStringList& arguments, const QString& workingFolder);

    // The last line the encoder printed, on standard output or standard error.
    QString lastLine() const;

signals:
    // The process ended or could not start; report says how, in one line.
    void ended(const QString& report, int exitCode);

private:
    void onFinished(int exitCode, QProcess::ExitStatus status);
    void onError(QProcess::ProcessError error);
    void keepOutput();
    void finish(const QString& report, int exitCode);

    QProcess process_;
    QString name_;
    QByteArray outputTail_;
    bool finished_ = false;
};
