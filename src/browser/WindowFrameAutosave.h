#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

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
    // Moves and resizes come in bursts while the user drags; the frame is written once it rests.
    QTimer m_saveTimer;
};
