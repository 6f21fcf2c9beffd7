#pragma once

#include "link/LocalClock.h"
#include "qtlink/QtLinkPort.h"
#include "sim/VirtualExchange.h"
#include "ui/LinkPortList.h"
#include "ui/MainForm.h"
#include "ui/UserDialogs.h"
#include "ui/support/PacedRepaints.h"

#include <QList>
#include <QPrinter>
#include <QStringList>
#include <QTimer>
#include <deque>
#include <memory>

// A virtual exchange that answers as fast as the event loop runs; the answer timer fires
// only when the test says so.
class InstantExchangePort final : public ornis::QtLinkPort
{
public:
    ornis::Status sendByte(uint8_t byte) override
    {
        if (!open)
            return ornis::Status::failure("The port ttyUSB0 is not open");
        sent.push_back(byte);
        for (const uint8_t answer : exchange.receive(byte))
            input.push_back(answer);
        // The answer arrives later, from the event loop, as from a real line.
        QTimer::singleShot(0, this, [this] {
            if (!input.empty())
                emit bytesArrived(input.size());
        });
        return ornis::Status::success();
    }
    std::optional<uint8_t> readByte() override
    {
        if (input.empty())
            return std::nullopt;
        const uint8_t byte = input.front();
        input.pop_front();
        return byte;
    }
    std::size_t bytesAvailable() const override { return input.size(); }
    ornis::Status flushInput() override
    {
        input.clear();
        return ornis::Status::success();
    }
    ornis::Status flushOutput() override { return ornis::Status::success(); }
    void startAnswerTimer(int ticks) override { timerTicks = ticks; }
    void stopAnswerTimer() override { timerTicks = 0; }
    std::string name() const override { return shownName; }

    void fireAnswerTimer()
    {
        timerTicks = 0;
        emit answerTimerFired();
    }

    ornis::sim::VirtualExchange exchange;
    std::deque<uint8_t> input;
    std::deque<uint8_t> sent;
    int timerTicks = 0;
    bool open = false;
    std::string shownName = "ttyUSB0";
};

// One serial port, "ttyUSB0", wired to the instant exchange.
class OnePortList final : public ornis::LinkPortList
{
public:
    QStringList names() const override { return QStringList {QStringLiteral("ttyUSB0")} + typed; }
    ornis::Status open(int index) override
    {
        ++openings;
        port_.open = index == 0 && openable;
        typedInUse = 0;
        return port_.open ? ornis::Status::success()
                          : ornis::Status::failure("ttyUSB0: Permission denied");
    }
    void refresh() override { }
    // A typed text opens the instant exchange too, and joins the list.
    ornis::Status openTyped(const QString &text) override
    {
        ++openings;
        if (!openable)
            return ornis::Status::failure(text.toStdString() + ": no port");
        if (!names().contains(text))
            typed.append(text);
        port_.open = true;
        port_.shownName = text.toStdString();
        typedInUse = int(names().indexOf(text));
        return ornis::Status::success();
    }
    int inUse() const override { return port_.open ? typedInUse : -1; }
    void close() override { port_.open = false; }
    void setDtr(bool on) override { dtr = on; }
    ornis::QtLinkPort &port() override { return port_; }

    InstantExchangePort &exchangePort() { return port_; }
    bool openable = true;
    bool dtr = true;
    QStringList typed;
    int openings = 0;

private:
    InstantExchangePort port_;
    int typedInUse = 0; // the entry open() or openTyped() opened
};

// Answers every question as told and keeps what was asked and shown.
class ScriptedDialogs final : public ornis::UserDialogs
{
public:
    void ask(QWidget *, const QString &question, std::function<void()> onYes) override
    {
        questions.append(question);
        if (answerYes)
            onYes();
    }
    void showError(QWidget *, const QString &message) override { errors.append(message); }
    void showAbout(QWidget *) override { ++abouts; }
    void chooseFile(QWidget *, const ornis::FileDialogSetup &setup,
        std::function<void(const QString &)> onChosen) override
    {
        fileDialogs.append(setup);
        if (!chosenFiles.isEmpty())
            onChosen(chosenFiles.takeFirst());
    }
    void choosePrinter(QWidget *, QPrinter &printer, std::function<void()> onAccepted) override
    {
        ++printDialogs;
        if (printInto(printer))
            onAccepted();
    }
    void showPrintPreview(
        QWidget *, QPrinter &printer, std::function<void(QPrinter &)> paint) override
    {
        if (printInto(printer))
            paint(printer);
    }
    void showDifferences(QWidget *, const std::vector<ornis::Difference> &shown) override
    {
        differences.push_back(shown);
    }

    bool answerYes = true;
    QStringList questions;
    QStringList errors;
    int abouts = 0;
    // The answers of the file dialogs in turn; when none is left, a dialog is cancelled.
    QStringList chosenFiles;
    QList<ornis::FileDialogSetup> fileDialogs;
    // The PDF file the print dialog and the preview print into; empty cancels them.
    QString printTo;
    int printDialogs = 0;
    // The lists of differences shown, one per comparison.
    std::vector<std::vector<ornis::Difference>> differences;

private:
    bool printInto(QPrinter &printer) const
    {
        if (printTo.isEmpty())
            return false;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printTo);
        return true;
    }
};

class FixedClock final : public ornis::LocalClock
{
public:
    ornis::LocalDateTime now() const override { return time; }
    ornis::LocalDateTime time {2009, 12, 31, 23, 59, 59};
};

// Everything a window needs, owned by the test.
struct WindowFixture
{
    explicit WindowFixture(const QString &preferencesPath = QString())
        : preferences(preferencesPath)
    {
    }

    // With `allPages`, the controls of every page are there at once, for the tests to find.
    std::unique_ptr<ornis::TMainForm> makeWindow(bool allPages = true)
    {
        auto window = std::make_unique<ornis::TMainForm>(ornis::MainFormServices {ports, dialogs,
            clock, preferences, -1, fileFolder, recentFiles, traceFolder, backups});
        if (allPages)
            window->ensurePagesBuilt();
        return window;
    }

    OnePortList ports;
    ScriptedDialogs dialogs;
    FixedClock clock;
    QString preferences;
    QString fileFolder;
    QString recentFiles;
    QString traceFolder; // empty: no line trace offered
    QString backups;
};

// Shows at once what the window would show at its next frame.
inline void repaintNow(ornis::TMainForm &window)
{
    window.findChild<ornis::PacedRepaints *>()->flush();
}
