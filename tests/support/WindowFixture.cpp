#include "WindowFixture.h"

#include <QPrinter>
#include <QTimer>

using namespace ornis;

Status InstantExchangePort::sendByte(uint8_t byte)
{
    if (!open)
        return Status::failure("The port ttyUSB0 is not open");
    sent.push_back(byte);
    input.push(exchange.receive(byte));
    // The answer arrives later, from the event loop, as from a real line.
    QTimer::singleShot(0, this, [this] {
        if (!input.empty())
            emit bytesArrived(input.size());
    });
    return Status::success();
}

std::optional<uint8_t> InstantExchangePort::readByte()
{
    return input.readByte();
}

void InstantExchangePort::fireAnswerTimer()
{
    timerTicks = 0;
    emit answerTimerFired();
}

Status OnePortList::open(int index)
{
    ++openings;
    lastOpened = names().value(index);
    port_.open = index == 0 && openable;
    typedInUse = 0;
    return port_.open ? Status::success() : Status::failure("ttyUSB0: Permission denied");
}

Status OnePortList::openTyped(const QString &text)
{
    ++openings;
    if (!openable)
        return Status::failure(text.toStdString() + ": no port");
    if (!names().contains(text))
        typed.append(text);
    port_.open = true;
    port_.shownName = text.toStdString();
    typedInUse = int(names().indexOf(text));
    return Status::success();
}

void ScriptedDialogs::ask(QWidget *, const QString &question, std::function<void()> onYes)
{
    questions.append(question);
    if (answerYes)
        onYes();
}

void ScriptedDialogs::chooseFile(
    QWidget *, const FileDialogSetup &setup, std::function<void(const ChosenFile &)> onChosen)
{
    fileDialogs.append(setup);
    if (!chosenFiles.isEmpty())
        onChosen({chosenFiles.takeFirst(), chosenType});
}

void ScriptedDialogs::choosePrinter(QWidget *, QPrinter &printer, std::function<void()> onAccepted)
{
    ++printDialogs;
    if (printInto(printer))
        onAccepted();
}

void ScriptedDialogs::showPrintPreview(
    QWidget *, QPrinter &printer, std::function<void(QPrinter &)> paint)
{
    if (printInto(printer))
        paint(printer);
}

bool ScriptedDialogs::printInto(QPrinter &printer) const
{
    if (printTo.isEmpty())
        return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(printTo);
    return true;
}

std::unique_ptr<TMainForm> WindowFixture::makeWindow(bool allPages)
{
    LinkPortList &list = otherPorts ? *otherPorts : ports;
    auto window = std::make_unique<TMainForm>(MainFormServices {list, dialogs, clock, preferences,
        -1, fileFolder, recentFiles, traceFolder, backups, settings, &clockBeat});
    if (allPages)
        window->ensurePagesBuilt();
    return window;
}
