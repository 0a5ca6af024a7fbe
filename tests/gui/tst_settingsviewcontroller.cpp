#include "platform/GlobalShortcuts.h"
#include "platform/doubles/PasteKeystrokeMemory.h"
#include "platform/doubles/PasteboardMemory.h"
#include "platform/doubles/WorkspaceNull.h"
#include "platform/xdg/LoginItemsXdg.h"
#include "preferences/SettingsWindowController.h"
#include "preferences/ShortcutRecorder.h"
#include "shell/ShortcutBindings.h"
#include "shell/ShortcutCommands.h"
#include "storage/BooleanSetting.h"
#include "storage/SettingsManager.h"
#include "storage/UserDefaults.h"

#include <QAccessible>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>
#include <memory>

using namespace Qt::StringLiterals;

namespace {
const QString mainKey = UserDefaults::mainWindowShortcutKey;
const QString miniKey = UserDefaults::miniWindowShortcutKey;

// Global shortcuts that refuse a combination another application holds, and one combination
// for two ids, as the X11 ones do; they grant any other.
class HeldShortcuts : public GlobalShortcuts
{
public:
    bool registerShortcut(const QString& id, const QKeySequence& sequence) override
    {
        unregisterShortcut(id);
        if (sequence == QKeySequence(u"Ctrl+Alt+H"_s))
            refusals.insert(id, Refusal::HeldByAnotherClient);
        else if (registered.values().contains(sequence))
            refusals.insert(id, Refusal::UsedByAnotherId);
        else if (!sequence.isEmpty())
            registered.insert(id, sequence);
        return registered.contains(id);
    }
    void unregisterShortcut(const QString& id) override
    {
        registered.remove(id);
        refusals.remove(id);
    }
    Refusal refusal(const QString& id) const override { return refusals.value(id, Refusal::None); }
    bool isAvailable() const override { return available; }
    // As a backend that learnt from the desktop whether it has global shortcuts.
    void setAvailable(bool value)
    {
        available = value;
        emit availabilityChanged(value);
    }

    bool available = true;
    QMap<QString, QKeySequence> registered;
    QMap<QString, Refusal> refusals;
};

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A desktop with two windows of two applications.
class TwoWindows : public WorkspaceNull
{
public:
    QStringList runningApplicationIds() const override
    {
        return {u"org.example.Vault"_s, u"Terminal"_s};
    }
};

// The preferences window on settings, user defaults and an autostart folder of its own.
struct Panel
{
    PasteboardMemory pasteboard;
    TwoWindows workspace;
    PasteKeystrokeMemory keystroke;
    QTemporaryDir folder;
    HeldShortcuts shortcuts;
    std::unique_ptr<SettingsManager> settings;
    std::unique_ptr<UserDefaults> userDefaults;
    std::unique_ptr<ShortcutBindings> bindings;
    std::unique_ptr<BooleanSetting> webPreview;
    std::unique_ptr<BooleanSetting> compactRows;
    std::unique_ptr<LoginItemsXdg> loginItems;
    std::unique_ptr<SettingsWindowController> window;

    QString configPath() const { return folder.filePath(u"data/config"_s); }
    QString defaultsPath() const { return folder.filePath(u"vantrel.conf"_s); }
    QString autostartFolder() const { return folder.filePath(u"autostart"_s); }

    // Writes what is given (nothing for an empty text), then opens the window.
    void open(const QByteArray& config = {}, const QByteArray& defaults = {})
    {
        if (!config.isEmpty())
            QVERIFY(writeFile(configPath(), config));
        if (!defaults.isEmpty())
            QVERIFY(writeFile(folder.filePath(u"vantrel.conf"_s), defaults));
        QDir().mkpath(autostartFolder());
        settings = std::make_unique<SettingsManager>(folder.filePath(u"data"_s));
        bindings.reset();
        userDefaults = std::make_unique<UserDefaults>(folder.filePath(u"vantrel.conf"_s));
        bindings = std::make_unique<ShortcutBindings>(shortcuts, *userDefaults);
        bindings->bind(mainKey, QString(), [] {});
        bindings->bind(miniKey, QString(), [] {});
        window.reset();
        webPreview =
            std::make_unique<BooleanSetting>(defaultsPath(), UserDefaults::loadWebPagesKey);
        compactRows =
            std::make_unique<BooleanSetting>(defaultsPath(), UserDefaults::compactRowsKey);
        loginItems = std::make_unique<LoginItemsXdg>(autostartFolder(),
                                                     QCoreApplication::applicationFilePath());
        window = std::make_unique<SettingsWindowController>(
            SettingsViewController::Services{*settings, *bindings, *webPreview, *compactRows,
                                             *loginItems, pasteboard, workspace, keystroke});
        window->show();
    }

