#pragma once

#include <QProcess>
#include <QSignalSpy>
#include <QString>
#include <QStringList>

// ornisset-sim running as its own process for as long as the object lives. The test's
// target defines ORNISSET_SIM, the path of the tool.
class SimToolProcess
{
public:
    explicit SimToolProcess(const QStringList &arguments)
    {
        process.start(QStringLiteral(ORNISSET_SIM), arguments);
    }
    ~SimToolProcess()
    {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished(5000);
        }
    }

    // Reads the device path or the address the tool prints first; empty when it printed
    // none.
    QString waitForPath()
    {
        path = nextLine();
        return path;
    }

    // The next line the tool prints; empty when none comes.
    QString nextLine()
    {
        QSignalSpy output(&process, &QProcess::readyReadStandardOutput);
        while (!process.canReadLine()) {
            if (!output.wait(10'000))
                return {};
        }
        return QString::fromLocal8Bit(process.readLine()).trimmed();
    }

    bool terminate()
    {
        process.terminate(); // SIGTERM
        QSignalSpy finished(&process, &QProcess::finished);
        return process.state() == QProcess::NotRunning || finished.wait(10'000);
    }

    QProcess process;
    QString path;
};
