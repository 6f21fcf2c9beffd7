#pragma once

#include "link/InputQueue.h"
#include "link/LocalClock.h"
#include "qtlink/QtLinkPort.h"
#include "sim/VirtualExchange.h"
#include "ui/MainForm.h"
#include "ui/clock/ClockBeat.h"
#include "ui/dialogs/UserDialogs.h"
#include "ui/ports/LinkPortList.h"
#include "ui/transfer/PacedRepaints.h"

#include <QList>
#include <QStringList>
#include <deque>
#include <functional>
#include <memory>

class QPrinter;

// A virtual exchange that answers as fast as the event loop runs; the answer timer fires
// only when the test says so.
class InstantExchangePort final : public ornis::QtLinkPort
{
public:
    ornis::Status sendByte(uint8_t byte) override;
    std::optional<uint8_t> readByte() override;
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

    void fireAnswerTimer();

    ornis::sim::VirtualExchange exchange;
    ornis::InputQueue input;
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
    ornis::Status open(int index) override;
    void refresh() override { }
    // A typed text opens the instant exchange too, and joins the list.
    ornis::Status openTyped(const QString &text) override;
    int inUse() const override { return port_.open ? typedInUse : -1; }
    void close() override { port_.open = false; }
    void setDtr(bool on) override { dtr = on; }
    ornis::QtLinkPort &port() override { return port_; }

    InstantExchangePort &exchangePort() { return port_; }
    bool openable = true;
    bool dtr = true;
    QStringList typed;
    int openings = 0;
    QString lastOpened; // the entry open() was asked for

private:
    InstantExchangePort port_;
    int typedInUse = 0; // the entry open() or openTyped() opened
};

// Answers every question as told and keeps what was asked and shown.
class ScriptedDialogs final : public ornis::UserDialogs
{
public:
    void ask(QWidget *, const QString &question, std::function<void()> onYes) override;
    void showError(QWidget *, const QString &message) override { errors.append(message); }
    void showAbout(QWidget *) override { ++abouts; }
    void chooseFile(QWidget *, const ornis::FileDialogSetup &setup,
        std::function<void(const ornis::ChosenFile &)> onChosen) override;
    void choosePrinter(QWidget *, QPrinter &printer, std::function<void()> onAccepted) override;
    void showPrintPreview(
        QWidget *, QPrinter &printer, std::function<void(QPrinter &)> paint) override;
    void showDifferences(QWidget *, const std::vector<ornis::Difference> &shown) override
    {
        differences.push_back(shown);
    }
    void showVerification(QWidget *, const std::vector<ornis::Difference> &shown) override
    {
        verifications.push_back(shown);
    }

    bool answerYes = true;
    QStringList questions;
    QStringList errors;
    int abouts = 0;
    // The answers of the file dialogs in turn; when none is left, a dialog is cancelled.
    QStringList chosenFiles;
    // The type each of them chooses (an index into the dialog's types).
    int chosenType = 0;
    QList<ornis::FileDialogSetup> fileDialogs;
    // The PDF file the print dialog and the preview print into; empty cancels them.
    QString printTo;
    int printDialogs = 0;
    // The lists of differences shown, one per comparison.
    std::vector<std::vector<ornis::Difference>> differences;
    // The same for the verifications after a write that found differences.
    std::vector<std::vector<ornis::Difference>> verifications;

private:
    bool printInto(QPrinter &printer) const;
};

class FixedClock final : public ornis::LocalClock
{
public:
    ornis::LocalDateTime now() const override { return time; }
    ornis::LocalDateTime time {2009, 12, 31, 23, 59, 59};
};

// The clock button's beat, beaten by the test.
class ManualBeat final : public ornis::ClockBeat
{
public:
    void start(int intervalMs) override { this->intervalMs = intervalMs; }
    void beatNow() { emit beat(); }

    int intervalMs = 0; // 0 until started
};

// Everything a window needs, owned by the test.
struct WindowFixture
{
    explicit WindowFixture(const QString &preferencesPath = QString())
        : preferences(preferencesPath)
    {
    }

    // With `allPages`, the controls of every page are there at once, for the tests to find.
    std::unique_ptr<ornis::TMainForm> makeWindow(bool allPages = true);

    OnePortList ports;
    // Another list of ports than `ports`, when set.
    ornis::LinkPortList *otherPorts = nullptr;
    ManualBeat clockBeat;
    ScriptedDialogs dialogs;
    FixedClock clock;
    QString preferences;
    QString fileFolder;
    QString recentFiles;
    QString traceFolder; // empty: no line trace offered
    QString backups;
    QString settings; // empty: remembered for this run only
};

// Shows at once what the window would show at its next frame.
inline void repaintNow(ornis::TMainForm &window)
{
    window.findChild<ornis::PacedRepaints *>()->flush();
}
