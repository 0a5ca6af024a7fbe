// Writes the autostart entry that launch at log-in writes for EXECUTABLE into FOLDER, through
// the real LoginItemsXdg code, so that the package test can validate it.
//   vantrel_autostart_entry FOLDER EXECUTABLE
#include "platform/xdg/LoginItemsXdg.h"

#include <QString>
#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fputs("usage: vantrel_autostart_entry FOLDER EXECUTABLE\n", stderr);
        return 2;
    }
    LoginItemsXdg entry(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]));
    if (!entry.setEnabled(true) || !entry.isEnabled())
        return 1;
    std::puts(qPrintable(entry.entryPath()));
    return 0;
}
