#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>

class QWidget;

// Keeps a window's frame in the user defaults under a name: put back by `restore`, written once
// the window rests after a move or resize, and when it hides. Owned by the window it watches (as a
// member, so a pending write still finds the window whole).
class WindowFrameAutosave : public QObject
{
    Q_OBJECT

public:
    // `userDefaultsPath` empty: the usual file.
    WindowFrameAutosave(QWidget& window, const QString& name, const QString& userDefaultsPath);
    ~WindowFrameAutosave() override;

    // A divider inside the window, kept with its frame under "<name> Divider": read when the frame
    // is saved, applied when it is restored.
    void setDivider(std::function<int()> read, std::function<void(int)> apply);
    // Puts the saved frame back; false when none was saved or it no longer fits.
    bool restore();
    void saveFrame();
    // Writes the frame under another name as well, at once.
    void saveFrameUsingName(const QString& name) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& m_window;
    QString m_name;
    QString m_userDefaultsPath;
    std::function<int()> m_readDivider;
    std::function<void(int)> m_applyDivider;
    // Moves and resizes come in bursts while the user drags; the frame is written once it rests.
    QTimer m_saveTimer;
};
