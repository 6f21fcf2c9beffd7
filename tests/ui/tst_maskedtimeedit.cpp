#include "ui/widgets/MaskedTimeEdit.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

using namespace ornis;

// Two fields in a window, so that focus can move from one to the other.
struct TwoFields
{
    TwoFields()
    {
        auto *layout = new QVBoxLayout(&window);
        layout->addWidget(first = new MaskedTimeEdit);
        layout->addWidget(second = new MaskedTimeEdit);
        layout->addWidget(button = new QPushButton(QStringLiteral("Zapsat")));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        first->setFocus();
    }

    // Types into the first field from its start, as a person clicking into it would.
    void type(const QString &keys)
    {
        first->setCursorPosition(0);
        QTest::keyClicks(first, keys);
    }

    // Tabs away and lets a refused leave take the focus back.
    void leave()
    {
        QTest::keyClick(first, Qt::Key_Tab);
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }

    QWidget window;
    MaskedTimeEdit *first = nullptr;
    MaskedTimeEdit *second = nullptr;
    QPushButton *button = nullptr;
};

class MaskedTimeEditTest : public QObject
{
    Q_OBJECT

private slots:
    void modelTextsShowAsTheyAre_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("two hour digits") << QStringLiteral("06:00");
        QTest::newRow("one hour digit") << QStringLiteral(" 6:00");
        QTest::newRow("unset") << QStringLiteral("  :  ");
        QTest::newRow("no time of day") << QStringLiteral("99:99");
    }
    void modelTextsShowAsTheyAre()
    {
        QFETCH(QString, text);
        MaskedTimeEdit edit;
        edit.setModelText(text);
        QCOMPARE(edit.modelText(), text);
        QVERIFY(!edit.isModified());
    }

    void leavingAfterTyping_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<bool>("unsetAllowed");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("leaves");
        QTest::newRow("four digits") << "  :  "
                                     << "0730" << false << "07:30" << true;
        QTest::newRow("three digits") << "  :  "
                                      << "730" << false << "73:0 " << false;
        QTest::newRow("blank first hour position") << "12:00"
                                                   << " 6" << false << " 6:00" << true;
        QTest::newRow("all deleted, unset allowed") << "07:30"
                                                    << "\b\b\b\b\b" << true << "  :  " << true;
        QTest::newRow("all deleted, time required") << "07:30"
                                                    << "\b\b\b\b\b" << false << "  :  " << false;
    }
    void leavingAfterTyping()
    {
        QFETCH(QString, start);
        QFETCH(QString, keys);
        QFETCH(bool, unsetAllowed);
        QFETCH(QString, text);
        QFETCH(bool, leaves);
        TwoFields fields;
        fields.first->setUnsetAllowed(unsetAllowed);
        fields.first->setModelText(start);
        QSignalSpy edited(fields.first, &MaskedTimeEdit::modelTextEdited);
        QSignalSpy refused(fields.first, &MaskedTimeEdit::refusedOnLeave);
        if (keys.startsWith(u'\b')) {
            fields.first->setCursorPosition(5);
            for (int i = 0; i < keys.size(); ++i)
                QTest::keyClick(fields.first, Qt::Key_Backspace);
        } else {
            fields.type(keys);
        }
        QCOMPARE(fields.first->modelText(), text);
        QCOMPARE(edited.last().first().toString(), text);
        fields.leave();
        QCOMPARE(refused.count(), leaves ? 0 : 1);
        QCOMPARE(fields.first->hasFocus(), !leaves);
    }

    void anUntouchedFieldLeavesFreely()
    {
        TwoFields fields;
        QSignalSpy refused(fields.first, &MaskedTimeEdit::refusedOnLeave);
        fields.leave();
        QCOMPARE(refused.count(), 0);
        QVERIFY(fields.second->hasFocus());
    }

    // The button whose press took the focus is let up when the field takes it back, so a
    // person's click does not run it.
    void aRefusedLeaveClicksNoButton()
    {
        TwoFields fields;
        fields.type(QStringLiteral("7"));
        QSignalSpy clicked(fields.button, &QPushButton::clicked);
        QSignalSpy refused(fields.first, &MaskedTimeEdit::refusedOnLeave);
        QTest::mousePress(fields.button, Qt::LeftButton);
        QCoreApplication::processEvents();
        QTest::mouseRelease(fields.button, Qt::LeftButton);
        QCOMPARE(refused.count(), 1);
        QCOMPARE(clicked.count(), 0);
        QVERIFY(fields.first->hasFocus());
    }

    void escapeRestoresTheTextOfTheEntry()
    {
        TwoFields fields;
        fields.first->setModelText(QStringLiteral("06:00"));
        fields.type(QStringLiteral("1"));
        fields.leave();
        QVERIFY(fields.second->hasFocus());

        // Entered again with "16:00", the last minute digit deleted: refused.
        fields.first->setFocus();
        fields.first->setCursorPosition(5);
        QTest::keyClick(fields.first, Qt::Key_Backspace);
        fields.leave();
        QVERIFY(fields.first->hasFocus());
        QSignalSpy edited(fields.first, &MaskedTimeEdit::modelTextEdited);
        QTest::keyClick(fields.first, Qt::Key_Escape);
        QCOMPARE(fields.first->modelText(), QStringLiteral("16:00"));
        QCOMPARE(edited.last().first().toString(), QStringLiteral("16:00"));
        fields.leave();
        QVERIFY(fields.second->hasFocus());
    }
};

QTEST_MAIN(MaskedTimeEditTest)
#include "tst_maskedtimeedit.moc"