    template <class T> T* find(const QString& name) const { return window->findChild<T*>(name); }
    QLabel* status(const QString& key) const
    {
        return find<QLabel>(key == mainKey ? u"mainWindowShortcutStatus"_s
                                           : u"miniWindowShortcutStatus"_s);
    }
    ShortcutRecorder* recorder(const QString& key) const
    {
        return find<ShortcutRecorder>(key == mainKey ? u"mainWindowShortcutView"_s
                                                     : u"miniWindowShortcutView"_s);
    }
    QJsonObject storedSettings() const
    {
        return QJsonDocument::fromJson(readFile(configPath())).object();
    }
};

QString checkedName(const QButtonGroup* group)
{
    return group->checkedButton() ? group->checkedButton()->objectName() : QString();
}

void pressEach(QWidget* widget, const QKeySequence& keys)
{
    for (int i = 0; i < keys.count(); ++i)
        QTest::keyClick(widget, keys[i].key(), keys[i].keyboardModifiers());
}
} // namespace

class TestSettingsViewController : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QCoreApplication::setApplicationVersion(u"1.2.3"_s); }

    void initialStateFollowsTheSettings_data()
    {
        QTest::addColumn<QByteArray>("config");
        QTest::addColumn<QByteArray>("defaults");
        QTest::addColumn<QString>("modeButton");
        QTest::addColumn<QString>("deleteModeButton");
        QTest::addColumn<int>("timeIndex");
        QTest::addColumn<int>("countIndex");
        QTest::addColumn<QString>("mainShortcut");
        QTest::addColumn<QString>("miniShortcut");
        QTest::addColumn<bool>("loadsWebPages");

        QTest::newRow("defaults") << QByteArray() << QByteArray() << u"modeButton1"_s
                                  << u"deleteModeButton4"_s << 0 << 0 << QString() << QString()
                                  << false;
        QTest::newRow("chosen before")
            << QByteArray(R"({"copyMode":1,"saveMode":0,"saveTime":3,"saveCount":2})")
            << QByteArray("[General]\nMainWindowShortcut=Ctrl+Alt+V\nMiniWindowShortcut=Meta+F2\n"
                          "LoadWebPagesInPreviews=true\n")
            << u"modeButton2"_s << u"deleteModeButton1"_s << 3 << 2 << u"Ctrl+Alt+V"_s
            << u"Meta+F2"_s << true;
        QTest::newRow("numbers the panel does not offer")
            << QByteArray(R"({"copyMode":5,"saveMode":7,"saveTime":-1,"saveCount":9})")
            << QByteArray() << u"modeButton2"_s << QString() << -1 << -1 << QString() << QString()
            << false;
    }

    void initialStateFollowsTheSettings()
    {
        QFETCH(QByteArray, config);
        QFETCH(QByteArray, defaults);
        QFETCH(QString, modeButton);
        QFETCH(QString, deleteModeButton);
        QFETCH(int, timeIndex);
        QFETCH(int, countIndex);
        QFETCH(QString, mainShortcut);
        QFETCH(QString, miniShortcut);
        QFETCH(bool, loadsWebPages);

        Panel panel;
        panel.open(config, defaults);
        QCOMPARE(panel.window->windowTitle(), u"Preferences"_s);
        QCOMPARE(panel.window->accessibleName(), u"Preferences"_s);
        QCOMPARE(checkedName(panel.find<QButtonGroup>(u"modeGroup"_s)), modeButton);
        QCOMPARE(checkedName(panel.find<QButtonGroup>(u"deleteModeGroup"_s)), deleteModeButton);
        QCOMPARE(panel.find<QComboBox>(u"timeButton"_s)->currentIndex(), timeIndex);
        QCOMPARE(panel.find<QComboBox>(u"countButton"_s)->currentIndex(), countIndex);
        QCOMPARE(panel.recorder(mainKey)->keySequence(), QKeySequence(mainShortcut));
        QCOMPARE(panel.recorder(miniKey)->keySequence(), QKeySequence(miniShortcut));
        QVERIFY(!panel.find<QCheckBox>(u"autoLaunchButton"_s)->isChecked());
        QCOMPARE(panel.find<QCheckBox>(u"loadWebPagesButton"_s)->isChecked(), loadsWebPages);
        QCOMPARE(panel.find<QLabel>(u"versionLabel"_s)->text(), u"v1.2.3"_s);
        // Showing the panel writes nothing.
        QCOMPARE(QFile::exists(panel.configPath()), !config.isEmpty());
    }

    void everyControlIsNamedForAssistiveTechnology()
    {
        Panel panel;
        panel.open();
        auto nameOf = [](QWidget* widget) {
            return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
        };
        for (QAbstractButton* button : panel.window->findChildren<QAbstractButton*>())
            QCOMPARE(nameOf(button),
                     button->objectName().isEmpty() ? nameOf(button) : button->text());
        for (QComboBox* popUp : panel.window->findChildren<QComboBox*>())
            QVERIFY(!nameOf(popUp).isEmpty());
        for (QScrollBar* bar : panel.window->findChildren<QScrollBar*>())
            QVERIFY2(!nameOf(bar).isEmpty(), qPrintable(bar->parent()->objectName()));
        QCOMPARE(nameOf(panel.recorder(mainKey)), u"Main window shortcut"_s);
        QCOMPARE(nameOf(panel.recorder(miniKey)), u"Mini window shortcut"_s);
    }

    void eachChoiceIsWrittenToTheSettingsAtOnce_data()
    {
        QTest::addColumn<QByteArray>("config");
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("item"); // the pop-up's item to choose; -1 clicks the button
        QTest::addColumn<QString>("member");
        QTest::addColumn<int>("value");

        const QByteArray chosen = R"({"copyMode":1,"saveMode":0,"saveTime":3,"saveCount":3})";
        QTest::newRow("Copy twice") << QByteArray() << u"modeButton2"_s << -1 << u"copyMode"_s << 1;
        QTest::newRow("Copy") << chosen << u"modeButton1"_s << -1 << u"copyMode"_s << 0;
        QTest::newRow("Duration") << QByteArray() << u"deleteModeButton1"_s << -1 << u"saveMode"_s
                                  << 0;
        QTest::newRow("Number") << chosen << u"deleteModeButton2"_s << -1 << u"saveMode"_s << 1;
        QTest::newRow("Clear when exiting Vantrel")
            << chosen << u"deleteModeButton3"_s << -1 << u"saveMode"_s << 2;
        QTest::newRow("Manually delete")
            << chosen << u"deleteModeButton4"_s << -1 << u"saveMode"_s << 3;
        QTest::newRow("1 week") << QByteArray() << u"timeButton"_s << 3 << u"saveTime"_s << 3;
        QTest::newRow("24 hours") << chosen << u"timeButton"_s << 0 << u"saveTime"_s << 0;
        QTest::newRow("500 items") << QByteArray() << u"countButton"_s << 2 << u"saveCount"_s << 2;
        QTest::newRow("100 items") << chosen << u"countButton"_s << 0 << u"saveCount"_s << 0;
        // The choices kept in the user defaults: the settings file stays as it was.
        QTest::newRow("Load web pages in previews") << chosen << u"loadWebPagesButton"_s << -1
                                                    << QString(UserDefaults::loadWebPagesKey) << 1;
        QTest::newRow("Compact rows")
            << chosen << u"rowHeightButton"_s << 1 << QString(UserDefaults::compactRowsKey) << 1;
    }

    void eachChoiceIsWrittenToTheSettingsAtOnce()
    {
        QFETCH(QByteArray, config);
        QFETCH(QString, control);
        QFETCH(int, item);
        QFETCH(QString, member);
        QFETCH(int, value);

        Panel panel;
        panel.open(config);
        QJsonObject expected = QJsonDocument::fromJson(panel.settings->model().toJson()).object();
        const bool inDefaults =
            member == UserDefaults::loadWebPagesKey || member == UserDefaults::compactRowsKey;
        if (!inDefaults)
            expected.insert(member, value);

        if (item < 0)
            QTest::mouseClick(panel.find<QAbstractButton>(control), Qt::LeftButton);
        else
            panel.find<QComboBox>(control)->setCurrentIndex(item);

        QCOMPARE(QJsonDocument::fromJson(panel.settings->model().toJson()).object(), expected);
        // A choice kept in the user defaults leaves the settings file as it was written.
        QCOMPARE(panel.storedSettings(),
                 inDefaults ? QJsonDocument::fromJson(config).object() : expected);
        if (!inDefaults)
            return;
        QCOMPARE(QSettings(panel.defaultsPath(), QSettings::IniFormat).value(member).toBool(),
                 value != 0);
        // Read back by a panel opened afterwards.
        panel.open();
        if (item < 0)
            QCOMPARE(panel.find<QAbstractButton>(control)->isChecked(), value != 0);
        else
            QCOMPARE(panel.find<QComboBox>(control)->currentIndex(), item);
    }

    void pasteChoicesAreWrittenAtOnce()
    {
        Panel panel;
        panel.open();
        QVERIFY(panel.find<QCheckBox>(u"pasteFromMiniWindowButton"_s)->isChecked());
        QVERIFY(!panel.find<QCheckBox>(u"pasteFromMainWindowButton"_s)->isChecked());
        QVERIFY(panel.find<QLabel>(u"pasteUnavailableLabel"_s)->isHidden());
        QTest::mouseClick(panel.find<QCheckBox>(u"pasteFromMiniWindowButton"_s), Qt::LeftButton);
        QTest::mouseClick(panel.find<QCheckBox>(u"pasteFromMainWindowButton"_s), Qt::LeftButton);
        auto* terminals = panel.find<QPlainTextEdit>(u"terminalApplicationsEdit"_s);
        terminals->setPlainText(u" kitty \n\nfoot\n"_s);
        const QJsonObject stored = panel.storedSettings();
        QCOMPARE(stored.value(u"pasteFromMiniWindow"_s), QJsonValue(false));
        QCOMPARE(stored.value(u"pasteFromMainWindow"_s), QJsonValue(true));
        QCOMPARE(stored.value(u"terminalApplications"_s).toVariant().toStringList(),
                 QStringList({u"kitty"_s, u"foot"_s}));
        panel.open();
        QVERIFY(!panel.find<QCheckBox>(u"pasteFromMiniWindowButton"_s)->isChecked());
        QCOMPARE(panel.find<QPlainTextEdit>(u"terminalApplicationsEdit"_s)->toPlainText(),
                 u"kitty\nfoot"_s);

        // Where nothing can be typed into another application the choices are off, and why.
        panel.keystroke.setAvailable(false);
        panel.open();
        QVERIFY(!panel.find<QCheckBox>(u"pasteFromMainWindowButton"_s)->isEnabled());
        QVERIFY(!panel.find<QLabel>(u"pasteUnavailableLabel"_s)->isHidden());
    }

    // Added from the running windows, stored, handed to the clipboard, removed again; the list
    // says when the session cannot tell who copied.
    void ignoredApplicationsAreStoredAndHandedToTheClipboard()
    {
        Panel panel;
        panel.open();
        auto* list = panel.find<QListWidget>(u"ignoredApplicationsList"_s);
        QCOMPARE(list->count(), 0);
        QVERIFY(panel.find<QLabel>(u"ownersUnknownLabel"_s)->isHidden());
        QMenu* running = panel.find<QToolButton>(u"addRunningButton"_s)->menu();
        emit running->aboutToShow();
        QCOMPARE(running->actions().size(), 2);
        running->actions().at(0)->trigger();
        emit running->aboutToShow();
        QVERIFY(!running->actions().at(0)->isEnabled());
        running->actions().at(1)->trigger();

        const QStringList both{u"org.example.Vault"_s, u"Terminal"_s};
        QCOMPARE(panel.pasteboard.ignoredApplications(), both);
        QCOMPARE(panel.storedSettings().value(u"ignoredApplications"_s).toVariant().toStringList(),
                 both);
        QCOMPARE(list->count(), 2);
        QCOMPARE(list->item(1)->text(), u"Terminal"_s);

        list->item(0)->setSelected(true);
        QTest::mouseClick(panel.find<QToolButton>(u"removeIgnoredButton"_s), Qt::LeftButton);
        QCOMPARE(panel.pasteboard.ignoredApplications(), QStringList{u"Terminal"_s});
        QCOMPARE(list->count(), 1);

        panel.pasteboard.setKnowsOwners(false);
        panel.open();
        QCOMPARE(panel.find<QListWidget>(u"ignoredApplicationsList"_s)->count(), 1);
        QVERIFY(!panel.find<QLabel>(u"ownersUnknownLabel"_s)->isHidden());
    }

    void aRecordedShortcutIsStoredAndRegisteredAtOnce_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("pressed");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("said"); // under the recorder; empty when it is registered

        QTest::newRow("a combination")
            << mainKey << u"Ctrl+Alt+P"_s << u"Ctrl+Alt+P"_s << QString();
        QTest::newRow("for the mini window")
            << miniKey << u"Meta+Space"_s << u"Meta+Space"_s << QString();
        QTest::newRow("a function key alone") << mainKey << u"F9"_s << u"F9"_s << QString();
        QTest::newRow("the later of two")
            << mainKey << u"Ctrl+Alt+P, Ctrl+Alt+Q"_s << u"Ctrl+Alt+Q"_s << QString();
        QTest::newRow("a plain letter is not taken")
            << mainKey << u"A"_s << u"Ctrl+Alt+V"_s << QString();
        QTest::newRow("nor a shifted one")
            << mainKey << u"Shift+A"_s << u"Ctrl+Alt+V"_s << QString();
        QTest::newRow("Escape keeps what was there")
            << mainKey << u"Esc"_s << u"Ctrl+Alt+V"_s << QString();
        QTest::newRow("Backspace removes it")
            << mainKey << u"Backspace"_s << QString() << QString();
        QTest::newRow("held by another application")
            << mainKey << u"Ctrl+Alt+H"_s << u"Ctrl+Alt+H"_s
            << u"Already held by another application"_s;
        QTest::newRow("the other window's") << mainKey << u"Meta+F2"_s << u"Meta+F2"_s
                                            << u"Already the shortcut of the other window"_s;
        QTest::newRow("a free one after a refused one")
            << mainKey << u"Ctrl+Alt+H, Ctrl+Alt+K"_s << u"Ctrl+Alt+K"_s << QString();
    }

    void aRecordedShortcutIsStoredAndRegisteredAtOnce()
    {
        QFETCH(QString, key);
        QFETCH(QString, pressed);
        QFETCH(QString, stored);
        QFETCH(QString, said);

        Panel panel;
        panel.open({}, "[General]\nMainWindowShortcut=Ctrl+Alt+V\nMiniWindowShortcut=Meta+F2\n");
        pressEach(panel.recorder(key), QKeySequence(pressed));

        QCOMPARE(panel.recorder(key)->keySequence(), QKeySequence(stored));
        QCOMPARE(panel.bindings->shortcut(key), QKeySequence(stored));
        const QSettings file(panel.bindings->settingsPath(), QSettings::IniFormat);
        QCOMPARE(file.value(key).toString(), stored);
        QCOMPARE(panel.shortcuts.registered.value(key),
                 said.isEmpty() ? QKeySequence(stored) : QKeySequence());
        QCOMPARE(panel.status(key)->isVisible() ? panel.status(key)->text() : QString(), said);
    }

    // Where the desktop has no global shortcuts for Vantrel (a Wayland session without the
    // portal), the panel offers the commands to bind instead, and follows the desktop's answer.
    void withoutGlobalShortcutsTheCommandsToBindAreOffered_data()
    {
        QTest::addColumn<bool>("availableAtFirst");
        QTest::newRow("known at opening") << false;
        QTest::newRow("learnt after opening") << true;
    }

    void withoutGlobalShortcutsTheCommandsToBindAreOffered()
    {
        QFETCH(bool, availableAtFirst);
        Panel panel;
        panel.shortcuts.available = availableAtFirst;
        panel.open({}, "[General]\nMainWindowShortcut=Ctrl+Alt+V\n");
        auto* commands = panel.find<QWidget>(u"shortcutCommandsView"_s);
        QVERIFY(commands);
        QCOMPARE(commands->isVisible(), !availableAtFirst);
        if (availableAtFirst) {
            QVERIFY(panel.recorder(mainKey)->isVisible());
            panel.shortcuts.setAvailable(false);
        }
        QVERIFY(commands->isVisible());
        for (const QString& key : {mainKey, miniKey}) {
            QVERIFY(!panel.recorder(key)->isVisible());
            QVERIFY(!panel.status(key)->isVisible());
        }

        const QList<std::pair<QString, QString>> rows{
            {u"main"_s, ShortcutCommands::showMainCommand()},
            {u"mini"_s, ShortcutCommands::showMiniCommand()}};
        for (const auto& [name, command] : rows) {
            auto* field = panel.find<QLineEdit>(name + u"CommandField"_s);
            QCOMPARE(field->text(), command);
            QVERIFY(field->isReadOnly());
            QTest::mouseClick(panel.find<QPushButton>(name + u"CopyButton"_s), Qt::LeftButton);
            QCOMPARE(QGuiApplication::clipboard()->text(), command);
        }
        QVERIFY(ShortcutCommands::showMiniCommand().endsWith(u" --show-mini"_s));
        QVERIFY(!panel.find<QLabel>(u"whereLabel"_s)->text().isEmpty());

        // The desktop's portal answering later brings the recorders back.
        panel.shortcuts.setAvailable(true);
        QVERIFY(!commands->isVisible());
        QVERIFY(panel.recorder(mainKey)->isVisible());
        QCOMPARE(panel.recorder(mainKey)->keySequence(), QKeySequence(u"Ctrl+Alt+V"_s));
    }

    void logInBoxShowsTheStateFoundAfterAFailedChange()
    {
        Panel panel;
        panel.open();
        const QString entry = QDir(panel.autostartFolder()).filePath(u"vantrel.desktop"_s);
        const QByteArray foreign = "[Desktop Entry]\nType=Application\nName=Other\n"
                                   "Exec=/usr/bin/another-program\n";
        QVERIFY(writeFile(entry, foreign));
        auto* box = panel.find<QCheckBox>(u"autoLaunchButton"_s);

        auto* reason = panel.find<QLabel>(u"autoLaunchStatus"_s);
        QTest::mouseClick(box, Qt::LeftButton);
        QVERIFY(!box->isChecked());
        QCOMPARE(readFile(entry), foreign);
        QVERIFY(reason->isVisible());
        QCOMPARE(reason->text(),
                 entry + u" already starts another program at log-in; it is left as it is"_s);

        QVERIFY(QFile::remove(entry));
        QTest::mouseClick(box, Qt::LeftButton);
        QVERIFY(box->isChecked());
        QVERIFY(!reason->isVisible());
        QVERIFY(panel.loginItems->isEnabled());
        QTest::mouseClick(box, Qt::LeftButton);
        QVERIFY(!box->isChecked());
        QVERIFY(!QFile::exists(entry));
    }
};

QTEST_MAIN(TestSettingsViewController)
#include "tst_settingsviewcontroller.moc"
