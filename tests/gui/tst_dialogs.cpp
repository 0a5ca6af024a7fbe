#include "shell/Dialogs.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QWidget>
#include <optional>

using namespace Qt::StringLiterals;

class TestDialogs : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void aResponderAnswersInsteadOfTheUser_data();
    void aResponderAnswersInsteadOfTheUser();
    void anAlertWithoutAResponderWaitsForTheUser();
    void aConfirmationBoxIsModalToItsWindowAndReportsTheButton_data();
    void aConfirmationBoxIsModalToItsWindowAndReportsTheButton();

private:
    static QMessageBox* openBox();
    static QPushButton* buttonTitled(QMessageBox* box, const QString& title);
};

QPushButton* TestDialogs::buttonTitled(QMessageBox* box, const QString& title)
{
    for (QAbstractButton* button : box->buttons()) {
        if (button->text() == title)
            return qobject_cast<QPushButton*>(button);
    }
    return nullptr;
}

QMessageBox* TestDialogs::openBox()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible())
            return box;
    }
    return nullptr;
}

void TestDialogs::cleanup()
{
    Dialogs::setResponder({});
    while (QMessageBox* box = openBox())
        box->close();
}

void TestDialogs::aResponderAnswersInsteadOfTheUser_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("cancel") << 0 << false;
    QTest::newRow("accept") << 1 << true;
}

void TestDialogs::aResponderAnswersInsteadOfTheUser()
{
    QFETCH(int, answer);
    QFETCH(bool, accepted);

    QList<Dialogs::Request> requests;
    Dialogs::setResponder([&requests, answer](const Dialogs::Request& request) {
        requests.append(request);
        return answer;
    });
    std::optional<bool> result;
    Dialogs::confirm(nullptr, u"Are you sure?"_s, u"Cancel"_s, u"Clear"_s,
                     [&result](bool ok) { result = ok; });

    QVERIFY(result);
    QCOMPARE(*result, accepted);
    QCOMPARE(requests.size(), 1);
    QCOMPARE(requests[0].text, u"Are you sure?"_s);
    QCOMPARE(requests[0].buttons, QStringList({u"Cancel"_s, u"Clear"_s}));
    QCOMPARE(requests[0].defaultButton, 0);
    QCOMPARE(openBox(), nullptr);
}

void TestDialogs::anAlertWithoutAResponderWaitsForTheUser()
{
    bool dismissed = false;
    Dialogs::alert(nullptr, u"File has been moved"_s, [&dismissed] { dismissed = true; });

    QMessageBox* box = openBox();
    QVERIFY(box);
    QCOMPARE(box->text(), u"File has been moved"_s);
    QCOMPARE(box->windowModality(), Qt::ApplicationModal);
    QVERIFY(!dismissed);
    QTest::keyClick(box, Qt::Key_Return);
    QVERIFY(dismissed);
    QTRY_COMPARE(openBox(), nullptr);
}

void TestDialogs::aConfirmationBoxIsModalToItsWindowAndReportsTheButton_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("click accept") << u"Clear"_s << true;
    QTest::newRow("click cancel") << u"Cancel"_s << false;
    QTest::newRow("return takes the default") << u"return"_s << false;
    QTest::newRow("escape cancels") << u"escape"_s << false;
    QTest::newRow("closing cancels") << u"close"_s << false;
}

void TestDialogs::aConfirmationBoxIsModalToItsWindowAndReportsTheButton()
{
    QFETCH(QString, action);
    QFETCH(bool, accepted);

    QWidget window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    std::optional<bool> result;
    Dialogs::confirm(&window, u"Are you sure?"_s, u"Cancel"_s, u"Clear"_s,
                     [&result](bool ok) { result = ok; });

    auto* box = window.findChild<QMessageBox*>(u"messageBox"_s);
    QVERIFY(box);
    QCOMPARE(box->windowModality(), Qt::WindowModal);
    QVERIFY(!result);
    if (action == u"return")
        QTest::keyClick(box, Qt::Key_Return);
    else if (action == u"escape")
        QTest::keyClick(box, Qt::Key_Escape);
    else if (action == u"close")
        box->close();
    else
        QTest::mouseClick(buttonTitled(box, action), Qt::LeftButton);
    QVERIFY(result);
    QCOMPARE(*result, accepted);
}

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
